#include <gtest/gtest.h>

#include "reports/ChartScale.h"

using cw::ChartScale;

namespace {

TEST(ChartScaleTest, TicksCoverEveryValueAndReadWithSeparatorsAndUnits) {
    // 24 months up to 150,000,000: steps of 0.25亿 with a step of room above the top bar.
    QList<double> months;
    for (int i = 1; i <= 24; ++i) months << i * 6250000.0;
    const ChartScale big = ChartScale::of(months);
    EXPECT_EQ(big.tickLabels(),
              QStringList({"0", "0.25亿", "0.5亿", "0.75亿", "1亿", "1.25亿", "1.5亿", "1.75亿"}));

    EXPECT_EQ(ChartScale::of({120000, 350000}).tickLabels(),
              QStringList({"0", "10万", "20万", "30万", "40万"}));
    // Below 100,000 the digits stay, grouped.
    EXPECT_EQ(ChartScale::of({1000, 5000}).tickLabels(),
              QStringList({"0", "1,000", "2,000", "3,000", "4,000", "5,000", "6,000"}));
    // Negative values (refunds booked as income) reach below 0.
    const ChartScale mixed = ChartScale::of({-2500, 8000});
    EXPECT_EQ(mixed.low(), -4000);
    EXPECT_EQ(mixed.tickLabels().first(), QStringLiteral("-4,000"));
    EXPECT_EQ(mixed.tickLabels().last(), QStringLiteral("10,000"));
    // Nothing to show: a plain scale, never 0 to 0.
    for (const QList<double>& none : {QList<double>{}, QList<double>{0, 0}}) {
        const ChartScale s = ChartScale::of(none);
        EXPECT_EQ(s.low(), 0);
        EXPECT_EQ(s.high(), 100);
    }
}

TEST(ChartScaleTest, ShortAmountsKeepThreeFiguresAndTheCents) {
    EXPECT_EQ(ChartScale::shortAmount(150000000), QStringLiteral("1.5亿"));
    EXPECT_EQ(ChartScale::shortAmount(98765432), QStringLiteral("9,877万"));
    EXPECT_EQ(ChartScale::shortAmount(99999999), QStringLiteral("1亿"));
    EXPECT_EQ(ChartScale::shortAmount(123456), QStringLiteral("12.3万"));
    EXPECT_EQ(ChartScale::shortAmount(-20000), QStringLiteral("-2万"));
    EXPECT_EQ(ChartScale::shortAmount(1234.5), QStringLiteral("1,234.5"));
    EXPECT_EQ(ChartScale::shortAmount(0.07), QStringLiteral("0.07"));
    EXPECT_EQ(ChartScale::grouped(1234567.891, 2), QStringLiteral("1,234,567.89"));
    EXPECT_EQ(ChartScale::grouped(-0.001, 2), QStringLiteral("0"));
}

}  // namespace
