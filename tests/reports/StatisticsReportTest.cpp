#include <gtest/gtest.h>

#include "reports/AnalysisReport.h"
#include "reports/StatisticsReport.h"
#include "reports/Workbook.h"
#include "support/TempDataFile.h"

using namespace cw;

namespace {

class StatisticsReportTest : public ::testing::Test {
  protected:
    void SetUp() override { file.addBook(QStringLiteral("我家")); }

    void income(const char* date, const char* category, double amount, const char* account = "钱包",
                const char* member = "爸爸", const char* book = "我家") {
        insert("InTable", "IDate", "IName", "IMoney", date, category, amount, account, member,
               book);
    }
    void expense(const char* date, const char* category, double amount,
                 const char* account = "钱包", const char* member = "爸爸") {
        insert("OutTable", "ODate", "OName", "OMoney", date, category, amount, account, member,
               "我家");
    }
    void debt(const char* table, const char* date, const char* who, double outstanding,
              const char* account = "钱包") {
        const bool b = QByteArray(table) == "Borrow";
        insert(table, b ? "BDate" : "DDate", b ? "BPro" : "DPro", b ? "BMoney" : "DMoney", date,
               who, outstanding, account, "爸爸", "我家");
    }
    void insert(const char* table, const char* dateCol, const char* nameCol, const char* moneyCol,
                const char* date, const char* name, double amount, const char* account,
                const char* member, const char* book) {
        file.db().exec(
            QStringLiteral("INSERT INTO %1(BName,%2,%3,%4,AName,FName) VALUES(?,?,?,?,?,?)")
                .arg(QLatin1String(table), QLatin1String(dateCol), QLatin1String(nameCol),
                     QLatin1String(moneyCol)),
            QString::fromUtf8(book), QString::fromUtf8(date), QString::fromUtf8(name), amount,
            QString::fromUtf8(account), QString::fromUtf8(member));
    }
    void journal(const char* date, const char* account, double balance) {
        file.db().exec(
            QStringLiteral("INSERT INTO UList(BName,theDate,AName,AMoney) VALUES(?,?,?,?)"),
            QStringLiteral("我家"), QString::fromUtf8(date), QString::fromUtf8(account), balance);
    }

    static ReportFilter range(const char* from, const char* to) {
        ReportFilter f;
        f.from = QDate::fromString(QString::fromUtf8(from), Qt::ISODate);
        f.to = QDate::fromString(QString::fromUtf8(to), Qt::ISODate);
        return f;
    }

    ReportTable inOut(ReportFilter f, const QString& by, const QString& sort = QString()) {
        f.set(FilterKey::Dimension, by);
        if (!sort.isEmpty()) f.set(FilterKey::Sort, sort);
        ReportOutcome out = StatisticsReport::runInOut(file.db(), QStringLiteral("我家"), f);
        EXPECT_TRUE(out.ok()) << out.refusal.toStdString();
        return out.table;
    }

    // "side|item|count|amount" per row.
    static QStringList rows(const ReportTable& t) {
        QStringList out;
        for (int r = 0; r < t.rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < t.columnCount(); ++c) cells << t.plainText(r, c);
            out << cells.join(QLatin1Char('|'));
        }
        return out;
    }

    test::TempDataFile file;
};

// Every group against figures added up by hand; the other book, the dates outside the range
// and the other account never count.
TEST_F(StatisticsReportTest, InOutGroupsByCategoryLargestFirst) {
    income("2024-01-05", "工资", 5000);
    income("2024-01-20", "工资", 5000.5);
    income("2024-01-21", "奖金", 12000);
    income("2024-01-22", "利息", 3.3);
    income("2023-12-31", "工资", 999);                          // before the range
    income("2024-01-10", "工资", 777, "钱包", "爸爸", "邻居");  // another book
    expense("2024-01-06", "餐饮", 10.1);
    expense("2024-01-07", "餐饮", 20.2);
    expense("2024-01-08", "交通", 30);

    const ReportTable t = inOut(range("2024-01-01", "2024-01-31"), "收支类别", "金额降序");
    EXPECT_EQ(rows(t), (QStringList{"收入|奖金|1|12000", "收入|工资|2|10000.5", "收入|利息|1|3.3",
                                    "支出|餐饮|2|30.3", "支出|交通|1|30"}));
    const ReportTable in = StatisticsReport::side(t, "收入", "收入名称", "金额");
    EXPECT_DOUBLE_EQ(in.total(Field::Amount), 22003.8);
    EXPECT_EQ(in.total(Field::Count), 4);

    ReportFilter f = range("2024-01-01", "2024-01-31");
    f.set(FilterKey::Member, QStringLiteral("妈妈"));
    EXPECT_TRUE(inOut(f, "收支类别").isEmpty());
    // Unticked dates: all time.
    f = range("2024-01-01", "2024-01-31");
    f.datesTicked = false;
    EXPECT_EQ(rows(inOut(f, "收支类别", "笔数降序")).first(), "收入|工资|3|10999.5");
}

TEST_F(StatisticsReportTest, InOutByMonthAndTheSortsAndNoSort) {
    income("2024-03-01", "工资", 1);
    income("2024-01-09", "工资", 3);
    income("2024-01-31", "奖金", 4);
    income("2024-02-15", "工资", 2);
    expense("2024-02-01", "餐饮", 5);
    const ReportFilter f = range("2024-01-01", "2024-12-31");
    EXPECT_EQ(rows(inOut(f, "月份", "名称升序")),
              (QStringList{"收入|2024-01|2|7", "收入|2024-02|1|2", "收入|2024-03|1|1",
                           "支出|2024-02|1|5"}));
    EXPECT_EQ(rows(inOut(f, "月份", "名称降序")).first(), "收入|2024-03|1|1");
    EXPECT_EQ(rows(inOut(f, "月份", "金额升序")).first(), "收入|2024-03|1|1");
    EXPECT_EQ(rows(inOut(f, "年份")), (QStringList{"收入|2024|4|10", "支出|2024|1|5"}));
    // No order: the groups as grouped, ascending.
    EXPECT_EQ(rows(inOut(f, "日期")).first(), "收入|2024-01-09|1|3");
    EXPECT_EQ(rows(inOut(f, "账户名称")), (QStringList{"收入|钱包|4|10", "支出|钱包|1|5"}));
    EXPECT_EQ(inOut(f, "收支类别").column(1).title, "收支类别");
    EXPECT_EQ(StatisticsReport::columnTitles("收支类别"), (QStringList{"收入名称", "支出名称"}));

    ReportFilter bad = f;
    bad.set(FilterKey::Dimension, QStringLiteral("IName) --"));
    const ReportOutcome out = StatisticsReport::runInOut(file.db(), "我家", bad);
    EXPECT_EQ(out.refusal, StatisticsReport::unknownDimensionMessage());
}

TEST_F(StatisticsReportTest, DebtsByCreditorAndCreditsByDebtorLargestFirst) {
    debt("Borrow", "2024-01-02", "老王", 100);
    debt("Borrow", "2024-01-03", "老李", 300);
    debt("Borrow", "2024-01-04", "老王", 250.25);
    debt("Borrow", "2024-01-05", "老张", 0);
    debt("Debt", "2024-01-05", "小赵", 80);
    debt("Debt", "2023-01-05", "小钱", 80);  // outside the range
    const ReportOutcome out =
        StatisticsReport::runDebtCredit(file.db(), "我家", range("2024-01-01", "2024-01-31"));
    ASSERT_TRUE(out.ok());
    EXPECT_EQ(rows(out.table), (QStringList{"债务|老王|2|350.25", "债务|老李|1|300",
                                            "债务|老张|1|0", "债权|小赵|1|80"}));

    // Three creditors and one debtor: the totals row is row 6, its column 6 reads 1.
    const Workbook wb =
        StatisticsReport::debtCreditWorkbook("我家", range("2024-01-01", "2024-01-31"), out.table);
    EXPECT_EQ(wb.text(1, 1), "我家-债务债权统计表（2024-01-01至2024-01-31）");
    EXPECT_EQ(wb.text(2, 8), "未收金额");
    EXPECT_EQ(wb.text(3, 6), "小赵");
    EXPECT_EQ(wb.text(4, 6), "");
    EXPECT_EQ(wb.text(6, 1), "合计");
    EXPECT_EQ(wb.value(6, 6).toInt(), 1);
    EXPECT_EQ(wb.value(6, 2).toInt(), 3);
    EXPECT_DOUBLE_EQ(wb.value(6, 4).toDouble(), 650.25);
    EXPECT_DOUBLE_EQ(wb.value(6, 8).toDouble(), 80);
}

// The workbook of 收支统计表: each side's shares of its total, the balance block and every
// account with its balance at the last date. Balances that cancel out give 0.00%.
TEST_F(StatisticsReportTest, InOutWorkbookSharesBalanceAndAccounts) {
    income("2024-01-05", "A", 1000);
    income("2024-01-06", "B", 3000);
    expense("2024-01-07", "餐饮", 1000);
    file.addAccount("钱包", 500, "爸爸", "现金");
    file.addAccount("信用卡", -500, "妈妈", "信用卡");
    journal("2024-01-10", "钱包", 200);
    journal("2024-01-30", "钱包", 700);
    journal("2024-02-05", "钱包", 500);  // after the last date
    journal("2024-01-11", "信用卡", -700);
    const ReportFilter f = [&] {
        ReportFilter r = range("2024-01-01", "2024-01-31");
        r.set(FilterKey::Dimension, QStringLiteral("收支类别"));
        r.set(FilterKey::Sort, QStringLiteral("名称升序"));
        return r;
    }();
    EXPECT_DOUBLE_EQ(StatisticsReport::balanceAt(file.db(), "我家", "钱包", "2024-01-31"), 700);
    EXPECT_DOUBLE_EQ(StatisticsReport::balanceAt(file.db(), "我家", "钱包", "2024-01-09"), 0);

    const ReportTable t = inOut(f, "收支类别", "名称升序");
    const Workbook wb = StatisticsReport::inOutWorkbook(file.db(), "我家", f, t);
    EXPECT_EQ(wb.text(1, 1), "我家-收支统计表（2024-01-01至2024-01-31）");
    EXPECT_EQ(wb.text(2, 1), "收入");
    EXPECT_EQ(wb.text(3, 2), "收入名称");
    EXPECT_EQ(wb.text(4, 2), "A");
    EXPECT_EQ(wb.text(4, 5), "25.00%");
    EXPECT_EQ(wb.text(5, 5), "75.00%");
    // Shares, amounts and running numbers are numbers the spreadsheet can sum.
    EXPECT_EQ(wb.value(5, 5), QVariant(0.75));
    EXPECT_EQ(wb.value(5, 1).typeId(), QMetaType::Int);
    EXPECT_EQ(wb.value(20, 1).typeId(), QMetaType::LongLong);
    EXPECT_EQ(wb.text(6, 4), "4,000.00");
    EXPECT_EQ(wb.text(6, 1), "合计");
    EXPECT_DOUBLE_EQ(wb.value(6, 4).toDouble(), 4000);
    EXPECT_EQ(wb.text(8, 1), "支出");
    EXPECT_EQ(wb.text(9, 2), "支出名称");
    EXPECT_EQ(wb.text(10, 5), "100.00%");
    EXPECT_EQ(wb.text(11, 1), "合计");
    EXPECT_EQ(wb.text(13, 1), "结余");
    EXPECT_EQ(wb.text(14, 4), "支出减收入");
    EXPECT_DOUBLE_EQ(wb.value(15, 4).toDouble(), -3000);
    EXPECT_EQ(wb.text(15, 5), "25.00%");
    EXPECT_EQ(wb.value(15, 5), QVariant(0.25));
    EXPECT_EQ(wb.text(17, 1), "账户");
    EXPECT_EQ(wb.text(19, 2), "现金  钱包");
    EXPECT_DOUBLE_EQ(wb.value(19, 4).toDouble(), 700);
    EXPECT_DOUBLE_EQ(wb.value(20, 4).toDouble(), -700);
    EXPECT_EQ(wb.text(19, 5), "0.00%");  // 700 and -700 cancel out
    EXPECT_EQ(wb.text(21, 1), "合计");
    EXPECT_DOUBLE_EQ(wb.value(21, 4).toDouble(), 0);
    EXPECT_EQ(wb.lastRow(), 21);
}

class AnalysisReportTest : public StatisticsReportTest {
  protected:
    ReportTable run(AnalysisReport::Side side, ReportFilter f, const QString& by = QString()) {
        if (!by.isEmpty()) f.set(FilterKey::Dimension, by);
        ReportOutcome out = AnalysisReport::run(file.db(), "我家", side, f);
        EXPECT_TRUE(out.ok()) << out.refusal.toStdString();
        return out.table;
    }
};

TEST_F(AnalysisReportTest, DefaultMonthsAllTimeAscendingAndDays) {
    income("2024-03-02", "工资", 1);
    income("2023-11-30", "工资", 2);
    income("2024-03-09", "奖金", 4);
    income("2024-03-09", "工资", 8);
    income("2024-03-11", "工资", 16);
    income("2024-03-15", "工资", 32);
    income("2024-03-31", "工资", 64);
    ReportFilter all = range("2024-03-01", "2024-03-31");
    all.datesTicked = false;
    EXPECT_EQ(rows(run(AnalysisReport::Side::Income, all)),
              (QStringList{"2023-11|2", "2024-03|125"}));
    ReportFilter march = range("2024-03-01", "2024-03-31");
    const ReportTable days = run(AnalysisReport::Side::Income, march, "日收入");
    EXPECT_EQ(rows(days), (QStringList{"2024-03-02|1", "2024-03-09|12", "2024-03-11|16",
                                       "2024-03-15|32", "2024-03-31|64"}));
    EXPECT_EQ(AnalysisReport::statusTexts(days), (QStringList{"数量：5", "合计金额：125.00"}));
    march.set(FilterKey::Category, QStringLiteral("奖金"));
    EXPECT_EQ(rows(run(AnalysisReport::Side::Income, march, "收入类别")), QStringList{"奖金|4"});
    // One day, a reversed range, no postings at all.
    EXPECT_EQ(rows(run(AnalysisReport::Side::Income, range("2024-03-11", "2024-03-11"), "年收入")),
              QStringList{"2024|16"});
    EXPECT_TRUE(run(AnalysisReport::Side::Income, range("2024-04-01", "2024-03-01")).isEmpty());
    const ReportTable none = run(AnalysisReport::Side::Expense, all);
    EXPECT_EQ(AnalysisReport::statusTexts(none), (QStringList{"数量：0", "合计金额："}));
    // The expense screen has its own items; the income items are not among them.
    ReportFilter wrong = all;
    wrong.set(FilterKey::Dimension, QStringLiteral("月收入"));
    EXPECT_FALSE(AnalysisReport::run(file.db(), "我家", AnalysisReport::Side::Expense, wrong).ok());
}

class AccountQueryTest : public StatisticsReportTest {
  protected:
    ReportTable run(const ReportFilter& f = {}) {
        return AccountQuery::run(file.db(), "我家", f).table;
    }
};

TEST_F(AccountQueryTest, EnabledAccountsByKindMemberNameWithTheirTotal) {
    file.addAccount("工行", 1234.5, "爸爸", "银行卡");
    file.addAccount("钱包", 0, "妈妈", "现金");
    file.addAccount("招行", -200, "妈妈", "信用卡");
    file.addAccount("农行", 10, "爸爸", "银行卡");
    file.addAccount("旧卡", 99, "爸爸", "银行卡");
    file.db().exec(QStringLiteral("UPDATE SAccount SET theState='停用' WHERE AName='旧卡'"));
    file.db().exec(QStringLiteral("UPDATE SAccount SET Remark='100%还款' WHERE AName='招行'"));

    const ReportTable all = run();
    // Kinds, members and names in pinyin: xian, xin, yin; gong before nong.
    EXPECT_EQ(rows(all), (QStringList{"现金|妈妈|钱包|0|", "信用卡|妈妈|招行|-200|100%还款",
                                      "银行卡|爸爸|工行|1234.5|", "银行卡|爸爸|农行|10|"}));
    EXPECT_EQ(AccountQuery::statusTexts(all), (QStringList{"账户记录：4", "账户余额：1,044.50"}));

    ReportFilter f;
    f.set(FilterKey::AccountType, QStringLiteral("银行卡"));
    EXPECT_EQ(run(f).rowCount(), 2);  // the disabled card stays out
    f.set(FilterKey::Member, QStringLiteral("妈妈"));
    EXPECT_TRUE(run(f).isEmpty());
    EXPECT_EQ(AccountQuery::statusTexts(run(f)), (QStringList{"账户记录：0", "账户余额：0.00"}));

    ReportFilter remark;
    remark.set(FilterKey::Remark, QStringLiteral("0%"));
    EXPECT_EQ(run(remark).rowCount(), 1);
    remark.set(FilterKey::Remark, QStringLiteral("_"));  // a character, not any character
    EXPECT_TRUE(run(remark).isEmpty());
}

}  // namespace
