#include <gtest/gtest.h>

#include <stdexcept>

#include "reports/ReportTable.h"

using namespace cw;

namespace {

ReportTable sample() {
    ReportTable t({{Field::theDate, QStringLiteral("月份"), ColumnKind::Date},
                   {Field::theSM, QStringLiteral("收入金额"), ColumnKind::Money, 20, true},
                   {Field::theSC, QStringLiteral("收入笔数"), ColumnKind::Count, 20, true},
                   {Field::theJY, QStringLiteral("结余金额"), ColumnKind::Money},
                   {Field::theBC, QStringLiteral("支出占收入"), ColumnKind::Ratio}});
    t.addRow({QStringLiteral("2024-01"), 1234.5, qint64(3), -0.1, 1.0 / 3.0}, 7);
    t.addRow({QStringLiteral("2024-02"), 0.2, qint64(1), 0.2, 0.0}, 8);
    return t;
}

TEST(ReportTable, ColumnsByKey) {
    const ReportTable t = sample();
    EXPECT_EQ(t.columnOf(Field::theSC), 2);
    EXPECT_EQ(t.columnOf(Field::IMoney), -1);
    EXPECT_THROW(t.requireColumn(Field::IMoney), std::out_of_range);
    EXPECT_EQ(t.text(1, Field::theDate), QStringLiteral("2024-02"));
    EXPECT_EQ(t.rowId(1), 8);
    // A short row reads its missing values as empty.
    ReportTable shortRow(
        {{Field::AName, QStringLiteral("账户")}, {Field::FName, QStringLiteral("成员")}});
    shortRow.addRow({QStringLiteral("钱包")});
    EXPECT_EQ(shortRow.text(0, Field::FName), QString());
}

// Totals are kept in cents for every money and count column; only summed ones show on the
// 合计 line.
TEST(ReportTable, TotalsInCents) {
    const ReportTable t = sample();
    EXPECT_DOUBLE_EQ(t.total(Field::theSM), 1234.7);
    EXPECT_DOUBLE_EQ(t.total(Field::theSC), 4);
    EXPECT_EQ(t.totalValue(t.columnOf(Field::theSC)).typeId(), QMetaType::LongLong);
    EXPECT_DOUBLE_EQ(t.total(Field::theJY), 0.1);
    EXPECT_EQ(t.totalPlainText(t.columnOf(Field::theJY)), QString());
    EXPECT_EQ(t.totalPlainText(t.columnOf(Field::theBC)), QString());
    EXPECT_EQ(t.totalPlainText(t.columnOf(Field::theSM)), QStringLiteral("1234.7"));
    EXPECT_EQ(t.totalDisplayText(t.columnOf(Field::theSM)), QStringLiteral("1,234.70"));

    ReportTable many({{Field::IMoney, QStringLiteral("金额"), ColumnKind::Money, 20, true}});
    for (int i = 0; i < 10000; ++i) many.addRow({0.1});
    EXPECT_EQ(many.totalPlainText(0), QStringLiteral("1000"));
}

TEST(ReportTable, ScreenAndPlainForms) {
    const ReportTable t = sample();
    EXPECT_EQ(t.displayText(0, 1), QStringLiteral("1,234.50"));
    EXPECT_EQ(t.plainText(0, 1), QStringLiteral("1234.5"));
    EXPECT_EQ(t.displayText(0, 2), QStringLiteral("3"));
    EXPECT_EQ(t.displayText(0, 3), QStringLiteral("-0.10"));
    EXPECT_EQ(t.plainText(0, 3), QStringLiteral("-0.1"));
    EXPECT_EQ(t.displayText(0, 4), QStringLiteral("0.33"));
    EXPECT_EQ(t.plainText(0, 4), QStringLiteral("0.33"));
    EXPECT_EQ(t.displayText(1, 4), QStringLiteral("0.00"));
    EXPECT_EQ(ReportTable::display(25.0, ColumnKind::Percent), QStringLiteral("25.00%"));
    EXPECT_EQ(ReportTable::display(QVariant(), ColumnKind::Money), QString());
}

}  // namespace
