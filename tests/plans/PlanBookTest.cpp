#include <gtest/gtest.h>

#include "bookkeeping/BookkeepingFixture.h"
#include "plans/PlanBook.h"

using namespace cw;
using cw::test::JournalRow;
using Series = PlanBook::Series;
using Rule = PlanSchedule::Rule;

namespace {

const QString kBook = QStringLiteral("我家");
const QString kCash = QStringLiteral("现金");
const QString kDad = QStringLiteral("爸爸");
// TempDataFile stands on 2026-12-09.
const QString kToday = QStringLiteral("2026-12-09");

QDate day(const QString& text) {
    return QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
}

void setUpBook(test::TempDataFile& f) {
    f.addBook(kBook);
    f.dm().NewFamily(kDad);
    test::openAccount(f, kCash, 500, kDad);
}

Series series(const QString& kind, const QString& name, const QString& amount, const QString& from,
              const QString& to, Rule rule = Rule::Daily) {
    Series s;
    s.kind = kind;
    s.name = name;
    s.amount = amount;
    s.account = kCash;
    s.member = kDad;
    s.remark = QStringLiteral("计划");
    s.schedule.rule = rule;
    s.from = day(from);
    s.to = day(to);
    return s;
}

std::vector<qint64> ids(const ReportTable& t) {
    std::vector<qint64> out;
    for (int r = 0; r < t.rowCount(); ++r) out.push_back(t.rowId(r));
    return out;
}

QString state(test::TempDataFile& f, qint64 id) {
    return f.db()
        .query(QStringLiteral("SELECT PState FROM UPlan WHERE ID=?"), id)
        .text(QStringLiteral("PState"));
}

class PlanBookTest : public ::testing::Test {
  protected:
    void SetUp() override { setUpBook(f); }
    PlanBook plans() { return PlanBook(f.dm()); }
    test::TempDataFile f;
};

}  // namespace

TEST_F(PlanBookTest, TheNewPlanChecksComeInTheWindowsOrder) {
    using Field = PlanBook::Field;
    Series s = series(QStringLiteral("收入"), QString(), QStringLiteral("0."), kToday, kToday);
    s.account.clear();
    s.member.clear();
    const auto verdict = [&] { return PlanBook::validate(s); };
    EXPECT_EQ(verdict().message, QStringLiteral("请选择 收入类别！"));
    EXPECT_EQ(verdict().focus, Field::Name);
    s.name = QStringLiteral("工资");
    EXPECT_EQ(verdict().message, QStringLiteral("金额不能为空！请重新录入！"));
    s.amount = QStringLiteral(".0");
    EXPECT_EQ(verdict().message, QStringLiteral("金额不能为空！请重新录入！"));
    s.amount = QStringLiteral("1.2.3");
    EXPECT_EQ(verdict().message, QStringLiteral("金额 不是有效的数字！请重新录入！"));
    s.amount = QStringLiteral("1000000000000");
    EXPECT_EQ(verdict().focus, Field::Amount);
    s.amount = QStringLiteral("0.0");
    EXPECT_EQ(verdict().message, QStringLiteral("请选择 账户名称！"));
    s.account = kCash;
    EXPECT_EQ(verdict().message, QStringLiteral("请选择 家庭成员！"));
    s.member = kDad;
    EXPECT_EQ(verdict().message,
              QStringLiteral("结束日期 不能小于或等于 开始日期，请重新选择日期！"));
    EXPECT_EQ(verdict().focus, Field::EndDate);
    s.to = s.from.addDays(1);
    EXPECT_TRUE(verdict().ok());
    // Kinds without a category name their person.
    s.kind = QStringLiteral("债权");
    s.name = QStringLiteral("  ");
    EXPECT_EQ(verdict().message, QStringLiteral("请选择 债务人！"));
    s.kind = QStringLiteral("债务");
    EXPECT_EQ(verdict().message, QStringLiteral("请选择 债权人！"));
    s.kind = QStringLiteral("投资");
    EXPECT_EQ(verdict().message, QStringLiteral("请选择 投资类别！"));
}

TEST_F(PlanBookTest, ASeriesWritesOneOpenPlanPerDateAndNothingWhenRefused) {
    PlanBook::Verdict v;
    EXPECT_EQ(plans().createSeries(
                  series(QStringLiteral("支出"), QStringLiteral("餐饮"), QStringLiteral("0.0"),
                         "2024-03-01", "2024-03-31", Rule::EveryNDays),
                  &v),
              5);
    EXPECT_TRUE(v.ok());
    Query q = f.db().query(QStringLiteral(
        "SELECT BName,PType,PDate,PName,PMoney,AName,FName,PState,Remark FROM UPlan ORDER BY ID"));
    ASSERT_EQ(q.recordCount(), 5);
    EXPECT_EQ(q.text("BName"), kBook);
    EXPECT_EQ(q.text("PType"), QStringLiteral("支出"));
    EXPECT_EQ(q.text("PDate"), QStringLiteral("2024-03-08"));
    EXPECT_EQ(q.text("PName"), QStringLiteral("餐饮"));
    EXPECT_EQ(q.number("PMoney"), 0.0);
    EXPECT_EQ(q.text("PState"), QStringLiteral("否"));
    EXPECT_EQ(q.text("Remark"), QStringLiteral("计划"));

    EXPECT_EQ(plans().createSeries(series(QStringLiteral("支出"), QStringLiteral("餐饮"),
                                          QStringLiteral("5"), "2024-03-01", "2024-03-01"),
                                   &v),
              0);
    EXPECT_FALSE(v.ok());
    EXPECT_EQ(f.count(QStringLiteral("UPlan")), 5);
}

TEST_F(PlanBookTest, ListsFilterOpenPlansOfTheBookAndDeleteOnlyWhatIsListed) {
    Series credit = series(QStringLiteral("债权"), QStringLiteral("老王"), QStringLiteral("10"),
                           "2026-12-01", "2026-12-03");
    plans().createSeries(credit);
    credit.name = QStringLiteral("老李");
    credit.account = QStringLiteral("银行卡");
    credit.remark = QStringLiteral("100% 还");
    plans().createSeries(credit);
    plans().createSeries(series(QStringLiteral("收入"), QStringLiteral("工资"), QStringLiteral("7"),
                                "2026-12-01", "2026-12-02"));
    // Another book's plans never show.
    f.db().exec(
        QStringLiteral("INSERT INTO UPlan(BName,PType,PDate,PName,PMoney,PState) "
                       "VALUES('别家','债权','2026-12-01','老王',1,'否')"));

    PlanBook::Filter filter;
    filter.kind = QStringLiteral("债权");
    ReportTable all = plans().list(filter);
    EXPECT_EQ(all.rowCount(), 6);
    EXPECT_EQ(all.column(2).title, QStringLiteral("债务人"));
    EXPECT_EQ(all.total(cw::Field::PMoney), 60.0);

    filter.name = QStringLiteral("老王");
    EXPECT_EQ(plans().list(filter).rowCount(), 3);
    filter.name.reset();
    filter.remark = QStringLiteral("%");
    EXPECT_EQ(plans().list(filter).rowCount(), 3);
    filter.remark.reset();
    filter.dates = std::make_pair(QStringLiteral("2026-12-02"), QStringLiteral("2026-12-03"));
    EXPECT_EQ(plans().list(filter).rowCount(), 4);
    filter.dates.reset();

    filter.account = QStringLiteral("银行卡");
    EXPECT_EQ(plans().removeAll(filter), 3);
    filter.account.reset();
    EXPECT_EQ(plans().list(filter).rowCount(), 3);
    EXPECT_EQ(f.count(QStringLiteral("UPlan")), 3 + 2 + 1);

    const qint64 first = plans().list(filter).rowId(0);
    EXPECT_TRUE(plans().remove(first));
    EXPECT_FALSE(plans().remove(first));
    EXPECT_EQ(plans().list(filter).rowCount(), 2);
}

TEST_F(PlanBookTest, TheDueListHoldsOpenPlansUpToTodayLatestFirst) {
    plans().createSeries(series(QStringLiteral("收入"), QStringLiteral("工资"), QStringLiteral("1"),
                                "2026-12-07", "2026-12-10"));
    EXPECT_EQ(plans().dueCount(), 3);
    ReportTable due = plans().due();
    ASSERT_EQ(due.rowCount(), 3);
    EXPECT_EQ(due.column(2).title, QStringLiteral("计划名称"));
    EXPECT_EQ(due.text(0, cw::Field::PDate), kToday);
    EXPECT_EQ(due.text(2, cw::Field::PDate), QStringLiteral("2026-12-07"));
    ASSERT_TRUE(plans().execute(due.rowId(0)));
    EXPECT_EQ(plans().dueCount(), 2);
}

// Executing a plan books what the posting screen of its kind books: the same posting row,
// the same balances, the same journal rows, the same names created and counts raised.
TEST_F(PlanBookTest, ExecutingEachKindBooksWhatItsPostingScreenBooks) {
    for (const QString& kind : PlanBook::kinds()) {
        SCOPED_TRACE(kind.toStdString());
        test::TempDataFile planned;
        test::TempDataFile posted;
        setUpBook(planned);
        setUpBook(posted);
        const QString name = kind == QStringLiteral("债务") || kind == QStringLiteral("债权")
                                 ? QStringLiteral("老王")
                                 : QStringLiteral("新类别");
        Series s = series(kind, name, QStringLiteral("123.45"), "2026-11-30", "2026-12-01");
        s.account = QStringLiteral("新卡");  // not an account of the book yet
        PlanBook book(planned.dm());
        ASSERT_EQ(book.createSeries(s), 2);
        const qint64 mark = test::lastJournalId(planned.db());
        PlanBook::Filter all;
        all.kind = kind;
        const PlanBook::Run run = book.executeAll(ids(book.list(all)), true);
        EXPECT_EQ(run.executed, 2);
        EXPECT_TRUE(run.failure.isEmpty());
        EXPECT_EQ(book.list(all).rowCount(), 0);

        const PostingKind& pk = *PlanBook::postingKind(kind);
        PostingRules rules(posted.dm());
        for (const char* date : {"2026-11-30", "2026-12-01"}) {
            rules.saveNew(pk, {QString::fromLatin1(date), name, QStringLiteral("123.45"),
                               QStringLiteral("新卡"), QString(), kDad, QStringLiteral("计划")});
        }
        EXPECT_EQ(test::journalAfter(planned.db(), mark), test::journalAfter(posted.db(), mark));
        EXPECT_DOUBLE_EQ(planned.dm().balance(QStringLiteral("新卡")),
                         posted.dm().balance(QStringLiteral("新卡")));
        EXPECT_DOUBLE_EQ(std::abs(planned.dm().balance(QStringLiteral("新卡"))), 246.9);
        const QString rows = QStringLiteral("SELECT * FROM %1 ORDER BY ID").arg(pk.table);
        const Query a = planned.db().query(rows);
        const Query b = posted.db().query(rows);
        ASSERT_EQ(a.recordCount(), 2);
        ASSERT_EQ(a.recordCount(), b.recordCount());
        for (int r = 0; r < a.recordCount(); ++r) {
            for (int c = 0; c < a.columns().size(); ++c) EXPECT_EQ(a.value(r, c), b.value(r, c));
        }
        const QString counts = QStringLiteral("SELECT AName, theCount FROM SAccount ORDER BY ID");
        EXPECT_EQ(planned.db().query(counts).value(1, 1), posted.db().query(counts).value(1, 1));
    }
}

TEST_F(PlanBookTest, TheJournalNamesTheNewPostingEvenWhenAnotherBookHoldsAHigherId) {
    f.db().exec(
        QStringLiteral("INSERT INTO InTable(ID,BName,IDate,IName,IMoney,AName,FName) "
                       "VALUES(900,'别家','2026-01-01','工资',1,'现金','爸爸')"));
    f.db().exec(QStringLiteral("DELETE FROM InTable WHERE ID=900"));
    plans().createSeries(series(QStringLiteral("收入"), QStringLiteral("工资"),
                                QStringLiteral("100"), "2026-05-01", "2026-05-02"));
    const qint64 mark = test::lastJournalId(f.db());
    ASSERT_TRUE(plans().execute(plans().due().rowId(1)));
    const Query posting =
        f.db().query(QStringLiteral("SELECT ID, IDate FROM InTable WHERE BName=?"), kBook);
    ASSERT_EQ(posting.recordCount(), 1);
    const auto rows = test::journalAfter(f.db(), mark);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].theID, posting.integer(QStringLiteral("ID")));
    // Dated with the plan's date, not today.
    EXPECT_EQ(rows[0].theDate, QStringLiteral("2026-05-01"));
    EXPECT_EQ(posting.text(QStringLiteral("IDate")), QStringLiteral("2026-05-01"));
    EXPECT_EQ(rows[0].AMoney, 600.0);
}

TEST_F(PlanBookTest, TheExecuteWindowSkipsPlansDatedAfterToday) {
    plans().createSeries(series(QStringLiteral("支出"), QStringLiteral("餐饮"),
                                QStringLiteral("50"), "2026-12-08", "2026-12-11"));
    PlanBook::Filter filter;
    filter.kind = QStringLiteral("支出");
    std::vector<int> steps;
    const PlanBook::Run run =
        plans().executeAll(ids(plans().list(filter)), true, [&](int n) { steps.push_back(n); });
    EXPECT_EQ(run.executed, 2);
    EXPECT_EQ(run.skipped, 2);
    EXPECT_EQ(steps, (std::vector<int>{1, 2, 3, 4}));
    const ReportTable left = plans().list(filter);
    ASSERT_EQ(left.rowCount(), 2);
    EXPECT_EQ(left.text(0, cw::Field::PDate), QStringLiteral("2026-12-10"));
    EXPECT_DOUBLE_EQ(f.dm().balance(kCash), 400);
}

TEST_F(PlanBookTest, AFailureStopsTheRunWithNoPlanHalfExecuted) {
    plans().createSeries(series(QStringLiteral("收入"), QStringLiteral("工资"),
                                QStringLiteral("100"), "2026-12-01", "2026-12-03"));
    // The second plan's journal row fails: its posting and balance move must go too.
    f.db().execScript(
        QStringLiteral("CREATE TRIGGER boom BEFORE INSERT ON UList WHEN NEW.theDate='2026-12-02' "
                       "BEGIN SELECT RAISE(ABORT, 'boom'); END;"));
    PlanBook::Filter filter;
    filter.kind = QStringLiteral("收入");
    const std::vector<qint64> all = ids(plans().list(filter));
    const PlanBook::Run run = plans().executeAll(all, false);
    EXPECT_EQ(run.executed, 1);
    EXPECT_TRUE(run.failure.contains(QStringLiteral("boom")));
    EXPECT_EQ(state(f, all[0]), QStringLiteral("是"));
    EXPECT_EQ(state(f, all[1]), QStringLiteral("否"));
    EXPECT_EQ(state(f, all[2]), QStringLiteral("否"));
    EXPECT_EQ(f.count(QStringLiteral("InTable")), 1);
    EXPECT_DOUBLE_EQ(f.dm().balance(kCash), 600);

    f.db().execScript(QStringLiteral("DROP TRIGGER boom;"));
    EXPECT_EQ(plans().executeAll(ids(plans().list(filter)), false).executed, 2);
    EXPECT_DOUBLE_EQ(f.dm().balance(kCash), 800);
    EXPECT_TRUE(BookCheck(f.dm()).check().isEmpty());
}

TEST_F(PlanBookTest, AnExecutedOrDeletedPlanIsNotBookedAgain) {
    plans().createSeries(series(QStringLiteral("收入"), QStringLiteral("工资"),
                                QStringLiteral("100"), "2026-12-01", "2026-12-02"));
    const std::vector<qint64> all = ids(plans().due());
    ASSERT_TRUE(plans().execute(all[0]));
    EXPECT_FALSE(plans().execute(all[0]));
    EXPECT_FALSE(plans().remove(all[0]));  // executed plans stay
    EXPECT_TRUE(plans().remove(all[1]));
    EXPECT_FALSE(plans().execute(all[1]));
    EXPECT_EQ(f.count(QStringLiteral("InTable")), 1);
    EXPECT_EQ(f.count(QStringLiteral("UPlan")), 1);
}
