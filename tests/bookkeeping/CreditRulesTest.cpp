#include <gtest/gtest.h>

#include "bookkeeping/SubPostingFixture.h"

using namespace cw;
using namespace cw::test;

namespace {

const PostingKind& kCredit = PostingKind::credit();
const QString kBorrower = QStringLiteral("小张");

class CreditRulesTest : public SubPostingTest {
  protected:
    // 500 lent to 小张 out of the bank card.
    qint64 lend(const QString& amount = QStringLiteral("500")) {
        const qint64 id =
            rules().saveNew(kCredit, parentPosting("2026-10-01", kBorrower, amount, kBank, kMum));
        newRows();
        return id;
    }
};

}  // namespace

TEST_F(CreditRulesTest, LendingCollectingAndDeletingMirrorTheDebt) {
    const qint64 id = rules().saveNew(
        kCredit, parentPosting("2026-10-01", kBorrower, "500", kBank, kMum, "借给"));
    EXPECT_EQ(balance(kBank), 500);
    EXPECT_EQ(
        newRows(),
        (Rows{row("2026-10-01", "债权", "借给", 0, 500, kBank, 500, kMum, "Debt", id, "新增")}));

    const qint64 got = subs().settle(kCredit, id, entry("2026-11-05", "200", kCash, kDad, "还了"));
    EXPECT_EQ(figures(kCredit, id), std::pair(300.0, 200.0));
    EXPECT_EQ(balance(kCash), 300);
    EXPECT_EQ(
        newRows(),
        (Rows{row("2026-11-05", "收债", "还了", 200, 0, kCash, 300, kDad, "DebtR", got, "新增")}));

    rules().saveEdit(kCredit, id,
                     parentPosting("2026-10-01", kBorrower, "350", kBank, kMum, "借给"));
    EXPECT_EQ(figures(kCredit, id), std::pair(350.0, 200.0));
    EXPECT_EQ(newRows(),
              (Rows{
                  row("2026-10-01", "债权", "借给", 300, 0, kBank, 800, kMum, "Debt", id, "恢复"),
                  row("2026-10-01", "债权", "借给", 0, 350, kBank, 450, kMum, "Debt", id, "修改"),
              }));
    EXPECT_EQ(refusal([&] { rules().remove(kCredit, id); }),
              QStringLiteral("该债权有 已收金额，不能删除；如要删除，请先删除 收债记录。"));

    // A collection of last month is deleted with today's date.
    subs().removeSettlement(kCredit, got);
    EXPECT_EQ(figures(kCredit, id), std::pair(550.0, 0.0));
    EXPECT_EQ(balance(kCash), 100);
    EXPECT_EQ(
        newRows(),
        (Rows{row(kToday, "收债", "收债 删除", 0, 200, kCash, 100, kDad, "DebtR", got, "删除")}));
    expectConsistent();

    rules().remove(kCredit, id);
    EXPECT_EQ(balance(kBank), 1000);
    EXPECT_EQ(
        newRows(),
        (Rows{row("2026-10-01", "债权", "借给", 550, 0, kBank, 1000, kMum, "Debt", id, "删除")}));
    expectConsistent();
}

TEST_F(CreditRulesTest, CollectionChecksComeInTheDialogsOrder) {
    const qint64 id = lend("300");
    const auto check = [&](const Entry& e) {
        return subs().validateSettlement(kCredit, e, 300).message;
    };
    EXPECT_EQ(check(entry("2026-12-01", " ", "", "")), QStringLiteral("收债金额 不能为空！"));
    EXPECT_EQ(check(entry("2026-12-01", "3.0.0", "", "")),
              QStringLiteral("收债金额 不是有效的数字！请重新录入！"));
    EXPECT_EQ(check(entry("2026-12-01", "300.5", "", "")),
              QStringLiteral("收债金额 不能大于债权金额！"));
    EXPECT_EQ(check(entry("2026-12-01", ".00", "", "")),
              QStringLiteral("收债金额 不能小于或等于零！"));
    EXPECT_EQ(check(entry("2026-12-01", "300", "", "")), QStringLiteral("请选择 账户名称！"));
    EXPECT_EQ(check(entry("2026-12-01", "300", kCash, "")), QStringLiteral("请选择 家庭成员！"));
    EXPECT_EQ(check(entry("2026-12-01", "300", kCash, kDad)), QString());
    EXPECT_EQ(refusal([&] { subs().settle(kCredit, id, entry("2026-12-01", "0", kCash, kDad)); }),
              QStringLiteral("收债金额 不能小于或等于零！"));
    EXPECT_TRUE(newRows().empty());
}

TEST_F(CreditRulesTest, IncreaseLowersTheAccountDecreaseRaisesItAndStaysWithinTheCredit) {
    const qint64 id = lend();
    const qint64 up = subs().change(kCredit, Change::Increase, id,
                                    entry("2026-11-01", "100", kCash, kDad, "再借"));
    EXPECT_EQ(figures(kCredit, id), std::pair(600.0, 0.0));
    EXPECT_EQ(refusal([&] {
                  subs().change(kCredit, Change::Decrease, id,
                                entry("2026-11-02", "600.01", kCash, kDad));
              }),
              QStringLiteral("减少金额 不能大于债权金额！"));
    const qint64 down = subs().change(kCredit, Change::Decrease, id,
                                      entry("2026-11-02", "600", kBank, kMum, "抵扣"));
    EXPECT_EQ(figures(kCredit, id), std::pair(0.0, 0.0));
    EXPECT_EQ(
        newRows(),
        (Rows{
            row("2026-11-01", "增加债权", "再借", 0, 100, kCash, 0, kDad, "DList", up, "新增"),
            row("2026-11-02", "减少债权", "抵扣", 600, 0, kBank, 1100, kMum, "DList", down, "新增"),
        }));
    EXPECT_EQ(rowsOf("DList", "theMoney=-600 AND DID=" + QString::number(id)), 1);
    EXPECT_EQ(listed(kCredit, PostingKind::ListFilter::Settled), (std::vector<qint64>{id}));
    expectConsistent();
}

TEST_F(CreditRulesTest, AWriteOffSettlesTheCreditWithoutMovingMoney) {
    const qint64 id = lend();
    subs().settle(kCredit, id, entry("2026-11-05", "200", kCash, kDad));
    newRows();
    using F = PostingKind::ListFilter;
    EXPECT_EQ(listed(kCredit, F::Outstanding), (std::vector<qint64>{id}));
    EXPECT_EQ(kCredit.filterItems[0].text, QStringLiteral("未收债权 &D"));
    EXPECT_EQ(kCredit.filterItems[1].text, QStringLiteral("已收债权 &L"));
    EXPECT_EQ(kCredit.filterItems[2].text, QStringLiteral("全部债权 &A"));

    subs().writeOff(id);
    EXPECT_EQ(figures(kCredit, id), std::pair(0.0, 200.0));
    EXPECT_EQ(balance(kBank), 500);
    EXPECT_EQ(balance(kCash), 300);
    EXPECT_TRUE(newRows().empty());
    EXPECT_EQ(listed(kCredit, F::Settled), (std::vector<qint64>{id}));
    EXPECT_TRUE(listed(kCredit, F::Outstanding).empty());
    EXPECT_FALSE(SubPostingRules::canSettle(figures(kCredit, id).first));
    EXPECT_EQ(refusal([&] { subs().writeOff(id + 1); }), PostingRules::kNotFound);
    // What the write-off dropped is no difference; the collected amount still has to agree.
    expectConsistent();
    f.db().exec(QStringLiteral("UPDATE Debt SET RMoney=201"));
    EXPECT_EQ(
        BookCheck(f.dm()).check(),
        QStringList{
            QStringLiteral("债权「小张」（ID %1）：已收金额 201，按收债记录重算应为 200").arg(id)});
}
