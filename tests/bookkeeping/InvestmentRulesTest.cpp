#include <gtest/gtest.h>

#include "bookkeeping/SubPostingFixture.h"

using namespace cw;
using namespace cw::test;

namespace {

const PostingKind& kInvestment = PostingKind::investment();
const QString kFund = QStringLiteral("基金");

class InvestmentRulesTest : public SubPostingTest {
  protected:
    // 1000 invested in 基金 from the bank card, which is left at 0.
    qint64 invest(const QString& amount = QStringLiteral("1000")) {
        const qint64 id =
            rules().saveNew(kInvestment, parentPosting("2026-09-01", kFund, amount, kBank, kMum));
        newRows();
        return id;
    }

    // The income and expense postings, as "table category amount account member date remark".
    QStringList postings() {
        QStringList found;
        for (const PostingKind* kind : {&PostingKind::income(), &PostingKind::expense()}) {
            Query q = f.db().query(
                QStringLiteral("SELECT %1 AS name,%2 AS money,%3 AS day,AName,"
                               "FName,Remark FROM %4 WHERE BName=? ORDER BY ID")
                    .arg(kind->nameColumn, kind->moneyColumn, kind->dateColumn, kind->table),
                kBook);
            for (q.first(); !q.eof(); q.next()) {
                found << QStringList{kind->table,
                                     q.text("name"),
                                     Money::plain(q.number("money")),
                                     q.text("AName"),
                                     q.text("FName"),
                                     q.text("day"),
                                     q.text("Remark")}
                             .join(' ');
            }
        }
        return found;
    }

    qint64 count(const QString& table, const QString& name) {
        return f.db()
            .query(QStringLiteral("SELECT theCount FROM %1 WHERE %2=? AND BName=?")
                       .arg(table, table == "TD" ? "TName" : "AName"),
                   name, kBook)
            .integer(QStringLiteral("theCount"));
    }
};

}  // namespace

TEST_F(InvestmentRulesTest, AnInvestmentLowersItsAccountCountsItsNamesAndIsJournaledByCategory) {
    const qint64 id = rules().saveNew(
        kInvestment, parentPosting("2026-09-01", kFund, "1000", kBank, kMum, "定投"));
    EXPECT_EQ(balance(kBank), 0);
    EXPECT_EQ(count("TD", kFund), 1);
    EXPECT_EQ(count("SAccount", kBank), 1);
    EXPECT_EQ(
        newRows(),
        (Rows{row("2026-09-01", kFund, "定投", 0, 1000, kBank, 0, kMum, "TTable", id, "新增")}));

    rules().saveEdit(kInvestment, id,
                     parentPosting("2026-09-02", "股票", "800", kBank, kMum, "定投"));
    EXPECT_EQ(count("TD", "股票"), 0);  // a change counts nothing
    EXPECT_EQ(
        newRows(),
        (Rows{
            row("2026-09-01", kFund, "定投", 1000, 0, kBank, 1000, kMum, "TTable", id, "恢复"),
            row("2026-09-02", "股票", "定投", 0, 800, kBank, 200, kMum, "TTable", id, "修改"),
        }));
    rules().remove(kInvestment, id);
    EXPECT_EQ(
        newRows(),
        (Rows{row("2026-09-02", "股票", "定投", 800, 0, kBank, 1000, kMum, "TTable", id, "删除")}));
    expectConsistent();
}

TEST_F(InvestmentRulesTest, AReturnOfPrincipalAndGainRaisesTheAccountAndBooksAnIncome) {
    const qint64 id = invest();
    const qint64 r = subs().settle(kInvestment, id,
                                   returnEntry("2026-12-01", "1000", "50", kCash, kDad, "赎回"));
    EXPECT_EQ(figures(kInvestment, id), std::pair(0.0, 50.0));
    EXPECT_EQ(balance(kCash), 1150);
    EXPECT_EQ(
        newRows(),
        (Rows{
            row("2026-12-01", "收回本金", "赎回", 1000, 0, kCash, 1100, kDad, "TTableR", r, "新增"),
            row("2026-12-01", "收益", "赎回", 50, 0, kCash, 1150, kDad, "TTableR", r, "新增"),
        }));
    EXPECT_EQ(postings(), QStringList{"InTable 基金 50 现金 爸爸 2026-12-01 投资收益"});
    // Stored directly: the income counts no use.
    EXPECT_EQ(count("SAccount", kCash), 0);
    EXPECT_EQ(listed(kInvestment, PostingKind::ListFilter::Settled), (std::vector<qint64>{id}));
    EXPECT_EQ(refusal([&] { rules().remove(kInvestment, id); }),
              QStringLiteral("该 投资 已有收益记录，不能删除！"));
    expectConsistent();

    // Deleting it books both parts back with reversing rows and an expense of the gain today;
    // the income stays.
    subs().removeSettlement(kInvestment, r);
    EXPECT_EQ(figures(kInvestment, id), std::pair(1000.0, 0.0));
    EXPECT_EQ(balance(kCash), 100);
    EXPECT_EQ(
        newRows(),
        (Rows{
            row(kToday, "收回本金", "收益 删除", 0, 1000, kCash, 150, kDad, "TTableR", r, "删除"),
            row(kToday, "收益", "收益 删除", 0, 50, kCash, 100, kDad, "TTableR", r, "删除"),
        }));
    EXPECT_EQ(postings(), (QStringList{"InTable 基金 50 现金 爸爸 2026-12-01 投资收益",
                                       "OutTable 基金 50 现金 爸爸 2026-12-09 删除投资记录"}));
    EXPECT_EQ(rowsOf("TTableR"), 0);
    expectConsistent();
    rules().remove(kInvestment, id);
    expectConsistent();
}

TEST_F(InvestmentRulesTest, ALossLowersTheAccountAndBooksAnExpense) {
    const qint64 id = invest();
    const qint64 r =
        subs().settle(kInvestment, id, returnEntry("2026-12-01", "0", "-30", kCash, kDad));
    EXPECT_EQ(figures(kInvestment, id), std::pair(1000.0, -30.0));
    EXPECT_EQ(balance(kCash), 70);
    EXPECT_EQ(newRows(),
              (Rows{row("2026-12-01", "收益", "", -30, 0, kCash, 70, kDad, "TTableR", r, "新增")}));
    EXPECT_EQ(postings(), QStringList{"OutTable 基金 30 现金 爸爸 2026-12-01 投资亏损"});

    subs().removeSettlement(kInvestment, r);
    EXPECT_EQ(figures(kInvestment, id), std::pair(1000.0, 0.0));
    EXPECT_EQ(balance(kCash), 100);
    EXPECT_EQ(
        newRows(),
        (Rows{row(kToday, "收益", "收益 删除", 0, -30, kCash, 100, kDad, "TTableR", r, "删除")}));
    EXPECT_EQ(postings(), (QStringList{"InTable 基金 30 现金 爸爸 2026-12-09 删除投资记录",
                                       "OutTable 基金 30 现金 爸爸 2026-12-01 投资亏损"}));
    expectConsistent();
}

TEST_F(InvestmentRulesTest, AReturnOfNothingIsARecordAloneAndMorePrincipalThanInvestedIsTaken) {
    const qint64 id = invest("100");
    const qint64 nothing =
        subs().settle(kInvestment, id, returnEntry("2026-12-01", "0", "0", kCash, kDad));
    EXPECT_TRUE(newRows().empty());
    EXPECT_EQ(rowsOf("TTableR"), 1);
    EXPECT_EQ(figures(kInvestment, id), std::pair(100.0, 0.0));
    subs().removeSettlement(kInvestment, nothing);
    EXPECT_TRUE(newRows().empty());
    EXPECT_EQ(postings(), QStringList());

    // The return's principal is not held to what is invested: the investment goes negative and
    // shows under neither filter.
    subs().settle(kInvestment, id, returnEntry("2026-12-01", "150", "0", kCash, kDad));
    EXPECT_EQ(figures(kInvestment, id), std::pair(-50.0, 0.0));
    EXPECT_TRUE(SubPostingRules::canSettle(-50));
    EXPECT_TRUE(listed(kInvestment, PostingKind::ListFilter::Outstanding).empty());
    EXPECT_TRUE(listed(kInvestment, PostingKind::ListFilter::Settled).empty());
    expectConsistent();
}

TEST_F(InvestmentRulesTest, ReturnChecksComeInTheDialogsOrder) {
    const qint64 id = invest();
    const SubPostingRules::Parent p = *subs().parent(kInvestment, id);
    const Entry preset = subs().settlementPreset(kInvestment, p);
    EXPECT_EQ(preset.amount, QStringLiteral("0"));
    EXPECT_EQ(preset.profit, QStringLiteral("0"));
    EXPECT_EQ(preset.account, kBank);

    const auto check = [&](const Entry& e) {
        const SubPostingRules::Verdict v = subs().validateSettlement(kInvestment, e, 1000);
        return std::pair(v.message, v.focus);
    };
    using P = std::pair<QString, SubField>;
    EXPECT_EQ(check(returnEntry("2026-12-01", "", "", "", "")),
              P("收回本金 不能为空！", SubField::Amount));
    EXPECT_EQ(check(returnEntry("2026-12-01", "1-", "", "", "")),
              P("收回本金 不是有效的数字！请重新录入！", SubField::Amount));
    EXPECT_EQ(check(returnEntry("2026-12-01", "-0.01", "", "", "")),
              P("收回本金 不能小于零！", SubField::Amount));
    EXPECT_EQ(check(returnEntry("2026-12-01", "5000", "", "", "")),
              P("请选择 账户名称！", SubField::Account));
    EXPECT_EQ(check(returnEntry("2026-12-01", "0", "", kCash, "")),
              P("请选择 家庭成员！", SubField::Member));
    EXPECT_EQ(check(returnEntry("2026-12-01", "0", "", kCash, kDad)),
              P("收益金额 不能为空！", SubField::Profit));
    EXPECT_EQ(check(returnEntry("2026-12-01", "0", "5-3", kCash, kDad)),
              P("收益金额 不是有效的数字！请重新录入！", SubField::Profit));
    EXPECT_TRUE(subs()
                    .validateSettlement(kInvestment,
                                        returnEntry("2026-12-01", "0", "-.5", kCash, kDad), 1000)
                    .ok());
    EXPECT_EQ(refusal([&] {
                  subs().settle(kInvestment, id, returnEntry("2026-12-01", "1", "", kCash, kDad));
              }),
              QStringLiteral("收益金额 不能为空！"));
    EXPECT_TRUE(newRows().empty());
    EXPECT_EQ(postings(), QStringList());
}

TEST_F(InvestmentRulesTest, IncreaseAndDecreaseMoveThePrincipalAndTheDecreaseTrimsItsRemark) {
    const qint64 id = invest();
    const qint64 up = subs().change(kInvestment, Change::Increase, id,
                                    entry("2026-10-01", "300", kCash, kDad, " 加仓 "));
    const qint64 down = subs().change(kInvestment, Change::Decrease, id,
                                      entry("2026-10-02", "1300", kCash, kDad, " 减仓 "));
    EXPECT_EQ(figures(kInvestment, id), std::pair(0.0, 0.0));
    EXPECT_EQ(
        newRows(),
        (Rows{
            row("2026-10-01", "增加投资", " 加仓 ", 0, 300, kCash, -200, kDad, "TList", up, "新增"),
            row("2026-10-02", "减少投资", "减仓", 1300, 0, kCash, 1100, kDad, "TList", down,
                "新增"),
        }));
    EXPECT_EQ(rowsOf("TList", "Remark='减仓' AND theMoney=-1300"), 1);
    EXPECT_EQ(refusal([&] {
                  subs().change(kInvestment, Change::Decrease, id,
                                entry("2026-10-03", "0.01", kCash, kDad));
              }),
              QStringLiteral("减少金额 不能大于投资金额！"));
    // With only increases and decreases it can go; its records stay.
    rules().remove(kInvestment, id);
    EXPECT_EQ(rowsOf("TList"), 2);
    expectConsistent();
}
