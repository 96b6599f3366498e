#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "reports/MonthCategoryReport.h"
#include "reports/XlsxWriter.h"
#include "support/TempDataFile.h"
#include "support/XlsxRead.h"

using namespace cw;

namespace {

class MonthCategoryReportTest : public ::testing::Test {
  protected:
    void SetUp() override { file.addBook(QStringLiteral("家庭")); }

    void expense(const QString& date, const QString& category, double amount,
                 const QString& book = QStringLiteral("家庭")) {
        file.db().exec(QStringLiteral("INSERT INTO OutTable(BName,ODate,OName,OMoney,AName,FName) "
                                      "VALUES(?,?,?,?,'钱包','爸爸')"),
                       book, date, category, amount);
    }

    Workbook build(const char* screen) {
        return MonthCategoryReport::build(
            file.db(), QStringLiteral("家庭"),
            MonthCategoryReport::forScreen(QString::fromLatin1(screen)));
    }

    test::TempDataFile file;
};

TEST_F(MonthCategoryReportTest, BookWithoutPostings) {
    const Workbook wb = build("OutMonthByCategory");
    EXPECT_EQ(wb.caption(), QStringLiteral("家庭-支出月报表-按支出类别"));
    EXPECT_EQ(wb.text(1, 1), QStringLiteral("家庭-支出月报表-按支出类别"));
    EXPECT_EQ(wb.text(2, 1), QStringLiteral("序号"));
    EXPECT_EQ(wb.text(2, 2), QStringLiteral("月份"));
    EXPECT_EQ(wb.text(2, 3), QStringLiteral("合计"));
    EXPECT_EQ(wb.text(3, 2), QStringLiteral("合计"));
    EXPECT_EQ(wb.value(3, 3).toDouble(), 0);
    EXPECT_EQ(wb.lastRow(), 3);
    EXPECT_EQ(wb.merges().front().ref(), QStringLiteral("A1:H1"));
}

// Months ascending, categories in pinyin order, a 0 where a month has none of a category, the
// totals row and column, all from one grouped read.
TEST_F(MonthCategoryReportTest, MonthsByCategories) {
    expense(QStringLiteral("2024-02-03"), QStringLiteral("餐饮"), 10.1);
    expense(QStringLiteral("2024-02-28"), QStringLiteral("餐饮"), 0.2);
    expense(QStringLiteral("2024-01-15"), QStringLiteral("交通"), 5);
    expense(QStringLiteral("2024-02-10"), QStringLiteral("交通"), 2);
    expense(QStringLiteral("2023-12-31"), QStringLiteral("医疗"), 100);
    expense(QStringLiteral("2024-01-15"), QStringLiteral("交通"), 999, QStringLiteral("别家"));
    const Workbook wb = build("OutMonthByCategory");
    // Categories in pinyin order: can, jiao, yi.
    const QStringList names = {QStringLiteral("餐饮"), QStringLiteral("交通"),
                               QStringLiteral("医疗")};
    for (int k = 0; k < 3; ++k) EXPECT_EQ(wb.text(2, k + 3), names[k]);
    const int food = 3 + int(names.indexOf(QStringLiteral("餐饮")));
    const int fare = 3 + int(names.indexOf(QStringLiteral("交通")));
    const int care = 3 + int(names.indexOf(QStringLiteral("医疗")));
    EXPECT_EQ(wb.text(2, 6), QStringLiteral("合计"));
    EXPECT_EQ(wb.text(3, 2), QStringLiteral("2023-12"));
    EXPECT_EQ(wb.text(4, 2), QStringLiteral("2024-01"));
    EXPECT_EQ(wb.text(5, 2), QStringLiteral("2024-02"));
    EXPECT_EQ(wb.value(5, 1).toInt(), 3);
    EXPECT_DOUBLE_EQ(wb.value(5, food).toDouble(), 10.3);
    EXPECT_DOUBLE_EQ(wb.value(5, fare).toDouble(), 2);
    EXPECT_DOUBLE_EQ(wb.value(5, care).toDouble(), 0);
    EXPECT_DOUBLE_EQ(wb.value(5, 6).toDouble(), 12.3);
    EXPECT_EQ(wb.text(6, 2), QStringLiteral("合计"));
    EXPECT_DOUBLE_EQ(wb.value(6, fare).toDouble(), 7);
    EXPECT_DOUBLE_EQ(wb.value(6, 6).toDouble(), 117.3);
    EXPECT_EQ(wb.merges().front().ref(), QStringLiteral("A1:H1"));
    EXPECT_TRUE(wb.cells().at((qint64(6) << 16) | 8).style.border);
}

// From six categories on the title and borders reach the totals column: seven categories
// fill columns 3 to 9 and the totals stand in J.
TEST_F(MonthCategoryReportTest, TitleAndBordersFollowTheCategories) {
    EXPECT_EQ(MonthCategoryReport::lastLetter(0), QStringLiteral("H"));
    EXPECT_EQ(MonthCategoryReport::lastLetter(5), QStringLiteral("H"));
    EXPECT_EQ(MonthCategoryReport::lastLetter(6), QStringLiteral("I"));
    EXPECT_EQ(MonthCategoryReport::lastLetter(7), QStringLiteral("J"));
    EXPECT_EQ(MonthCategoryReport::lastLetter(23), QStringLiteral("Z"));
    // Past Z they keep covering every column of data (27 for 24 categories).
    EXPECT_EQ(MonthCategoryReport::lastLetter(24), QStringLiteral("AA"));

    for (int k = 0; k < 7; ++k)
        expense(QStringLiteral("2024-01-01"), QStringLiteral("类%1").arg(k), 1);
    const Workbook wb = build("OutMonthByCategory");
    EXPECT_EQ(wb.text(2, 10), QStringLiteral("合计"));
    EXPECT_EQ(wb.merges().front().ref(), QStringLiteral("A1:J1"));
    EXPECT_TRUE(wb.cells().at((qint64(4) << 16) | 10).style.border);
}

TEST_F(MonthCategoryReportTest, IncomeByMemberReadsBack) {
    file.db().exec(
        QStringLiteral("INSERT INTO InTable(BName,IDate,IName,IMoney,AName,FName) "
                       "VALUES('家庭','2024-03-01','工资',8000,'钱包','妈妈')"));
    const Workbook wb = build("InMonthByMember");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("m.xlsx"));
    ASSERT_TRUE(XlsxWriter().write(wb, path));
    const auto read = test::readXlsx(path);
    if (!read) GTEST_SKIP() << test::kNoXlsxReader;
    const QJsonObject cells = (*read)[QStringLiteral("cells")].toObject();
    EXPECT_EQ(cells[QStringLiteral("A1")].toObject()[QStringLiteral("value")].toString(),
              QStringLiteral("家庭-收入月报表-按家庭成员"));
    EXPECT_EQ(cells[QStringLiteral("C2")].toObject()[QStringLiteral("value")].toString(),
              QStringLiteral("妈妈"));
    EXPECT_EQ(cells[QStringLiteral("C3")].toObject()[QStringLiteral("value")].toDouble(), 8000);
    EXPECT_EQ(cells[QStringLiteral("C3")].toObject()[QStringLiteral("type")].toString(),
              QStringLiteral("n"));
    EXPECT_EQ(cells[QStringLiteral("D4")].toObject()[QStringLiteral("value")].toDouble(), 8000);
    EXPECT_NEAR((*read)[QStringLiteral("margins")].toObject()[QStringLiteral("bottom")].toDouble(),
                360.0 / 7.0 / 72.0, 1e-9);
}

}  // namespace
