#include <gtest/gtest.h>

#include "reports/IncomeExpenseReport.h"
#include "support/TempDataFile.h"

using namespace cw;
using Period = IncomeExpenseReport::Period;

namespace {

class IncomeExpenseReportTest : public ::testing::Test {
  protected:
    void SetUp() override { file.addBook(QStringLiteral("我家")); }

    void income(const char* date, double amount, const char* account = "钱包",
                const char* member = "爸爸", const char* book = "我家") {
        post("INSERT INTO InTable(BName,IDate,IName,IMoney,AName,FName) VALUES(?,?,'工资',?,?,?)",
             date, amount, account, member, book);
    }
    void expense(const char* date, double amount, const char* account = "钱包",
                 const char* member = "爸爸", const char* book = "我家") {
        post("INSERT INTO OutTable(BName,ODate,OName,OMoney,AName,FName) VALUES(?,?,'餐饮',?,?,?)",
             date, amount, account, member, book);
    }
    void post(const char* sql, const char* date, double amount, const char* account,
              const char* member, const char* book) {
        file.db().exec(QString::fromUtf8(sql), QString::fromUtf8(book), QString::fromUtf8(date),
                       amount, QString::fromUtf8(account), QString::fromUtf8(member));
    }

    ReportTable run(Period period, const char* from, const char* to, ReportFilter f = {}) {
        f.from = QDate::fromString(QString::fromUtf8(from), Qt::ISODate);
        f.to = QDate::fromString(QString::fromUtf8(to), Qt::ISODate);
        ReportOutcome out = IncomeExpenseReport::run(file.db(), QStringLiteral("我家"), period, f);
        EXPECT_TRUE(out.ok()) << out.refusal.toStdString();
        return out.table;
    }

    static QStringList labels(const ReportTable& t) {
        QStringList out;
        for (int r = 0; r < t.rowCount(); ++r) out << t.text(r, Field::theDate);
        return out;
    }

    test::TempDataFile file;
};

// Every calendar month the range touches gets its line, and each line sums its whole month:
// counting periods from the average month length lost February and March here.
TEST_F(IncomeExpenseReportTest, OneLinePerCalendarMonthTheRangeTouches) {
    income("2024-02-20", 300);  // after the last date, inside its month
    expense("2024-01-02", 40);  // before the first date, inside its month
    const ReportTable jan = run(Period::Month, "2024-01-15", "2024-02-10");
    EXPECT_EQ(labels(jan), (QStringList{"2024-01", "2024-02"}));
    EXPECT_DOUBLE_EQ(jan.number(0, Field::theZM), 40);
    EXPECT_DOUBLE_EQ(jan.number(1, Field::theSM), 300);

    income("2024-03-31", 5);
    const ReportTable q = run(Period::Month, "2023-12-31", "2024-03-31");
    EXPECT_EQ(labels(q), (QStringList{"2023-12", "2024-01", "2024-02", "2024-03"}));
    EXPECT_DOUBLE_EQ(q.total(Field::theSM), 305);

    EXPECT_EQ(labels(run(Period::Month, "2024-02-29", "2024-02-29")), QStringList{"2024-02"});
    EXPECT_EQ(run(Period::Month, "2023-01-01", "2042-12-31").rowCount(), 240);
}

TEST_F(IncomeExpenseReportTest, OneLinePerCalendarYear) {
    income("2024-03-01", 10);
    const ReportTable t = run(Period::Year, "2023-07-01", "2024-03-31");
    EXPECT_EQ(labels(t), (QStringList{"2023", "2024"}));
    EXPECT_DOUBLE_EQ(t.number(1, Field::theSM), 10);
    EXPECT_EQ(t.column(0).title, QStringLiteral("年份"));
    EXPECT_EQ(labels(run(Period::Year, "2024-12-31", "2024-12-31")), QStringList{"2024"});
}

// Sums, counts, balance and share of each line, and the totals of the whole report.
TEST_F(IncomeExpenseReportTest, LinesAndTotals) {
    income("2024-01-05", 600);
    income("2024-01-25", 400);
    expense("2024-01-09", 250);
    expense("2024-02-01", 80.1);
    expense("2024-02-02", 0.2);
    const ReportTable t = run(Period::Month, "2024-01-01", "2024-03-31");
    ASSERT_EQ(t.rowCount(), 3);
    EXPECT_DOUBLE_EQ(t.number(0, Field::theSM), 1000);
    EXPECT_EQ(t.value(0, Field::theSC).toLongLong(), 2);
    EXPECT_DOUBLE_EQ(t.number(0, Field::theZM), 250);
    EXPECT_EQ(t.value(0, Field::theZC).toLongLong(), 1);
    EXPECT_DOUBLE_EQ(t.number(0, Field::theJY), 750);
    EXPECT_DOUBLE_EQ(t.number(0, Field::theBC), 0.25);
    // Expense without income: a negative balance, and a share of nothing is 0.
    EXPECT_DOUBLE_EQ(t.number(1, Field::theZM), 80.3);
    EXPECT_DOUBLE_EQ(t.number(1, Field::theJY), -80.3);
    EXPECT_DOUBLE_EQ(t.number(1, Field::theBC), 0);
    // A month without postings: all zeros.
    for (Field f :
         {Field::theSM, Field::theSC, Field::theZM, Field::theZC, Field::theJY, Field::theBC}) {
        EXPECT_EQ(t.number(2, f), 0) << int(f);
    }
    EXPECT_DOUBLE_EQ(t.total(Field::theSM), 1000);
    EXPECT_DOUBLE_EQ(t.total(Field::theSC), 2);
    EXPECT_DOUBLE_EQ(t.total(Field::theZM), 330.3);
    EXPECT_DOUBLE_EQ(t.total(Field::theZC), 3);
    EXPECT_DOUBLE_EQ(t.total(Field::theJY), 669.7);
    EXPECT_EQ(IncomeExpenseReport::statusTexts(t),
              (QStringList{"数量：3", "收入合计：1,000.00", "收入笔数：2", "支出合计：330.30",
                           "支出笔数：3", "结余合计：669.70"}));
    // The lines are numbered 1… for the printed 序号.
    EXPECT_EQ(t.rowId(0), 1);
    EXPECT_EQ(t.rowId(2), 3);
}

TEST_F(IncomeExpenseReportTest, EmptyBookGivesZeroLines) {
    const ReportTable t = run(Period::Month, "2024-02-01", "2025-01-31");
    EXPECT_EQ(t.rowCount(), 12);
    EXPECT_EQ(t.total(Field::theSM), 0);
    EXPECT_EQ(t.total(Field::theZC), 0);
}

TEST_F(IncomeExpenseReportTest, ReversedDatesAreRefused) {
    ReportFilter f;
    f.from = QDate(2024, 3, 1);
    f.to = QDate(2024, 2, 29);
    const ReportOutcome out =
        IncomeExpenseReport::run(file.db(), QStringLiteral("我家"), Period::Month, f);
    EXPECT_FALSE(out.ok());
    EXPECT_EQ(out.refusal, QStringLiteral("日期选择错误，请重新选择！"));
}

TEST_F(IncomeExpenseReportTest, AccountAndMemberFilters) {
    income("2024-01-05", 100, "钱包", "爸爸");
    income("2024-01-06", 20, "银行卡", "爸爸");
    expense("2024-01-07", 7, "钱包", "妈妈");
    expense("2024-01-08", 3, "银行卡", "妈妈");
    // Another book's rows never count.
    income("2024-01-05", 5000, "钱包", "爸爸", "别家");

    ReportFilter byAccount;
    byAccount.set(FilterKey::Account, QStringLiteral("钱包"));
    ReportTable t = run(Period::Month, "2024-01-01", "2024-01-31", byAccount);
    EXPECT_DOUBLE_EQ(t.number(0, Field::theSM), 100);
    EXPECT_DOUBLE_EQ(t.number(0, Field::theZM), 7);

    ReportFilter byMember;
    byMember.set(FilterKey::Member, QStringLiteral("妈妈"));
    t = run(Period::Month, "2024-01-01", "2024-01-31", byMember);
    EXPECT_DOUBLE_EQ(t.number(0, Field::theSM), 0);
    EXPECT_DOUBLE_EQ(t.number(0, Field::theZM), 10);

    ReportFilter both = byAccount;
    both.set(FilterKey::Member, QStringLiteral("妈妈"));
    t = run(Period::Year, "2024-01-01", "2024-01-31", both);
    EXPECT_DOUBLE_EQ(t.number(0, Field::theSM), 0);
    EXPECT_DOUBLE_EQ(t.number(0, Field::theZM), 7);
    EXPECT_EQ(t.value(0, Field::theZC).toLongLong(), 1);

    // A name with a quote is a value, not SQL.
    ReportFilter quoted;
    quoted.set(FilterKey::Account, QStringLiteral("x' OR '1'='1"));
    t = run(Period::Month, "2024-01-01", "2024-01-31", quoted);
    EXPECT_DOUBLE_EQ(t.number(0, Field::theSM), 0);
}

// The lines of a run live in the returned table only: the shared work table stays empty, so
// no book's figures are left in the file for another book to read.
TEST_F(IncomeExpenseReportTest, RunsWriteNothing) {
    income("2024-01-05", 100);
    const int journal = file.count(QStringLiteral("UList"));
    run(Period::Month, "2024-01-01", "2024-12-31");
    run(Period::Year, "2020-01-01", "2024-12-31");
    EXPECT_EQ(file.count(QStringLiteral("SZTable")), 0);
    EXPECT_EQ(file.count(QStringLiteral("UList")), journal);
}

TEST(IncomeExpenseReportDates, Defaults) {
    using P = std::pair<QDate, QDate>;
    EXPECT_EQ(IncomeExpenseReport::defaultDates(Period::Month, QDate(2025, 1, 20)),
              P(QDate(2024, 2, 1), QDate(2025, 1, 31)));
    EXPECT_EQ(IncomeExpenseReport::defaultDates(Period::Month, QDate(2024, 12, 31)),
              P(QDate(2024, 1, 1), QDate(2024, 12, 31)));
    EXPECT_EQ(IncomeExpenseReport::defaultDates(Period::Year, QDate(2025, 1, 20)),
              P(QDate(2024, 1, 1), QDate(2025, 12, 31)));
    const auto [from, to] = IncomeExpenseReport::defaultDates(Period::Month, QDate(2025, 1, 20));
    EXPECT_EQ(IncomeExpenseReport::periods(Period::Month, from, to).size(), 12);
}

}  // namespace
