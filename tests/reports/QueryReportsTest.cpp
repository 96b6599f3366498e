#include <gtest/gtest.h>

#include "reports/ExportLayout.h"
#include "reports/PrintLayout.h"
#include "reports/QueryReports.h"
#include "reports/SpreadsheetExport.h"
#include "support/TempDataFile.h"

using namespace cw;

namespace {

class QueryReportsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        file.addBook(QStringLiteral("我家"));
        file.addBook(QStringLiteral("别家"));
    }

    void income(const char* date, const char* category, double amount, const char* account,
                const char* member, const char* remark, const char* book = "我家") {
        file.db().exec(QStringLiteral("INSERT INTO InTable(BName,IDate,IName,IMoney,AName,FName,"
                                      "Remark) VALUES(?,?,?,?,?,?,?)"),
                       u(book), u(date), u(category), amount, u(account), u(member), u(remark));
    }
    qint64 debt(const char* date, const char* who, double amount, const char* account) {
        file.db().exec(QStringLiteral("INSERT INTO Borrow(BName,BDate,BPro,BMoney,AName,FName) "
                                      "VALUES('我家',?,?,?,?,'爸爸')"),
                       u(date), u(who), amount, u(account));
        return file.db().lastInsertId();
    }
    void repay(qint64 bid, const char* date, double amount, const char* account,
               const char* remark = "") {
        file.db().exec(QStringLiteral("INSERT INTO BorrowR(BName,BID,RDate,RMoney,AName,FName,"
                                      "Remark) VALUES('我家',?,?,?,?,'妈妈',?)"),
                       bid, u(date), amount, u(account), u(remark));
    }
    static QString u(const char* s) { return QString::fromUtf8(s); }

    ReportTable run(const char* cli, ReportFilter f, ReportSort sort = {}) {
        const QueryDefinition* q = QueryReports::byCliName(u(cli));
        EXPECT_NE(q, nullptr);
        ReportOutcome out = q->run(file.db(), u("我家"), f, sort);
        EXPECT_TRUE(out.ok());
        return out.table;
    }
    static ReportFilter all() {
        ReportFilter f;
        f.datesTicked = false;
        return f;
    }
    static ReportFilter range(const char* from, const char* to) {
        ReportFilter f;
        f.from = QDate::fromString(u(from), Qt::ISODate);
        f.to = QDate::fromString(u(to), Qt::ISODate);
        return f;
    }
    static QStringList column(const ReportTable& t, Field key) {
        QStringList out;
        for (int r = 0; r < t.rowCount(); ++r) out << t.text(r, key);
        return out;
    }

    test::TempDataFile file;
};

TEST_F(QueryReportsTest, EveryScreenIsDescribedWithItsLayouts) {
    const QStringList names{"in",         "out",   "transfer", "debt",  "credit",
                            "investment", "repay", "collect",  "return"};
    ASSERT_EQ(QueryReports::all().size(), size_t(names.size()));
    for (int i = 0; i < names.size(); ++i) {
        const QueryDefinition& q = QueryReports::all()[size_t(i)];
        EXPECT_EQ(q.report.cliName, names[i]);
        EXPECT_EQ(q.report.runCaption, u("查询"));
        // Every export and print layout names only columns the run delivers.
        const ReportTable t = q.run(file.db(), u("我家"), all(), {}).table;
        EXPECT_NO_THROW(SpreadsheetExport::build(ExportLayout::forScreen(q.report.screen), t,
                                                 {u("我家"), QDate(2024, 1, 1), QDate(2024, 2, 1)}))
            << names[i].toStdString();
        if (!q.report.printLayout.isEmpty()) {
            for (const auto& c : PrintLayout::named(q.report.printLayout).columns)
                EXPECT_TRUE(t.hasColumn(c.field)) << names[i].toStdString();
        }
    }
    EXPECT_EQ(QueryReports::byScreen(u("TfrmP_A"))->sortItems, QStringList());
    EXPECT_EQ(QueryReports::byScreen(u("TfrmTZ_Qu"))->sortItems,
              (QStringList{"日期", "投资类别", "投资金额", "收益金额", "账户名称", "家庭成员"}));
    EXPECT_EQ(QueryReports::byScreen(u("TfrmDR_Q"))->sortItems,
              (QStringList{"日期", "债务人", "收债金额", "帐户名称", "家庭成员"}));
    EXPECT_TRUE(bool(QueryReports::byScreen(u("TfrmP_B"))->detail));
    EXPECT_FALSE(bool(QueryReports::byScreen(u("TfrmP_In"))->detail));
}

// Each ticked filter narrows the rows; quotes and wildcards are plain characters.
TEST_F(QueryReportsTest, IncomeFiltersCountAndTotals) {
    income("2024-01-05", "工资", 1000, "工行卡", "爸爸", "一月");
    income("2024-01-20", "奖金", 200.5, "钱包", "妈妈", "年终 '奖' 100%");
    income("2024-02-01", "工资", 1000, "工行卡", "爸爸", "二月");
    income("2024-01-10", "工资", 999, "工行卡", "爸爸", "", "别家");

    ReportTable t = run("in", range("2024-01-01", "2024-01-31"));
    EXPECT_EQ(t.rowCount(), 2);
    EXPECT_DOUBLE_EQ(t.total(Field::IMoney), 1200.5);
    const QueryDefinition& q = *QueryReports::byCliName(u("in"));
    EXPECT_EQ(q.report.statusTexts(t), (QStringList{"笔数：2", "合计金额：1,200.50"}));

    ReportFilter f = all();
    f.set(FilterKey::Category, u("工资"));
    EXPECT_EQ(run("in", f).rowCount(), 2);
    f.set(FilterKey::Account, u("钱包"));
    EXPECT_EQ(run("in", f).rowCount(), 0);

    ReportFilter r = all();
    r.set(FilterKey::Remark, u("'奖' 100%"));
    EXPECT_EQ(column(run("in", r), Field::IName), QStringList{"奖金"});
    r.set(FilterKey::Remark, u("%"));
    EXPECT_EQ(run("in", r).rowCount(), 1);  // only the note with a real %
    r.set(FilterKey::Remark, QString());
    EXPECT_EQ(run("in", r).rowCount(), 3);

    ReportFilter none = range("2024-02-01", "2024-01-01");
    ReportTable empty = run("in", none);
    EXPECT_TRUE(empty.isEmpty());
    EXPECT_EQ(q.report.statusTexts(empty), (QStringList{"笔数：0", "合计金额："}));
}

TEST_F(QueryReportsTest, SortItemsAndDirection) {
    income("2024-01-05", "工资", 300, "工行卡", "爸爸", "");
    income("2024-01-03", "奖金", 100, "钱包", "妈妈", "");
    income("2024-01-04", "利息", 200, "现金", "儿子", "");
    EXPECT_EQ(column(run("in", all()), Field::IDate),
              (QStringList{"2024-01-03", "2024-01-04", "2024-01-05"}));
    EXPECT_EQ(column(run("in", all(), {u("金额"), true}), Field::IMoney),
              (QStringList{"300", "200", "100"}));
    EXPECT_EQ(column(run("in", all(), {u("收入类别"), false}), Field::IName),
              (QStringList{"工资", "奖金", "利息"}));  // in pinyin
    // A direction with an item the screen does not list: ordered by date, nothing breaks.
    EXPECT_EQ(column(run("in", all(), {u("金额 DESC; --"), true}), Field::IDate),
              (QStringList{"2024-01-05", "2024-01-04", "2024-01-03"}));
}

// 债务查询: largest first, and the records of a row newest first.
TEST_F(QueryReportsTest, DebtsAndTheirRepayments) {
    const qint64 small = debt("2024-01-02", "老王", 500, "钱包");
    const qint64 big = debt("2024-01-03", "老李", 5000, "工行卡");
    repay(big, "2024-02-01", 1000, "工行卡", "第一次");
    repay(big, "2024-03-01", 2000, "钱包", "第二次");
    repay(small, "2024-02-15", 100, "钱包");

    const ReportTable t = run("debt", all(), {u("金额"), true});
    ASSERT_EQ(t.rowCount(), 2);
    EXPECT_EQ(t.rowId(0), big);
    const QueryDefinition& q = *QueryReports::byCliName(u("debt"));
    const ReportTable d = q.detail(file.db(), t.rowId(0));
    EXPECT_EQ(column(d, Field::Remark), (QStringList{"第二次", "第一次"}));
    EXPECT_EQ(d.column(1).title, u("还债金额"));

    ReportFilter who = all();
    who.set(FilterKey::Contact, u("老王"));
    EXPECT_EQ(run("debt", who).rowCount(), 1);

    // The repayment records with their debt's person; the account is the record's own.
    ReportFilter acc = all();
    acc.set(FilterKey::Account, u("钱包"));
    const ReportTable r = run("repay", acc, {u("还债金额"), false});
    EXPECT_EQ(column(r, Field::BPro), (QStringList{"老王", "老李"}));
    EXPECT_DOUBLE_EQ(r.total(Field::RMoney), 2100);
    ReportFilter p = all();
    p.set(FilterKey::Contact, u("老李"));
    EXPECT_EQ(run("repay", p).rowCount(), 2);

    // A record whose debt is gone is not listed.
    file.db().exec(QStringLiteral("DELETE FROM Borrow WHERE ID=?"), small);
    EXPECT_EQ(run("repay", all()).rowCount(), 2);
}

TEST_F(QueryReportsTest, TransfersNewestFirstAndInvestmentReturns) {
    file.db().exec(
        QStringLiteral("INSERT INTO ChangeT(BName,CDate,OldN,NewN,CMoney,FName,Remark) VALUES"
                       "('我家','2024-01-01','钱包','工行卡',10,'爸爸',''),"
                       "('我家','2024-03-01','工行卡','钱包',30,'妈妈',''),"
                       "('我家','2024-02-01','钱包','现金',20,'爸爸','')"));
    EXPECT_EQ(column(run("transfer", all()), Field::CMoney), (QStringList{"30", "20", "10"}));

    file.db().exec(
        QStringLiteral("INSERT INTO TTable(BName,TDate,TName,TMoney,RMoney,AName,FName)"
                       " VALUES('我家','2024-01-01','股票',1000,50,'工行卡','爸爸')"));
    const qint64 tid = file.db().lastInsertId();
    file.db().exec(QStringLiteral("INSERT INTO TTableR(BName,TID,RDate,RMoney,SMoney,AName,FName)"
                                  " VALUES('我家',?,'2024-02-01',100,50,'钱包','爸爸')"),
                   tid);
    ReportFilter cat = all();
    cat.set(FilterKey::Category, u("股票"));
    const ReportTable r = run("return", cat);
    ASSERT_EQ(r.rowCount(), 1);
    EXPECT_EQ(r.text(0, Field::AName), u("钱包"));
    EXPECT_EQ(r.column(3).title, u("帐户名称"));
    const QueryDefinition& inv = *QueryReports::byCliName(u("investment"));
    const ReportTable t = run("investment", all());
    EXPECT_EQ(inv.report.statusTexts(t),
              (QStringList{"笔数：1", "合计投资金额：1,000.00", "合计收益金额：50.00"}));
    EXPECT_EQ(inv.detail(file.db(), t.rowId(0)).rowCount(), 1);
}

}  // namespace
