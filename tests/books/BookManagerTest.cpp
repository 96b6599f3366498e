#include <gtest/gtest.h>

#include <QRegularExpression>

#include "books/BookLogin.h"
#include "books/BookManager.h"
#include "reports/Dashboard.h"
#include "storage/DbError.h"
#include "storage/Transaction.h"
#include "support/TempDataFile.h"

using namespace cw;

namespace {

const QString kOpen = QStringLiteral("我家");
const QString kOther = QStringLiteral("老'王%家");

// Two books, each with one row of its own in every table a book owns (and two journal rows
// for the other book, so counts tell rows apart); the other book is remembered with its
// password, and the first is open.
struct BookManagerTest : ::testing::Test {
    test::TempDataFile f;

    void SetUp() override {
        Transaction tx(f.db());
        f.addBook(kOther, QStringLiteral("pw"));
        f.addBook(kOpen, QStringLiteral("1"));
        for (const QString& table : BookManager::renameTables()) {
            if (table == QLatin1String("SBook") || table == QLatin1String("SMRX")) continue;
            if (table == QLatin1String("SMRB")) continue;
            for (const QString& book : {kOpen, kOther, kOther}) {
                f.db().exec(QStringLiteral("INSERT INTO %1(BName) VALUES(?)").arg(table), book);
            }
        }
        f.db().exec(QStringLiteral("INSERT INTO SMRB(BName) VALUES(?)"), kOther);
        f.db().exec(QStringLiteral("UPDATE SMRX SET BPass='pw', BPassKG=1 WHERE BName=?"), kOther);
        f.db().exec(QStringLiteral("UPDATE UThing SET Title='私事' WHERE BName=?"), kOther);
        tx.commit();
    }

    int rows(const QString& table, const QString& book) {
        return int(
            f.db()
                .query(QStringLiteral("SELECT count(*) AS n FROM %1 WHERE BName=?").arg(table),
                       book)
                .integer(QStringLiteral("n")));
    }

    // Rows per table of a book, to compare before and after.
    std::map<QString, int> census(const QString& book) {
        std::map<QString, int> out;
        for (const QString& table : BookManager::renameTables()) out[table] = rows(table, book);
        return out;
    }
};

TEST_F(BookManagerTest, EveryTableThatCarriesABookNameIsRenamedAndDeleted) {
    const Query tables =
        f.db().query(QStringLiteral("SELECT name FROM sqlite_master WHERE type='table'"));
    // Tables the engine keeps from others by triggers follow their sources by themselves.
    const QString triggers =
        f.db()
            .query(QStringLiteral("SELECT sql FROM sqlite_master WHERE type='trigger'"))
            .firstColumn()
            .join(QLatin1Char('\n'));
    QStringList owning;
    for (const QString& t : tables.firstColumn()) {
        const QRegularExpression written(QStringLiteral("\\b(INTO|UPDATE)\\s+%1\\b").arg(t),
                                         QRegularExpression::CaseInsensitiveOption);
        if (f.db().hasColumn(t, QStringLiteral("BName")) && !triggers.contains(written))
            owning << t;
    }
    owning.sort();
    QStringList renamed = BookManager::renameTables();
    QStringList deleted = BookManager::deleteTables();
    renamed.sort();
    deleted.sort();
    EXPECT_EQ(renamed, owning);
    EXPECT_EQ(deleted, owning);
    EXPECT_EQ(BookManager::deleteTables().last(), QStringLiteral("SBook"));
}

TEST_F(BookManagerTest, RenameCarriesEveryRowAndTheRememberedLoginToTheNewName) {
    const auto before = census(kOther);
    const auto openBefore = census(kOpen);
    const QString renamed = QStringLiteral("老王的新家");

    const BookManager::Result r = BookManager(f.dm()).rename(kOther, renamed);
    ASSERT_TRUE(r.ok()) << r.message.toStdString();

    EXPECT_EQ(census(renamed), before);
    for (const auto& [table, n] : census(kOther)) EXPECT_EQ(n, 0) << table.toStdString();
    EXPECT_EQ(census(kOpen), openBefore);
    EXPECT_EQ(f.db()
                  .query(QStringLiteral("SELECT Title FROM UThing WHERE BName=?"), renamed)
                  .firstColumn(),
              (QStringList{QStringLiteral("私事"), QStringLiteral("私事")}));

    BookLogin login(f.dm());
    EXPECT_EQ(login.rememberedBook(), renamed);
    EXPECT_EQ(login.rememberedPassword(renamed), std::optional<QString>(QStringLiteral("pw")));
    EXPECT_EQ(f.state().myBName, kOpen);
    EXPECT_TRUE(login.login(renamed, QStringLiteral("pw"), true, true).ok);
}

TEST_F(BookManagerTest, RenameRefusalsInOrderChangeNothing) {
    const auto before = census(kOther);
    BookManager books(f.dm());
    EXPECT_EQ(books.rename(kOther, QString()).message, QStringLiteral("账簿名称 不能为空！"));
    EXPECT_EQ(books.rename(kOther, kOther).message, QStringLiteral("账簿名称 不能和以前一样！"));
    EXPECT_EQ(books.rename(kOther, QString(21, QChar(u'名'))).message,
              QStringLiteral("账簿名称 长度不能大于20！"));
    EXPECT_FALSE(books.rename(kOther, QStringLiteral("新\t名")).ok());
    EXPECT_EQ(books.rename(kOther, kOpen).message, QStringLiteral("账簿名称 已经存在！"));
    EXPECT_EQ(books.rename(QStringLiteral("无此账簿"), QStringLiteral("新名")).message,
              QStringLiteral("账簿名称 不存在！"));
    EXPECT_EQ(census(kOther), before);
    EXPECT_EQ(f.count(QStringLiteral("SBook")), 2);
}

TEST_F(BookManagerTest, TheOpenBookMayBeRenamedAndTheStateFollows) {
    const auto before = census(kOpen);
    ASSERT_TRUE(BookManager(f.dm()).rename(kOpen, QStringLiteral("新家")).ok());
    EXPECT_EQ(census(QStringLiteral("新家")), before);
    EXPECT_EQ(f.state().myBName, QStringLiteral("新家"));
}

TEST_F(BookManagerTest, ARenameThatFailsHalfwayLeavesEveryTableAsItWas) {
    const auto before = census(kOther);
    // UWarn comes late in the list: every table before it has been rewritten by then.
    f.db().execScript(QStringLiteral(
        "CREATE TRIGGER boom BEFORE UPDATE ON UWarn BEGIN SELECT RAISE(ABORT, 'boom'); END;"));
    EXPECT_THROW(BookManager(f.dm()).rename(kOther, QStringLiteral("新名")), DbError);
    EXPECT_EQ(census(kOther), before);
    EXPECT_EQ(rows(QStringLiteral("SBook"), QStringLiteral("新名")), 0);
    EXPECT_FALSE(f.db().inTransaction());
}

TEST_F(BookManagerTest, DeleteRemovesEveryRowOfTheBookNotesIncludedAndNothingElse) {
    const auto openBefore = census(kOpen);
    BookManager books(f.dm());
    ASSERT_TRUE(books.remove(kOther).ok());
    for (const auto& [table, n] : census(kOther)) EXPECT_EQ(n, 0) << table.toStdString();
    EXPECT_EQ(census(kOpen), openBefore);
    // The open book stands alone in the list.
    const Query left = books.books();
    EXPECT_EQ(left.firstColumn(), QStringList{kOpen});
    EXPECT_EQ(left.columns().mid(0, 3),
              (QStringList{QStringLiteral("账簿名称"), QStringLiteral("创建日期"),
                           QStringLiteral("备注")}));
    EXPECT_TRUE(BookLogin(f.dm()).rememberedBook().isEmpty());

    // A new book of the old name starts without the deleted book's notes.
    f.addBook(kOther);
    EXPECT_EQ(rows(QStringLiteral("UThing"), kOther), 0);
}

TEST_F(BookManagerTest, TheOpenBookCannotBeDeletedAndAFailedDeleteKeepsEverything) {
    const auto before = census(kOpen);
    BookManager books(f.dm());
    EXPECT_EQ(books.remove(kOpen).message, QStringLiteral("不能删除当前打开账簿！"));
    EXPECT_EQ(census(kOpen), before);

    const auto other = census(kOther);
    f.db().execScript(QStringLiteral(
        "CREATE TRIGGER boom BEFORE DELETE ON UWarn BEGIN SELECT RAISE(ABORT, 'boom'); END;"));
    EXPECT_THROW(books.remove(kOther), DbError);
    EXPECT_EQ(census(kOther), other);
}

TEST_F(BookManagerTest, TheBooksTotalsFollowARenameAndGoWithADelete) {
    f.db().exec(QStringLiteral("UPDATE InTable SET IMoney=100.25 WHERE BName=?"), kOther);
    f.db().exec(QStringLiteral("UPDATE OutTable SET OMoney=40 WHERE BName=?"), kOther);
    f.db().exec(QStringLiteral("UPDATE InTable SET IMoney=7 WHERE BName=?"), kOpen);
    const auto totals = [this](const QString& book) {
        const QString open = f.state().myBName;
        f.openBook(book);
        const Dashboard d = Dashboard::compute(f.dm());
        f.openBook(open);
        return std::make_pair(d.income, d.expense);
    };
    EXPECT_EQ(totals(kOther), std::make_pair(200.5, 80.0));

    BookManager books(f.dm());
    ASSERT_TRUE(books.rename(kOther, QStringLiteral("新名")).ok());
    EXPECT_EQ(totals(QStringLiteral("新名")), std::make_pair(200.5, 80.0));
    EXPECT_EQ(totals(kOpen), std::make_pair(7.0, 0.0));

    ASSERT_TRUE(books.remove(QStringLiteral("新名")).ok());
    f.addBook(QStringLiteral("新名"));
    EXPECT_EQ(totals(QStringLiteral("新名")), std::make_pair(0.0, 0.0));
    EXPECT_EQ(totals(kOpen), std::make_pair(7.0, 0.0));
}

TEST_F(BookManagerTest, BooksAreListedNewestFirst) {
    f.addBook(QStringLiteral("第三本"));
    EXPECT_EQ(BookManager(f.dm()).books().firstColumn(),
              (QStringList{QStringLiteral("第三本"), kOpen, kOther}));
}

}  // namespace
