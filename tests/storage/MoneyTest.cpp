#include <gtest/gtest.h>

#include "storage/Money.h"

using cw::Money;

TEST(Money, PlainIsRoundedToTheCent) {
    EXPECT_EQ(Money::plain(45288106.200000003), QStringLiteral("45288106.2"));
    EXPECT_EQ(Money::plain(100613399.400000006), QStringLiteral("100613399.4"));
    EXPECT_EQ(Money::plain(-550.5), QStringLiteral("-550.5"));
    EXPECT_EQ(Money::plain(0.1 + 0.2), QStringLiteral("0.3"));
    EXPECT_EQ(Money::plain(-0.001), QStringLiteral("0"));
    EXPECT_EQ(Money::plain(1.05), QStringLiteral("1.05"));
    EXPECT_EQ(Money::plain(999999999999.99), QStringLiteral("999999999999.99"));
}

TEST(Money, AmountsStayBelowTenToTheTwelfth) {
    double v = 0;
    EXPECT_TRUE(Money::parse(QStringLiteral("999999999999.99"), &v));
    EXPECT_EQ(Money::cents(v), 99999999999999);
    EXPECT_TRUE(Money::parse(QStringLiteral("-999999999999.99"), &v));
    for (const char* text : {"1000000000000", "-1000000000000", "999999999999.999",
                             "99999999999999999999", "1e3"}) {
        EXPECT_FALSE(Money::parse(QString::fromLatin1(text), &v)) << text;
    }
    EXPECT_TRUE(Money::tooLarge(QStringLiteral("1000000000000")));
    EXPECT_FALSE(Money::tooLarge(QStringLiteral("-")));  // half typed: empty, not too large
    EXPECT_FALSE(Money::tooLarge(QStringLiteral("12.5")));
}

TEST(Money, CentsNeverWrapToTheOtherSign) {
    EXPECT_GT(Money::cents(1e20), 0);
    EXPECT_LT(Money::cents(-1e20), 0);
    EXPECT_EQ(Money::cents(std::numeric_limits<double>::quiet_NaN()), 0);
}
