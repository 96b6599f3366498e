#include <gtest/gtest.h>

#include "bookkeeping/SubPostingFixture.h"

using namespace cw;
using namespace cw::test;

namespace {

const PostingKind& kDebt = PostingKind::debt();
const QString kLender = QStringLiteral("老李");

class DebtRulesTest : public SubPostingTest {
  protected:
    // A debt of 1000 from 老李 into the bank card.
    qint64 borrow(const QString& amount = QStringLiteral("1000")) {
        const qint64 id = rules().saveNew(
            kDebt, parentPosting("2026-11-01", kLender, amount, kBank, kMum, "买车"));
        newRows();
        return id;
    }
};

}  // namespace

// --- the debt itself -------------------------------------------------------------------------

TEST_F(DebtRulesTest, ADebtRaisesItsAccountAndIsChangedAndDeletedOnItsOutstandingAmount) {
    const qint64 id =
        rules().saveNew(kDebt, parentPosting("2026-11-01", "新朋友", "1000", kBank, kMum, "买车"));
    EXPECT_EQ(balance(kBank), 2000);
    EXPECT_EQ(figures(kDebt, id), std::pair(1000.0, 0.0));
    EXPECT_EQ(newRows(), (Rows{row("2026-11-01", "债务", "买车", 1000, 0, kBank, 2000, kMum,
                                   "Borrow", id, "新增")}));
    // The creditor becomes an enabled contact; nothing counts the use.
    EXPECT_EQ(rowsOf("PD", "PName='新朋友' AND theState='启用' AND theCount=0"), 1);
    EXPECT_EQ(rowsOf("SAccount", "AName='工行卡' AND theCount=0"), 1);

    // Repaid in part, then changed: only what is outstanding is reversed and booked again.
    subs().settle(kDebt, id, entry("2026-11-15", "400", kBank, kMum));
    newRows();
    rules().saveEdit(kDebt, id, parentPosting("2026-11-02", "新朋友", "700", kCash, kDad, "改"));
    EXPECT_EQ(figures(kDebt, id), std::pair(700.0, 400.0));
    EXPECT_EQ(balance(kBank), 1000);
    EXPECT_EQ(balance(kCash), 800);
    EXPECT_EQ(
        newRows(),
        (Rows{
            row("2026-11-01", "债务", "买车", 0, 600, kBank, 1000, kMum, "Borrow", id, "恢复"),
            row("2026-11-02", "债务", "改", 700, 0, kCash, 800, kDad, "Borrow", id, "修改"),
        }));
    expectConsistent();
}

TEST_F(DebtRulesTest, ADebtWithRepaymentsIsNotDeletedOneWithOnlyChangesIs) {
    const qint64 id = borrow();
    const qint64 repaid = subs().settle(kDebt, id, entry("2026-11-15", "1", kBank, kMum));
    newRows();
    EXPECT_EQ(refusal([&] { rules().remove(kDebt, id); }),
              QStringLiteral("该债务有 已还金额，不能删除；如要删除，请先删除 还债记录。"));
    EXPECT_TRUE(newRows().empty());

    subs().removeSettlement(kDebt, repaid);
    subs().change(kDebt, Change::Increase, id, entry("2026-11-20", "250", kCash, kDad));
    newRows();
    rules().remove(kDebt, id);
    // The whole current amount goes back out of the debt's own account, though the increase
    // came in on another; the record stays.
    EXPECT_EQ(balance(kBank), 750);
    EXPECT_EQ(balance(kCash), 350);
    EXPECT_EQ(
        newRows(),
        (Rows{row("2026-11-01", "债务", "买车", 0, 1250, kBank, 750, kMum, "Borrow", id, "删除")}));
    EXPECT_EQ(rowsOf("BList"), 1);
    expectConsistent();
}

// --- repayments ------------------------------------------------------------------------------

TEST_F(DebtRulesTest, RepaymentChecksComeInTheDialogsOrder) {
    const qint64 id = borrow("600");
    const auto check = [&](const Entry& e) {
        const SubPostingRules::Verdict v = subs().validateSettlement(kDebt, e, 600);
        return std::pair(v.message, v.focus);
    };
    using P = std::pair<QString, SubField>;
    EXPECT_EQ(check(entry("2026-11-31", "", "", "")),
              P("日期 不是有效的日期！请重新选择！", SubField::Date));
    EXPECT_EQ(check(entry("2026-12-01", "", "", "")), P("还债金额 不能为空！", SubField::Amount));
    EXPECT_EQ(check(entry("2026-12-01", "1.2.3", "", "")),
              P("还债金额 不是有效的数字！请重新录入！", SubField::Amount));
    EXPECT_EQ(check(entry("2026-12-01", "-5", "", "")),
              P("还债金额 不能小于或等于零！", SubField::Amount));
    EXPECT_EQ(check(entry("2026-12-01", "600.01", "", "")),
              P("还债金额 不能大于债务金额！", SubField::Amount));
    EXPECT_EQ(check(entry("2026-12-01", "0", "", "")),
              P("还债金额 不能小于或等于零！", SubField::Amount));
    // Decided in cents: 0.004 is nothing, 600.004 is the whole debt.
    EXPECT_EQ(check(entry("2026-12-01", "0.004", "", "")),
              P("还债金额 不能小于或等于零！", SubField::Amount));
    EXPECT_EQ(check(entry("2026-12-01", "600.004", "", "")),
              P("请选择 帐户名称！", SubField::Account));
    EXPECT_EQ(check(entry("2026-12-01", "600", "无此账户", kMum)),
              P("请选择 帐户名称！", SubField::Account));
    EXPECT_EQ(check(entry("2026-12-01", "600", kBank, "")),
              P("请选择 家庭成员！", SubField::Member));
    EXPECT_TRUE(
        subs().validateSettlement(kDebt, entry("2026-12-01", "600", kBank, kMum), 600).ok());

    // A disabled account is not on the pick-list.
    f.db().exec(QStringLiteral("UPDATE SAccount SET theState='停用' WHERE AName=?"), kCash);
    EXPECT_EQ(check(entry("2026-12-01", "1", kCash, kDad)),
              P("请选择 帐户名称！", SubField::Account));

    // The operation checks against the stored debt, whatever the dialog held.
    EXPECT_EQ(refusal([&] { subs().settle(kDebt, id, entry("2026-12-01", "700", kBank, kMum)); }),
              QStringLiteral("还债金额 不能大于债务金额！"));
    EXPECT_EQ(refusal([&] { subs().settle(kDebt, id + 9, entry("2026-12-01", "1", kBank, kMum)); }),
              PostingRules::kNotFound);
    try {
        subs().settle(kDebt, id, entry("2026-12-01", "1", kBank, "无此人"));
        ADD_FAILURE() << "a member the book lacks was taken";
    } catch (const SubPostingRules::Refused& e) {
        EXPECT_EQ(e.field(), SubField::Member);
    }
    EXPECT_TRUE(newRows().empty());
    EXPECT_EQ(rowsOf("BorrowR"), 0);
    EXPECT_EQ(figures(kDebt, id), std::pair(600.0, 0.0));
}

TEST_F(DebtRulesTest, RepayingMovesTheAmountToRepaidAndDeletingItRestoresEverything) {
    const qint64 id = borrow();
    const qint64 first =
        subs().settle(kDebt, id, entry("2026-11-15", "400", kCash, kDad, "先还一部分"));
    EXPECT_EQ(figures(kDebt, id), std::pair(600.0, 400.0));
    EXPECT_EQ(balance(kCash), -300);
    EXPECT_EQ(newRows(), (Rows{row("2026-11-15", "还债", "先还一部分", 0, 400, kCash, -300, kDad,
                                   "BorrowR", first, "新增")}));
    const std::optional<SubPostingRules::Settlement> stored = subs().settlement(kDebt, first);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->parentId, id);
    EXPECT_EQ(stored->amount, 400);
    EXPECT_EQ(stored->remark, QStringLiteral("先还一部分"));

    // The dialog's preset repays the rest and settles the debt.
    const SubPostingRules::Parent p = *subs().parent(kDebt, id);
    const Entry preset = subs().settlementPreset(kDebt, p);
    EXPECT_EQ(preset.date, kToday);
    EXPECT_EQ(preset.amount, QStringLiteral("600"));
    EXPECT_EQ(preset.account, kBank);
    EXPECT_EQ(preset.member, kMum);
    const qint64 rest = subs().settle(kDebt, id, preset);
    EXPECT_GT(rest, first);
    EXPECT_EQ(figures(kDebt, id), std::pair(0.0, 1000.0));
    EXPECT_FALSE(SubPostingRules::canSettle(0));
    EXPECT_EQ(newRows(),
              (Rows{row(kToday, "还债", "", 0, 600, kBank, 1400, kMum, "BorrowR", rest, "新增")}));
    EXPECT_EQ(subs().settlements(kDebt, id).size(), 2u);
    expectConsistent();

    // Deleting both, the older one first: back to the debt as borrowed, rows dated today.
    subs().removeSettlement(kDebt, first);
    subs().removeSettlement(kDebt, rest);
    EXPECT_EQ(figures(kDebt, id), std::pair(1000.0, 0.0));
    EXPECT_EQ(balance(kCash), 100);
    EXPECT_EQ(balance(kBank), 2000);
    EXPECT_EQ(
        newRows(),
        (Rows{
            row(kToday, "还债", "还债 删除", 400, 0, kCash, 100, kDad, "BorrowR", first, "删除"),
            row(kToday, "还债", "还债 删除", 600, 0, kBank, 2000, kMum, "BorrowR", rest, "删除"),
        }));
    EXPECT_EQ(rowsOf("BorrowR"), 0);
    EXPECT_EQ(refusal([&] { subs().removeSettlement(kDebt, first); }), PostingRules::kNotFound);
    expectConsistent();
}

TEST_F(DebtRulesTest, SettledDebtsMoveBetweenTheFilters) {
    const qint64 a = borrow("100");
    const qint64 b = borrow("50");
    using F = PostingKind::ListFilter;
    ASSERT_EQ(kDebt.filterItems.size(), 3u);
    EXPECT_EQ(kDebt.filterItems[0].text, QStringLiteral("未还债务 &D"));
    EXPECT_EQ(kDebt.filterItems[1].text, QStringLiteral("已还债务 &L"));
    EXPECT_EQ(kDebt.filterItems[2].text, QStringLiteral("全部债务 &A"));
    EXPECT_EQ(kDebt.filterItems[1].which, F::Settled);
    EXPECT_EQ(listed(kDebt, F::Outstanding), (std::vector<qint64>{b, a}));
    EXPECT_TRUE(listed(kDebt, F::Settled).empty());

    const qint64 r = subs().settle(kDebt, a, entry("2026-12-01", "99.995", kBank, kMum));
    EXPECT_EQ(listed(kDebt, F::Outstanding), (std::vector<qint64>{b}));
    EXPECT_EQ(listed(kDebt, F::Settled), (std::vector<qint64>{a}));
    subs().removeSettlement(kDebt, r);
    EXPECT_EQ(listed(kDebt, F::Outstanding), (std::vector<qint64>{b, a}));

    // The flag decides the filter at open.
    f.state().myD_B = true;
    EXPECT_EQ(kDebt.atOpen(f.state(), "2026-12").condition, QStringLiteral(" AND (BMoney>0)"));
    f.state().myD_B = false;
    EXPECT_TRUE(kDebt.atOpen(f.state(), "2026-12").condition.isEmpty());
    EXPECT_EQ(listed(kDebt, F::Everything).size(), 2u);
}

// --- increases and decreases ------------------------------------------------------------------

TEST_F(DebtRulesTest, IncreaseAndDecreaseMoveTheAmountOwedAndTheirAccount) {
    const qint64 id = borrow();
    const qint64 up =
        subs().change(kDebt, Change::Increase, id, entry("2026-11-20", "200.5", kCash, kDad, "加"));
    EXPECT_EQ(figures(kDebt, id), std::pair(1200.5, 0.0));
    EXPECT_EQ(balance(kCash), 300.5);
    const qint64 down =
        subs().change(kDebt, Change::Decrease, id, entry("2026-11-21", "0.5", kBank, kMum, " 减 "));
    EXPECT_EQ(figures(kDebt, id), std::pair(1200.0, 0.0));
    EXPECT_EQ(balance(kBank), 1999.5);
    EXPECT_EQ(
        newRows(),
        (Rows{
            row("2026-11-20", "增加债务", "加", 200.5, 0, kCash, 300.5, kDad, "BList", up, "新增"),
            row("2026-11-21", "减少债务", " 减 ", 0, 0.5, kBank, 1999.5, kMum, "BList", down,
                "新增"),
        }));
    const Query records =
        f.db().query(QStringLiteral("SELECT BID, theMoney, BName, Remark FROM BList ORDER BY ID"));
    ASSERT_EQ(records.recordCount(), 2);
    EXPECT_EQ(records.integer("BID"), id);
    EXPECT_EQ(records.number("theMoney"), 200.5);
    EXPECT_EQ(records.text("BName"), kBook);

    // An amount of 0 is a record like any other.
    subs().change(kDebt, Change::Increase, id, entry("2026-11-22", "0", kCash, kDad));
    EXPECT_EQ(newRows().size(), 1u);
    expectConsistent();
}

TEST_F(DebtRulesTest, ChangeChecksComeInTheDialogsOrderAndADecreaseStaysWithinTheDebt) {
    const qint64 id = borrow("300");
    const auto check = [&](Change change, const Entry& e) {
        const SubPostingRules::Verdict v = subs().validateChange(kDebt, change, e, 300);
        return std::pair(v.message, v.focus);
    };
    using P = std::pair<QString, SubField>;
    const Change up = Change::Increase, down = Change::Decrease;
    EXPECT_EQ(check(up, entry("2026-12-01", "", "", "")),
              P("账户名称 不能为空！请选择 账户名称！", SubField::Account));
    EXPECT_EQ(check(up, entry("2026-12-01", "", kCash, "")),
              P("金额 不能为空！请录入 金额！", SubField::Amount));
    EXPECT_EQ(check(up, entry("2026-12-01", "1..2", kCash, "")),
              P("家庭成员 不能为空！请选择 家庭成员！", SubField::Member));
    EXPECT_EQ(check(up, entry("2026-12-01", "1..2", kCash, kDad)),
              P("金额 不是有效的数字！请重新录入！", SubField::Amount));
    // The field takes no sign: the dialog's choice says which way.
    EXPECT_EQ(check(down, entry("2026-12-01", "-5", kCash, kDad)),
              P("金额 不是有效的数字！请重新录入！", SubField::Amount));
    EXPECT_TRUE(
        subs().validateChange(kDebt, up, entry("2026-12-01", "9999", kCash, kDad), 300).ok());
    EXPECT_EQ(check(down, entry("2026-12-01", "300.01", kCash, kDad)),
              P("减少金额 不能大于债务金额！", SubField::Amount));
    EXPECT_TRUE(
        subs().validateChange(kDebt, down, entry("2026-12-01", "300", kCash, kDad), 300).ok());

    EXPECT_EQ(refusal([&] {
                  subs().change(kDebt, down, id, entry("2026-12-01", "300.01", kCash, kDad));
              }),
              QStringLiteral("减少金额 不能大于债务金额！"));
    EXPECT_TRUE(newRows().empty());
    EXPECT_EQ(rowsOf("BList"), 0);
    // Lowering it to exactly 0 settles it.
    subs().change(kDebt, down, id, entry("2026-12-01", "300", kCash, kDad));
    EXPECT_EQ(listed(kDebt, PostingKind::ListFilter::Settled), (std::vector<qint64>{id}));
    expectConsistent();
}

// --- atomicity ---------------------------------------------------------------------------------

TEST_F(DebtRulesTest, ASubOperationFailingAtItsJournalRowLeavesNothingWritten) {
    const qint64 id = borrow();
    const qint64 repaid = subs().settle(kDebt, id, entry("2026-11-15", "400", kBank, kMum));
    newRows();
    f.db().execScript(
        "CREATE TRIGGER boom BEFORE INSERT ON UList BEGIN SELECT RAISE(ABORT, 'boom'); END");
    EXPECT_ANY_THROW(subs().settle(kDebt, id, entry("2026-11-16", "1", kBank, kMum)));
    EXPECT_ANY_THROW(subs().removeSettlement(kDebt, repaid));
    EXPECT_ANY_THROW(
        subs().change(kDebt, Change::Decrease, id, entry("2026-11-16", "1", kBank, kMum)));
    f.db().execScript("DROP TRIGGER boom");
    EXPECT_EQ(figures(kDebt, id), std::pair(600.0, 400.0));
    EXPECT_EQ(balance(kBank), 1600);
    EXPECT_EQ(rowsOf("BorrowR"), 1);
    EXPECT_EQ(rowsOf("BList"), 0);
    EXPECT_TRUE(newRows().empty());
    expectConsistent();
}

// --- the three descriptors ----------------------------------------------------------------------

TEST(DebtCreditInvestmentKinds, SaveChecksComeInEachScreensOrder) {
    using Mode = PostingRules::Mode;
    // Each step fills one more field; the message is the first check still failing.
    const auto walk = [](const PostingKind& kind, Mode mode, const QStringList& messages) {
        Posting p{"2026-12-01", "", "", "", "", "", ""};
        const std::vector<QString Posting::*> fields{&Posting::name, &Posting::amount,
                                                     &Posting::amount, &Posting::account,
                                                     &Posting::member};
        const QStringList values{"某某", "1,000", "-1000.5", "现金", "爸爸"};
        for (size_t i = 0; i < fields.size(); ++i) {
            EXPECT_EQ(PostingRules::validate(kind, p, mode).message, messages[qsizetype(i)])
                << kind.cliName.toStdString() << " step " << i;
            p.*fields[i] = values[qsizetype(i)];
        }
        EXPECT_TRUE(PostingRules::validate(kind, p, mode).ok());
    };
    walk(PostingKind::debt(), Mode::New,
         {"债权人 不能为空！请重新录入！", "金额 不能为空！请重新录入！",
          "债务金额 不是有效的数字！请重新录入！", "请选择 账户名称！", "请选择 家庭成员！"});
    walk(PostingKind::debt(), Mode::Edit,
         {"债权人 不能为空！请重新录入！", "债务金额 不能为空！请重新录入！",
          "债务金额 不是有效的数字！请重新录入！", "请选择 账户名称！", "请选择 家庭成员！"});
    walk(PostingKind::credit(), Mode::New,
         {"债务人 不能为空！请重新录入！", "债权金额 不能为空！请重新录入！",
          "债权金额 不是有效的数字！请重新录入！", "请选择 账户名称！", "请选择 家庭成员！"});
    walk(PostingKind::investment(), Mode::Edit,
         {"请选择 投资类别！", "投资金额 不能为空！请重新录入！",
          "投资金额 不是有效的数字！请重新录入！", "请选择 账户名称！", "请选择 家庭成员！"});
}

TEST(DebtCreditInvestmentKinds, EachOpensOnItsOwnFlagAndRemindsUnderItsWord) {
    GlobalState state;
    state.myD_D = true;
    EXPECT_EQ(PostingKind::credit().atOpen(state, "2026-12").condition, " AND (DMoney>0)");
    EXPECT_TRUE(PostingKind::investment().atOpen(state, "2026-12").condition.isEmpty());
    state.myD_T = true;
    EXPECT_EQ(PostingKind::investment().atOpen(state, "2026-12").condition, " AND (TMoney>0)");
    EXPECT_EQ(PostingKind::debt().reminderWord + PostingKind::credit().reminderWord +
                  PostingKind::investment().reminderWord,
              QStringLiteral("债务债权投资"));
}
