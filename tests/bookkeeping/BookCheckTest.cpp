#include <gtest/gtest.h>

#include "bookkeeping/BookkeepingFixture.h"
#include "storage/DataFile.h"

using namespace cw;
using Posting = PostingRules::Posting;

namespace {

const QString kCash = QStringLiteral("现金");
const QString kBank = QStringLiteral("工行卡");

class BookCheckTest : public ::testing::Test {
  protected:
    void SetUp() override {
        f.addBook(QStringLiteral("我家账簿"));
        test::openAccount(f, kCash, 100);
        test::openAccount(f, kBank, 1000);
        PostingRules rules(f.dm());
        rules.saveNew(PostingKind::income(),
                      {"2026-12-01", "工资", "50.25", kCash, "", "爸爸", ""});
        rules.saveNew(PostingKind::transfer(), {"2026-12-02", "", "30", kBank, kCash, "爸爸", ""});
    }

    QStringList check() { return BookCheck(f.dm()).check(); }

    test::TempDataFile f;
};

}  // namespace

TEST_F(BookCheckTest, ABookBookedThroughTheRulesHasNoDifference) {
    EXPECT_EQ(check(), QStringList());
    // An adjustment booked like the account manager does it counts as well.
    f.dm().AccountDown(0.25, kCash);
    f.dm().List_Add("2026-12-09", "调账", "调整账户余额", 0, 0.25, kCash, "", "SAccount", 1,
                    "新增");
    EXPECT_EQ(check(), QStringList());
}

TEST_F(BookCheckTest, ABalanceThatLeftTheJournalIsReportedTwice) {
    f.db().exec(QStringLiteral("UPDATE SAccount SET AMoney=AMoney+0.01 WHERE AName=?"), kCash);
    const QStringList found = check();
    ASSERT_EQ(found.size(), 2);
    EXPECT_EQ(found[0],
              QStringLiteral("账户「现金」：账户余额 180.26，按开户和 3 条流水重算应为 180.25"));
    EXPECT_TRUE(
        found[1].startsWith(QStringLiteral("账户「现金」：账户余额 180.26，最后一条流水（ID ")));
    EXPECT_TRUE(found[1].endsWith(QStringLiteral("的本次余额为 180.25")));
}

TEST_F(BookCheckTest, ALastRowWithAWrongBalanceIsReported) {
    f.db().exec(QStringLiteral("UPDATE UList SET AMoney=1 WHERE ID=(SELECT max(ID) FROM UList)"));
    const QStringList found = check();
    ASSERT_EQ(found.size(), 1);
    EXPECT_TRUE(found[0].startsWith(QStringLiteral("账户「现金」")));
    EXPECT_TRUE(found[0].endsWith(QStringLiteral("的本次余额为 1")));
}

TEST_F(BookCheckTest, AMovementWithoutItsRowIsReported) {
    f.dm().AccountUp(7, kBank);
    EXPECT_EQ(check().size(), 2);
    f.addAccount(QStringLiteral("无流水"), 5);
    EXPECT_EQ(check().size(), 3);
}

TEST_F(BookCheckTest, TheJournalOfAnAccountStartsAtItsOwnOpening) {
    // An account of the same name was opened, used and deleted before this one.
    test::openAccount(f, QStringLiteral("旧卡"), 500);
    f.db().exec(QStringLiteral("DELETE FROM SAccount WHERE AName='旧卡'"));
    test::openAccount(f, QStringLiteral("旧卡"), 20);
    EXPECT_EQ(check(), QStringList());
    // One created by a posting has no opening row and starts at 0.
    PostingRules(f.dm()).saveNew(PostingKind::expense(),
                                 {"2026-12-01", "餐饮", "3", "新钱包", "", "爸爸", ""});
    EXPECT_EQ(check(), QStringList());
}

TEST_F(BookCheckTest, OnlyTheOpenBookIsChecked) {
    f.addBook(QStringLiteral("别人的账簿"));
    f.addAccount(kCash, 99);  // no opening row: a difference of that book
    EXPECT_EQ(check().size(), 1);
    f.openBook(QStringLiteral("我家账簿"));
    EXPECT_EQ(check(), QStringList());
}

TEST_F(BookCheckTest, FurtherRulesAddTheirDifferences) {
    BookCheck checker(f.dm());
    checker.addRule([](TfrmDM& dm, QStringList& found) { found << dm.book() + "：另一项"; });
    f.dm().AccountUp(1, kBank);
    const QStringList found = checker.check();
    ASSERT_EQ(found.size(), 3);
    EXPECT_EQ(found[2], QStringLiteral("我家账簿：另一项"));
}

TEST_F(BookCheckTest, BookTotalsOutOfStepAreReportedAndAnOlderFileGetsThem) {
    f.db().exec(QStringLiteral("UPDATE SBookSum SET theCents=theCents+1 WHERE theT='InTable'"));
    EXPECT_EQ(check(), QStringList{QStringLiteral(
                           "收入合计：记下的是 50.26（1 笔），按记录重算应为 50.25（1 笔）")});

    // A file from before the totals: they are added and filled from the postings once.
    f.db().execScript(
        QStringLiteral("DROP TABLE SBookSum; DROP TRIGGER InTable_Sum_Insert;"
                       "DROP TRIGGER InTable_Sum_Delete; DROP TRIGGER InTable_Sum_Update;"
                       "DROP TRIGGER OutTable_Sum_Insert; DROP TRIGGER OutTable_Sum_Delete;"
                       "DROP TRIGGER OutTable_Sum_Update;"));
    DataFile::upgrade(f.db());
    EXPECT_EQ(check(), QStringList());
    PostingRules(f.dm()).saveNew(PostingKind::expense(),
                                 {"2026-12-03", "餐饮", "20", kCash, "", "爸爸", ""});
    EXPECT_EQ(check(), QStringList());
    EXPECT_EQ(f.db()
                  .query(QStringLiteral("SELECT theCents FROM SBookSum WHERE theT='OutTable'"))
                  .integer(QStringLiteral("theCents")),
              2000);
}

TEST_F(BookCheckTest, OlderTotalsTriggersAreMadeAnewAndImportsKeepTheTotals) {
    // The triggers as files before held them: a book's row made with INSERT OR IGNORE.
    for (const char* t : {"InTable", "OutTable"}) {
        const QString table = QString::fromLatin1(t);
        const QString money = table == QLatin1String("InTable") ? "IMoney" : "OMoney";
        f.db().execScript(QStringLiteral("DROP TRIGGER %1_Sum_Insert;").arg(table));
        f.db().execScript(
            QStringLiteral("CREATE TRIGGER %1_Sum_Insert AFTER INSERT ON %1 BEGIN "
                           "INSERT OR IGNORE INTO SBookSum(BName, theT) VALUES (NEW.BName, '%1'); "
                           "UPDATE SBookSum SET theCents = theCents + "
                           "CAST(round(NEW.%2 * 100) AS INTEGER), theCount = theCount + 1 "
                           "WHERE BName = NEW.BName AND theT = '%1'; END;")
                .arg(table, money));
    }
    DataFile::upgrade(f.db());
    EXPECT_FALSE(f.db()
                     .query(QStringLiteral("SELECT group_concat(sql) FROM sqlite_master "
                                           "WHERE type='trigger'"))
                     .value(0, 0)
                     .toString()
                     .contains(QStringLiteral("OR IGNORE")));
    EXPECT_EQ(f.db()
                  .query(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type='trigger' "
                                        "AND name LIKE '%Sum%'"))
                  .value(0, 0)
                  .toInt(),
              6);

    // Imports into a book whose totals row exists, and into a new book, then a rename.
    PostingRules rules(f.dm());
    const std::vector<Posting> rows{{"2026-12-04", "工资", "100", kCash, "", "爸爸", ""},
                                    {"2026-12-05", "奖金", "0.75", kBank, "", "妈妈", ""}};
    EXPECT_EQ(rules.saveImported(PostingKind::income(), rows), 2);
    EXPECT_EQ(rules.saveImported(PostingKind::expense(), rows), 2);
    EXPECT_EQ(check(), QStringList());
    f.addBook(QStringLiteral("新账簿"));
    f.openBook(QStringLiteral("新账簿"));
    test::openAccount(f, kCash, 0);
    PostingRules fresh(f.dm());
    EXPECT_EQ(fresh.saveImported(PostingKind::income(), {rows[0], rows[0]}), 2);
    EXPECT_EQ(check(), QStringList());
    EXPECT_EQ(f.db()
                  .query(QStringLiteral("SELECT theCents, theCount FROM SBookSum "
                                        "WHERE BName='新账簿' AND theT='InTable'"))
                  .integer(QStringLiteral("theCents")),
              20000);
}
