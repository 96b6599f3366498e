#include <gtest/gtest.h>

#include "reports/Dashboard.h"
#include "support/TempDataFile.h"

using namespace cw;

namespace {

class DashboardFigures : public ::testing::Test {
  protected:
    void SetUp() override { f.addBook(QStringLiteral("我家账簿")); }
    void post(const char* table, const char* column, double money) {
        f.db().exec(QStringLiteral("INSERT INTO %1(BName, %2) VALUES(?, ?)")
                        .arg(QString::fromUtf8(table), QString::fromUtf8(column)),
                    f.state().myBName, money);
    }
    test::TempDataFile f;
};

}  // namespace

TEST_F(DashboardFigures, GroupsTotalsAndNetFunds) {
    f.addAccount("钱包", 100.5, "", "现金");
    f.addAccount("零钱", 20, "", "现金");
    f.addAccount("工行", 1000, "", "银行卡");
    f.addAccount("支付宝", 30.25, "", "电子账户");
    f.addAccount("饭卡", 5, "", "其它");
    f.addAccount("招行信用卡", -800, "", "信用卡");
    post("Debt", "DMoney", 200);
    post("Borrow", "BMoney", 300);
    post("TTable", "TMoney", 5000);

    const Dashboard d = Dashboard::compute(f.dm());
    EXPECT_DOUBLE_EQ(d.cash, 120.5);
    EXPECT_DOUBLE_EQ(d.bank, 1000);
    EXPECT_DOUBLE_EQ(d.eAccount, 30.25);
    EXPECT_DOUBLE_EQ(d.other, 5);
    EXPECT_DOUBLE_EQ(d.credit, 200);
    EXPECT_DOUBLE_EQ(d.investment, 5000);
    EXPECT_DOUBLE_EQ(d.debt, -300);  // liabilities are shown negative
    EXPECT_DOUBLE_EQ(d.creditCard, -800);
    EXPECT_DOUBLE_EQ(d.funds(), 120.5 + 1000 + 200 + 5000 + 30.25 + 5);
    // A credit card in debt lowers the liabilities further.
    EXPECT_DOUBLE_EQ(d.liabilities(), -1100);
    EXPECT_DOUBLE_EQ(d.net(), d.funds() - 1100);
}

TEST_F(DashboardFigures, OtherBooksAndNoOpenBookCountNothing) {
    f.addAccount("钱包", 100, "", "现金");
    post("InTable", "IMoney", 50);
    f.addBook(QStringLiteral("别的账簿"));
    f.addAccount("钱包", 7, "", "现金");
    EXPECT_DOUBLE_EQ(Dashboard::compute(f.dm()).cash, 7);
    EXPECT_DOUBLE_EQ(Dashboard::compute(f.dm()).income, 0);
    f.state().myBName.clear();
    const Dashboard none = Dashboard::compute(f.dm());
    EXPECT_DOUBLE_EQ(none.net(), 0);
    EXPECT_DOUBLE_EQ(none.income, 0);
}

TEST_F(DashboardFigures, StatusLineShareRule) {
    post("InTable", "IMoney", 1000);
    post("OutTable", "OMoney", 250);
    EXPECT_EQ(Dashboard::compute(f.dm()).statusText(),
              QStringLiteral("收入：1,000.00 支出：250.00 结余：750.00 支出占收入：25.00%"));

    post("OutTable", "OMoney", 750);  // equal income and expense
    EXPECT_EQ(Dashboard::compute(f.dm()).statusText(),
              QStringLiteral("收入：1,000.00 支出：1,000.00 结余：0.00 支出占收入：100.00%"));

    // More expense than income is a share above 100, not 0.
    post("OutTable", "OMoney", 500);
    EXPECT_EQ(Dashboard::compute(f.dm()).statusText(),
              QStringLiteral("收入：1,000.00 支出：1,500.00 结余：-500.00 支出占收入：150.00%"));
}

TEST_F(DashboardFigures, ShareWithoutIncomeIsZero) {
    // Nothing at all: 0, not 100.
    EXPECT_DOUBLE_EQ(Dashboard::compute(f.dm()).share(), 0);
    post("OutTable", "OMoney", 10);
    EXPECT_DOUBLE_EQ(Dashboard::compute(f.dm()).share(), 0);
    post("InTable", "IMoney", 10);
    EXPECT_DOUBLE_EQ(Dashboard::compute(f.dm()).share(), 100);
}

// The totals the dashboard reads are kept beside the postings, whatever writes them.
TEST_F(DashboardFigures, BookTotalsFollowEveryWrite) {
    post("InTable", "IMoney", 0.1);
    post("InTable", "IMoney", 0.2);
    post("OutTable", "OMoney", 45288106.2);
    f.db().exec(QStringLiteral("UPDATE InTable SET IMoney=IMoney+1 WHERE IMoney=0.1"));
    f.db().exec(QStringLiteral("DELETE FROM InTable WHERE IMoney=0.2"));
    Dashboard d = Dashboard::compute(f.dm());
    EXPECT_DOUBLE_EQ(d.income, 1.1);
    EXPECT_DOUBLE_EQ(d.expense, 45288106.2);

    // A posting moved to another book leaves this book's total and joins the other's.
    f.addBook(QStringLiteral("别的账簿"));
    f.openBook(QStringLiteral("我家账簿"));
    f.db().exec(QStringLiteral("UPDATE OutTable SET BName='别的账簿'"));
    EXPECT_DOUBLE_EQ(Dashboard::compute(f.dm()).expense, 0);
    f.openBook(QStringLiteral("别的账簿"));
    EXPECT_DOUBLE_EQ(Dashboard::compute(f.dm()).expense, 45288106.2);
}
