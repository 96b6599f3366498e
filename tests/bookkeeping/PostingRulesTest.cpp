#include <gtest/gtest.h>

#include "bookkeeping/BookkeepingFixture.h"
#include "storage/DbError.h"

using namespace cw;
using cw::test::JournalRow;
using Posting = PostingRules::Posting;
using Mode = PostingRules::Mode;

namespace {

const QString kBook = QStringLiteral("我家账簿");
const QString kCash = QStringLiteral("现金");
const QString kBank = QStringLiteral("工行卡");
const QString kDad = QStringLiteral("爸爸");
const QString kMum = QStringLiteral("妈妈");

const PostingKind& kIncome = PostingKind::income();
const PostingKind& kExpense = PostingKind::expense();
const PostingKind& kTransfer = PostingKind::transfer();

// A journal row of the open book.
JournalRow row(const QString& date, const QString& type, const QString& remark, double in,
               double out, const QString& account, double after, const QString& member,
               const QString& table, qint64 id, const QString& event) {
    return {date, type, remark, in, out, account, after, member, kBook, table, id, event};
}

class PostingRulesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        f.addBook(kBook);
        f.dm().NewFamily(kDad);
        f.dm().NewFamily(kMum);
        test::openAccount(f, kCash, 100, kDad);
        test::openAccount(f, kBank, 1000, kMum);
        f.dm().mySaveNew(QStringLiteral("InD"), QStringLiteral("IName"), QStringLiteral("工资"));
        f.dm().mySaveNew(QStringLiteral("OutD"), QStringLiteral("OName"), QStringLiteral("餐饮"));
        mark_ = test::lastJournalId(f.db());
    }

    PostingRules rules() { return PostingRules(f.dm()); }

    // The journal rows written since the last call.
    std::vector<JournalRow> newRows() {
        std::vector<JournalRow> rows = test::journalAfter(f.db(), mark_);
        mark_ = test::lastJournalId(f.db());
        return rows;
    }

    double balance(const QString& account) { return f.dm().balance(account); }

    qint64 usage(const QString& table, const QString& column, const QString& name) {
        const Query q = f.db().query(
            QStringLiteral("SELECT theCount FROM %1 WHERE %2=? AND BName=?").arg(table, column),
            name, f.state().myBName);
        return q.isEmpty() ? -1 : q.integer(QStringLiteral("theCount"));
    }

    void expectConsistent() { EXPECT_EQ(BookCheck(f.dm()).check(), QStringList()); }

    test::TempDataFile f;
    qint64 mark_ = 0;
};

Posting income(const QString& date, const QString& category, const QString& amount,
               const QString& account, const QString& member, const QString& remark = QString()) {
    return {date, category, amount, account, QString(), member, remark};
}

Posting transfer(const QString& date, const QString& from, const QString& to, const QString& amount,
                 const QString& member, const QString& remark = QString()) {
    return {date, QString(), amount, from, to, member, remark};
}

}  // namespace

// --- income, expense, transfer: new, change, delete ---------------------------------------

TEST_F(PostingRulesTest, IncomeIsBookedChangedOntoAnotherAccountAndDateAndDeleted) {
    const qint64 id = rules().saveNew(
        kIncome, income("2026-12-01", "工资", "5000.5", kBank, kDad, QStringLiteral("十二月")));
    EXPECT_EQ(balance(kBank), 6000.5);
    EXPECT_EQ(usage("InD", "IName", "工资"), 1);
    EXPECT_EQ(usage("SAccount", "AName", kBank), 1);
    EXPECT_EQ(newRows(),
              (std::vector<JournalRow>{row("2026-12-01", "工资", "十二月", 5000.5, 0, kBank, 6000.5,
                                           kDad, "InTable", id, "新增")}));
    const std::optional<Posting> stored = rules().load(kIncome, id);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->amount, QStringLiteral("5000.5"));
    EXPECT_EQ(stored->name, QStringLiteral("工资"));
    expectConsistent();

    rules().saveEdit(kIncome, id, income("2026-11-30", "奖金", "200", kCash, kMum, "改"));
    EXPECT_EQ(balance(kBank), 1000);
    EXPECT_EQ(balance(kCash), 300);
    EXPECT_EQ(newRows(),
              (std::vector<JournalRow>{
                  row("2026-12-01", "工资", "十二月", 0, 5000.5, kBank, 1000, kDad, "InTable", id,
                      "恢复"),
                  row("2026-11-30", "奖金", "改", 200, 0, kCash, 300, kMum, "InTable", id, "修改"),
              }));
    // A change raises no count; the category typed on the change exists now, unused.
    EXPECT_EQ(usage("InD", "IName", "工资"), 1);
    EXPECT_EQ(usage("InD", "IName", "奖金"), 0);
    EXPECT_EQ(usage("SAccount", "AName", kCash), 0);
    expectConsistent();

    rules().remove(kIncome, id);
    EXPECT_EQ(balance(kCash), 100);
    EXPECT_EQ(newRows(), (std::vector<JournalRow>{row("2026-11-30", "奖金", "改", 0, 200, kCash,
                                                      100, kMum, "InTable", id, "删除")}));
    EXPECT_FALSE(rules().load(kIncome, id));
    expectConsistent();
}

TEST_F(PostingRulesTest, ExpenseIsTheMirrorOfIncome) {
    const qint64 id =
        rules().saveNew(kExpense, income("2026-12-02", "餐饮", "35.8", kCash, kDad, "午饭"));
    EXPECT_EQ(balance(kCash), 64.2);
    EXPECT_EQ(usage("OutD", "OName", "餐饮"), 1);
    EXPECT_EQ(usage("SAccount", "AName", kCash), 1);
    EXPECT_EQ(newRows(), (std::vector<JournalRow>{row("2026-12-02", "餐饮", "午饭", 0, 35.8, kCash,
                                                      64.2, kDad, "OutTable", id, "新增")}));

    rules().saveEdit(kExpense, id, income("2026-12-02", "餐饮", "40", kCash, kDad, "午饭"));
    EXPECT_EQ(balance(kCash), 60);
    EXPECT_EQ(
        newRows(),
        (std::vector<JournalRow>{
            row("2026-12-02", "餐饮", "午饭", 35.8, 0, kCash, 100, kDad, "OutTable", id, "恢复"),
            row("2026-12-02", "餐饮", "午饭", 0, 40, kCash, 60, kDad, "OutTable", id, "修改"),
        }));

    rules().remove(kExpense, id);
    EXPECT_EQ(balance(kCash), 100);
    EXPECT_EQ(newRows(), (std::vector<JournalRow>{row("2026-12-02", "餐饮", "午饭", 40, 0, kCash,
                                                      100, kDad, "OutTable", id, "删除")}));
    EXPECT_EQ(f.count("OutTable"), 0);
    expectConsistent();
}

TEST_F(PostingRulesTest, TransferMovesBothAccountsSourceRowFirst) {
    const qint64 id =
        rules().saveNew(kTransfer, transfer("2026-12-03", kBank, kCash, "300", kDad, "取现"));
    const QString remark = QStringLiteral("取现 工行卡->现金");
    EXPECT_EQ(rules().load(kTransfer, id)->remark, remark);
    EXPECT_EQ(balance(kBank), 700);
    EXPECT_EQ(balance(kCash), 400);
    EXPECT_EQ(
        newRows(),
        (std::vector<JournalRow>{
            row("2026-12-03", "转账", remark, 0, 300, kBank, 700, kDad, "ChangeT", id, "新增"),
            row("2026-12-03", "转账", remark, 300, 0, kCash, 400, kDad, "ChangeT", id, "新增"),
        }));
    // Transfers raise no usage count.
    EXPECT_EQ(usage("SAccount", "AName", kBank), 0);

    // Onto an account the book lacks; the remark is stored as given, not extended again.
    Posting changed = *rules().load(kTransfer, id);
    changed.target = QStringLiteral("支付宝");
    changed.amount = QStringLiteral("50");
    changed.date = QStringLiteral("2026-12-04");
    rules().saveEdit(kTransfer, id, changed);
    EXPECT_EQ(rules().load(kTransfer, id)->remark, remark);
    EXPECT_EQ(balance(kBank), 950);
    EXPECT_EQ(balance(kCash), 100);
    EXPECT_EQ(balance("支付宝"), 50);
    EXPECT_EQ(
        newRows(),
        (std::vector<JournalRow>{
            row("2026-12-03", "转账", remark, 300, 0, kBank, 1000, kDad, "ChangeT", id, "恢复"),
            row("2026-12-03", "转账", remark, 0, 300, kCash, 100, kDad, "ChangeT", id, "恢复"),
            row("2026-12-04", "转账", remark, 0, 50, kBank, 950, kDad, "ChangeT", id, "修改"),
            row("2026-12-04", "转账", remark, 50, 0, "支付宝", 50, kDad, "ChangeT", id, "修改"),
        }));
    expectConsistent();

    rules().remove(kTransfer, id);
    EXPECT_EQ(balance(kBank), 1000);
    EXPECT_EQ(balance("支付宝"), 0);
    EXPECT_EQ(
        newRows(),
        (std::vector<JournalRow>{
            row("2026-12-04", "转账", remark, 50, 0, kBank, 1000, kDad, "ChangeT", id, "删除"),
            row("2026-12-04", "转账", remark, 0, 50, "支付宝", 0, kDad, "ChangeT", id, "删除"),
        }));
    expectConsistent();
}

TEST_F(PostingRulesTest, SavingAChangeWithoutChangesWritesTheReversalAndTheSameValues) {
    const qint64 in = rules().saveNew(kIncome, income("2026-12-01", "工资", "10", kCash, kDad));
    const qint64 tr = rules().saveNew(kTransfer, transfer("2026-12-01", kBank, kCash, "5", kDad));
    newRows();

    rules().saveEdit(kIncome, in, *rules().load(kIncome, in));
    EXPECT_EQ(newRows(),
              (std::vector<JournalRow>{
                  row("2026-12-01", "工资", "", 0, 10, kCash, 105, kDad, "InTable", in, "恢复"),
                  row("2026-12-01", "工资", "", 10, 0, kCash, 115, kDad, "InTable", in, "修改"),
              }));
    rules().saveEdit(kTransfer, tr, *rules().load(kTransfer, tr));
    EXPECT_EQ(newRows().size(), 4u);
    EXPECT_EQ(balance(kCash), 115);
    EXPECT_EQ(balance(kBank), 995);
    EXPECT_EQ(rules().load(kTransfer, tr)->remark, QStringLiteral(" 工行卡->现金"));
    EXPECT_EQ(usage("InD", "IName", "工资"), 1);
    expectConsistent();
}

TEST_F(PostingRulesTest, AChangeReversesTheStoredValuesNotTheCallersIdea) {
    const qint64 id = rules().saveNew(kIncome, income("2026-12-01", "工资", "10", kCash, kDad));
    // Another writer changed the row meanwhile (and its balance with it).
    f.db().exec(QStringLiteral("UPDATE InTable SET IMoney=70, AName=? WHERE ID=?"), kBank, id);
    f.dm().AccountDown(10, kCash);
    f.dm().AccountUp(70, kBank);
    newRows();
    rules().saveEdit(kIncome, id, income("2026-12-01", "工资", "10", kCash, kDad));
    const std::vector<JournalRow> rows = newRows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0],
              row("2026-12-01", "工资", "", 0, 70, kBank, 1000, kDad, "InTable", id, "恢复"));
    EXPECT_EQ(balance(kCash), 110);
}

// --- delete all ------------------------------------------------------------------------------

TEST_F(PostingRulesTest, DeleteAllTakesTheFilteredListInItsOrder) {
    const qint64 nov = rules().saveNew(kIncome, income("2026-11-20", "工资", "1", kCash, kDad));
    const qint64 dec1 = rules().saveNew(kIncome, income("2026-12-05", "工资", "2", kCash, kDad));
    const qint64 dec2 = rules().saveNew(kIncome, income("2026-12-01", "工资", "4", kCash, kDad));
    newRows();

    // The book's list order "3": newest entry first.
    EXPECT_EQ(rules().removeAll(kIncome, kIncome.monthOf("2026-12")), 2);
    EXPECT_EQ(newRows(),
              (std::vector<JournalRow>{
                  row("2026-12-01", "工资", "", 0, 4, kCash, 103, kDad, "InTable", dec2, "删除"),
                  row("2026-12-05", "工资", "", 0, 2, kCash, 101, kDad, "InTable", dec1, "删除"),
              }));
    EXPECT_TRUE(rules().load(kIncome, nov));
    EXPECT_EQ(rules().removeAll(kIncome, kIncome.monthOf("2026-12")), 0);
    EXPECT_TRUE(newRows().empty());

    // Order "2": by date.
    const qint64 e1 = rules().saveNew(kExpense, income("2026-10-09", "餐饮", "3", kCash, kDad));
    const qint64 e2 = rules().saveNew(kExpense, income("2026-10-01", "餐饮", "5", kCash, kDad));
    rules().saveNew(kExpense, income("2026-12-01", "餐饮", "7", kCash, kDad));
    newRows();
    f.state().myJZPX = QStringLiteral("2");
    EXPECT_EQ(rules().removeAll(kExpense, kExpense.before("2026-12")), 2);
    const std::vector<JournalRow> rows = newRows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].theID, e2);
    EXPECT_EQ(rows[1].theID, e1);
    EXPECT_EQ(f.count("OutTable"), 1);

    rules().saveNew(kTransfer, transfer("2026-12-01", kBank, kCash, "5", kDad));
    rules().saveNew(kTransfer, transfer("2026-09-01", kCash, kBank, "8", kDad));
    newRows();
    EXPECT_EQ(rules().removeAll(kTransfer, kTransfer.everything()), 2);
    EXPECT_EQ(newRows().size(), 4u);
    EXPECT_EQ(f.count("ChangeT"), 0);
    EXPECT_EQ(balance(kCash), 94);
    EXPECT_EQ(balance(kBank), 1000);
    expectConsistent();
}

// --- names, amounts ---------------------------------------------------------------------------

TEST_F(PostingRulesTest, NamesTheBookLacksAreCreatedAndTheNewAccountStartsAtZero) {
    rules().saveNew(kIncome, income("2026-12-01", "彩票", "88", "新钱包", "奶奶"));
    const Query account = f.db().query(
        QStringLiteral("SELECT theType, theState, FName, AMoney, theCount, thePY FROM SAccount "
                       "WHERE AName='新钱包'"));
    ASSERT_EQ(account.recordCount(), 1);
    EXPECT_EQ(account.text("theType"), QStringLiteral("现金"));
    EXPECT_EQ(account.text("theState"), QStringLiteral("启用"));
    EXPECT_EQ(account.text("FName"), QStringLiteral("奶奶"));
    EXPECT_EQ(account.number("AMoney"), 88);
    EXPECT_EQ(account.integer("theCount"), 1);
    EXPECT_EQ(account.text("thePY"), QStringLiteral("XQB"));
    EXPECT_EQ(usage("InD", "IName", "彩票"), 1);
    EXPECT_EQ(f.db().query("SELECT count(*) AS n FROM SFamily WHERE FName='奶奶'").integer("n"), 1);
    EXPECT_EQ(newRows()[0].AMoney, 88);

    rules().saveNew(kTransfer, transfer("2026-12-01", "旧卡", "新卡", "30", "爷爷"));
    EXPECT_EQ(balance("旧卡"), -30);
    EXPECT_EQ(balance("新卡"), 30);
    EXPECT_EQ(f.db()
                  .query("SELECT count(*) AS n FROM SAccount WHERE FName='爷爷' AND AMoney<>0")
                  .integer("n"),
              2);
    expectConsistent();
}

TEST_F(PostingRulesTest, ZeroAndNegativeAmountsAreBookedAsTyped) {
    const qint64 zero = rules().saveNew(kIncome, income("2026-12-01", "工资", "0", kCash, kDad));
    const qint64 minus = rules().saveNew(kIncome, income("2026-12-01", "工资", "-50", kCash, kDad));
    const qint64 refund =
        rules().saveNew(kExpense, income("2026-12-01", "餐饮", "-20.5", kBank, kDad));
    EXPECT_EQ(newRows(),
              (std::vector<JournalRow>{
                  row("2026-12-01", "工资", "", 0, 0, kCash, 100, kDad, "InTable", zero, "新增"),
                  row("2026-12-01", "工资", "", -50, 0, kCash, 50, kDad, "InTable", minus, "新增"),
                  row("2026-12-01", "餐饮", "", 0, -20.5, kBank, 1020.5, kDad, "OutTable", refund,
                      "新增"),
              }));
    // Amounts are kept in cents.
    const qint64 cents =
        rules().saveNew(kIncome, income("2026-12-01", "工资", "+.005", kCash, kDad));
    EXPECT_EQ(rules().load(kIncome, cents)->amount, QStringLiteral("0.01"));
    EXPECT_EQ(balance(kCash), 50.01);
    expectConsistent();
}

TEST_F(PostingRulesTest, NamesAndRemarksWithQuotesAreStoredExactly) {
    const QString category = QStringLiteral("老王's \"奖金\"");
    const QString account = QStringLiteral("O'Neil 卡");
    const QString member = QStringLiteral("小'明");
    const QString remark = QStringLiteral("50% off'; DROP TABLE \"InTable\" --\\");
    const qint64 id =
        rules().saveNew(kIncome, income("2026-12-01", category, "1", account, member, remark));
    const Posting p = *rules().load(kIncome, id);
    EXPECT_EQ(p.name, category);
    EXPECT_EQ(p.account, account);
    EXPECT_EQ(p.member, member);
    EXPECT_EQ(p.remark, remark);
    EXPECT_EQ(newRows(), (std::vector<JournalRow>{row("2026-12-01", category, remark, 1, 0, account,
                                                      1, member, "InTable", id, "新增")}));
    const qint64 tr =
        rules().saveNew(kTransfer, transfer("2026-12-01", account, kCash, "1", member, remark));
    EXPECT_EQ(rules().load(kTransfer, tr)->remark, remark + " O'Neil 卡->现金");
    EXPECT_EQ(balance(account), 0);
    expectConsistent();
}

// --- checks and refusals ------------------------------------------------------------------------

TEST(PostingChecks, EachKindChecksItsFieldsInTheScreensOrder) {
    // Each step fills one more field; the message is the first check still failing.
    struct Step {
        QString Posting::*field;
        QString value;
        QString message;
    };
    const auto walk = [](const PostingKind& kind, Mode mode, const std::vector<Step>& steps) {
        Posting p{"2026-12-01", "", "", "", "", "", ""};
        for (const Step& step : steps) {
            EXPECT_EQ(PostingRules::validate(kind, p, mode).message, step.message)
                << kind.cliName.toStdString();
            p.*step.field = step.value;
        }
        EXPECT_TRUE(PostingRules::validate(kind, p, mode).ok());
        p.date = "2026-02-30";
        EXPECT_EQ(PostingRules::validate(kind, p, mode).message,
                  "日期 不是有效的日期！请重新选择！");
    };
    walk(kIncome, Mode::New,
         {{&Posting::name, "工资", "请选择 收入类别！"},
          {&Posting::amount, "1.2.3", "金额不能为空！请重新录入！"},
          {&Posting::amount, "12", "金额 不是有效的数字！请重新录入！"},
          {&Posting::account, "  ", "请选择 账户名称！"},  // blanks only count as empty
          {&Posting::account, kCash, "请选择 账户名称！"},
          {&Posting::member, kDad, "请选择 家庭成员！"}});
    // The change of an expense words the empty amount with a blank.
    walk(kExpense, Mode::Edit,
         {{&Posting::name, "餐饮", "请选择 支出类别！"},
          {&Posting::amount, "-0.5", "金额 不能为空！请重新录入！"},
          {&Posting::account, kCash, "请选择 账户名称！"},
          {&Posting::member, kDad, "请选择 家庭成员！"}});
    walk(kExpense, Mode::New,
         {{&Posting::name, "餐饮", "请选择 支出类别！"},
          {&Posting::amount, "3", "金额不能为空！请重新录入！"},
          {&Posting::account, kCash, "请选择 账户名称！"},
          {&Posting::member, kDad, "请选择 家庭成员！"}});
    walk(kTransfer, Mode::New,
         {{&Posting::account, kCash, "请选择 原账户！"},
          {&Posting::target, kCash, "请选择 到账账户！"},
          {&Posting::target, kCash + " ", "到账账户 不能与 原账户 一样！请重新选择！"},  // as typed
          {&Posting::amount, "-3", "金额 不能为空！请重新录入！"},
          {&Posting::member, kDad, "请选择 家庭成员！"}});
    const Posting same{"2026-12-01", "", "1", kCash, kCash, kDad, ""};
    EXPECT_EQ(PostingRules::validate(kTransfer, same, Mode::Edit).focus,
              PostingKind::Field::Target);
}

TEST_F(PostingRulesTest, RefusedOperationsWriteNothing) {
    const qint64 id = rules().saveNew(kIncome, income("2026-12-01", "工资", "10", kCash, kDad));
    newRows();
    const auto refusal = [](auto&& operation) {
        try {
            operation();
        } catch (const PostingRules::Refused& e) {
            return e.message();
        }
        return QStringLiteral("not refused");
    };
    EXPECT_EQ(refusal([&] {
                  rules().saveNew(kIncome, income("2026-12-01", "新类", "1.2.3", "新户", "新人"));
              }),
              QStringLiteral("金额 不是有效的数字！请重新录入！"));
    EXPECT_EQ(refusal([&] {
                  rules().saveNew(kTransfer, transfer("2026-12-01", kCash, kCash, "1", kDad));
              }),
              QStringLiteral("到账账户 不能与 原账户 一样！请重新选择！"));
    EXPECT_EQ(
        refusal([&] { rules().saveEdit(kIncome, id, income("2026-12-01", "", "1", kCash, kDad)); }),
        QStringLiteral("请选择 收入类别！"));
    EXPECT_EQ(refusal([&] {
                  rules().saveEdit(kIncome, id + 100,
                                   income("2026-12-01", "工资", "1", kCash, kDad));
              }),
              PostingRules::kNotFound);
    EXPECT_EQ(refusal([&] { rules().remove(kExpense, id); }), PostingRules::kNotFound);
    EXPECT_TRUE(newRows().empty());
    EXPECT_EQ(f.db().query("SELECT count(*) AS n FROM InD WHERE IName='新类'").integer("n"), 0);
    EXPECT_EQ(f.count("SAccount"), 2);
    EXPECT_EQ(balance(kCash), 110);
}

TEST_F(PostingRulesTest, AFailureHalfWayLeavesNothingWritten) {
    const qint64 id = rules().saveNew(kIncome, income("2026-12-01", "工资", "10", kCash, kDad));
    const qint64 other = rules().saveNew(kIncome, income("2026-12-02", "工资", "20", kCash, kDad));
    newRows();
    // The journal refuses the rows of one event: by then the names exist, the counts are up,
    // the balance has moved and the posting row is written.
    const auto failOn = [&](const QString& when) {
        f.db().execScript("DROP TRIGGER IF EXISTS boom");
        f.db().execScript("CREATE TRIGGER boom BEFORE INSERT ON UList WHEN " + when +
                          " BEGIN SELECT RAISE(ABORT, 'boom'); END");
    };

    failOn("NEW.theE='新增'");
    EXPECT_THROW(rules().saveNew(kIncome, income("2026-12-03", "新类", "5", "新户", "新人")),
                 DbError);
    EXPECT_EQ(f.count("InTable"), 2);
    EXPECT_EQ(f.db().query("SELECT count(*) AS n FROM InD WHERE IName='新类'").integer("n"), 0);
    EXPECT_EQ(f.db().query("SELECT count(*) AS n FROM SFamily WHERE FName='新人'").integer("n"), 0);
    EXPECT_EQ(f.count("SAccount"), 2);
    EXPECT_EQ(usage("InD", "IName", "工资"), 2);
    EXPECT_EQ(balance(kCash), 130);

    failOn("NEW.theE='修改'");  // after the reversal is booked
    EXPECT_THROW(rules().saveEdit(kIncome, id, income("2026-12-03", "工资", "99", kBank, kDad)),
                 DbError);
    EXPECT_EQ(rules().load(kIncome, id)->amount, QStringLiteral("10"));
    EXPECT_EQ(balance(kCash), 130);
    EXPECT_EQ(balance(kBank), 1000);

    failOn("NEW.theID=" + QString::number(id));  // the second row of a delete-all
    EXPECT_THROW(rules().removeAll(kIncome, kIncome.everything()), DbError);
    EXPECT_TRUE(rules().load(kIncome, other));
    EXPECT_EQ(balance(kCash), 130);
    EXPECT_TRUE(newRows().empty());

    f.db().execScript("DROP TRIGGER boom");
    f.reopen();
    EXPECT_EQ(f.count("InTable"), 2);
    expectConsistent();
}

TEST_F(PostingRulesTest, OtherBooksAreUntouched) {
    f.addBook(QStringLiteral("别人的账簿"));
    test::openAccount(f, kCash, 5, kDad);
    const qint64 theirs = rules().saveNew(kIncome, income("2026-12-01", "工资", "1", kCash, kDad));
    f.openBook(kBook);
    newRows();

    const qint64 ours = rules().saveNew(kIncome, income("2026-12-01", "工资", "10", kCash, kDad));
    rules().saveEdit(kIncome, ours, income("2026-12-01", "工资", "20", kCash, kDad));
    rules().saveNew(kTransfer, transfer("2026-12-01", kCash, kBank, "3", kDad));
    EXPECT_EQ(rules().removeAll(kIncome, kIncome.everything()), 1);
    EXPECT_THROW(rules().remove(kIncome, theirs), PostingRules::Refused);
    EXPECT_THROW(rules().saveEdit(kIncome, theirs, income("2026-12-01", "工资", "9", kCash, kDad)),
                 PostingRules::Refused);
    for (const JournalRow& r : newRows()) EXPECT_EQ(r.BName, kBook);
    expectConsistent();

    f.openBook(QStringLiteral("别人的账簿"));
    EXPECT_EQ(balance(kCash), 6);
    EXPECT_EQ(rules().load(kIncome, theirs)->amount, QStringLiteral("1"));
    EXPECT_EQ(usage("InD", "IName", "工资"), 1);
    EXPECT_EQ(f.db().query("SELECT count(*) AS n FROM UList WHERE BName='别人的账簿'").integer("n"),
              2);
    expectConsistent();
}

// --- a kind described later
// -----------------------------------------------------------------------

TEST_F(PostingRulesTest, AKindDescribedOnceGetsTheSameRules) {
    // The shape of a debt: a contact as its name, a fixed journal type, its account raised, and
    // no delete while something has been repaid.
    const PostingKind debt{
        .id = PostingKind::Id::Debt,
        .cliName = "debt",
        .className = "TfrmBorrow",
        .caption = "债务",
        .table = "Borrow",
        .dateColumn = "BDate",
        .nameColumn = "BPro",
        .moneyColumn = "BMoney",
        .accountColumn = "AName",
        .nameTable = "PD",
        .nameTableColumn = "PName",
        .nameBeforeMember = false,
        .journalType = "债务",
        .sign = +1,
        .checks = {{PostingKind::Field::Name, "债权人 不能为空！请重新录入！"}},
        .deleteGuard = {.column = "RMoney",
                        .message = "该债务有 已还金额，不能删除；如要删除，请先删除 还债记录。"},
    };
    const qint64 id = rules().saveNew(debt, income("2026-12-01", "老李", "500", kBank, kDad, "借"));
    EXPECT_EQ(balance(kBank), 1500);
    EXPECT_EQ(usage("PD", "PName", "老李"), 0);
    EXPECT_EQ(usage("SAccount", "AName", kBank), 0);
    EXPECT_EQ(newRows(), (std::vector<JournalRow>{row("2026-12-01", "债务", "借", 500, 0, kBank,
                                                      1500, kDad, "Borrow", id, "新增")}));
    f.db().exec(QStringLiteral("UPDATE Borrow SET RMoney=100 WHERE ID=?"), id);
    rules().saveEdit(debt, id, income("2026-12-01", "老李", "400", kBank, kDad, "借"));
    EXPECT_EQ(f.db().query("SELECT RMoney FROM Borrow").number("RMoney"), 100);
    EXPECT_EQ(balance(kBank), 1400);
    try {
        rules().remove(debt, id);
        ADD_FAILURE() << "a repaid debt was deleted";
    } catch (const PostingRules::Refused& e) {
        EXPECT_EQ(e.message(), debt.deleteGuard.message);
    }
    f.db().exec(QStringLiteral("UPDATE Borrow SET RMoney=0 WHERE ID=?"), id);
    rules().remove(debt, id);
    EXPECT_EQ(balance(kBank), 1000);
}
