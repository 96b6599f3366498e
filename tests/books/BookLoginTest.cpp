#include <gtest/gtest.h>

#include "books/BookLogin.h"
#include "storage/DbError.h"
#include "support/TempDataFile.h"

using namespace cw;

namespace {

const QString kHome = QStringLiteral("我家账簿");
const QString kTrip = QStringLiteral("旅行账簿");
const QString kWrongPassword = QStringLiteral("密码错误，请重新录入！");
const QString kTooLong = QStringLiteral("密码 长度不能大于20！");

class BookLoginTest : public ::testing::Test {
  protected:
    void SetUp() override {
        f.addBook(kHome, QStringLiteral("123"));
        f.state().myBName.clear();
    }

    BookLogin::Result login(const QString& book, const QString& password, bool rememberBook,
                            bool rememberPassword) {
        return BookLogin(f.dm()).login(book, password, rememberBook, rememberPassword);
    }

    QStringList rememberedBooks() {
        return f.db().query(QStringLiteral("SELECT BName FROM SMRB ORDER BY ID")).firstColumn();
    }

    // BPassKG and BPass of every settings row of the book, as "kg:pass".
    QStringList rememberedPasswords(const QString& book) {
        Query q = f.db().query(
            QStringLiteral("SELECT BPassKG, BPass FROM SMRX WHERE BName=? ORDER BY ID"), book);
        QStringList out;
        for (q.first(); !q.eof(); q.next())
            out << q.text(QStringLiteral("BPassKG")) + ':' + q.text(QStringLiteral("BPass"));
        return out;
    }

    QString bookPassword(const QString& book) {
        return f.db()
            .query(QStringLiteral("SELECT BPass FROM SBook WHERE BName=?"), book)
            .text(QStringLiteral("BPass"));
    }

    test::TempDataFile f;
    BookLogin books{f.dm()};
};

}  // namespace

TEST_F(BookLoginTest, NothingIsRememberedBeforeTheFirstLogin) {
    EXPECT_EQ(books.rememberedBook(), QString());
    EXPECT_FALSE(books.rememberedPassword(QString()).has_value());
    EXPECT_FALSE(books.rememberedPassword(kHome).has_value());
}

TEST_F(BookLoginTest, TickCombinationsDecideWhatTheNextStartOffers) {
    // Both ticked: book and password come back.
    ASSERT_TRUE(login(kHome, QStringLiteral("123"), true, true).ok);
    EXPECT_EQ(rememberedBooks(), QStringList{kHome});
    EXPECT_EQ(rememberedPasswords(kHome), QStringList{QStringLiteral("1:123")});
    EXPECT_EQ(books.rememberedBook(), kHome);
    EXPECT_EQ(books.rememberedPassword(kHome), QStringLiteral("123"));

    // Book only: the book stays, the password is wiped from the file.
    ASSERT_TRUE(login(kHome, QStringLiteral("123"), true, false).ok);
    EXPECT_EQ(rememberedBooks(), QStringList{kHome});
    EXPECT_EQ(rememberedPasswords(kHome), QStringList{QStringLiteral("0:")});
    EXPECT_FALSE(books.rememberedPassword(kHome).has_value());

    // Neither: the next start preselects nothing.
    ASSERT_TRUE(login(kHome, QStringLiteral("123"), false, false).ok);
    EXPECT_TRUE(rememberedBooks().isEmpty());
    EXPECT_EQ(books.rememberedBook(), QString());
    EXPECT_EQ(rememberedPasswords(kHome), QStringList{QStringLiteral("0:")});
}

TEST_F(BookLoginTest, RememberingAnotherBookReplacesTheOneRow) {
    f.addBook(kTrip, QStringLiteral("abc"));
    ASSERT_TRUE(login(kHome, QStringLiteral("123"), true, true).ok);
    ASSERT_TRUE(login(kTrip, QStringLiteral("abc"), true, false).ok);
    EXPECT_EQ(rememberedBooks(), QStringList{kTrip});
    EXPECT_EQ(books.rememberedBook(), kTrip);
    EXPECT_FALSE(books.rememberedPassword(kTrip).has_value());
    // The first book keeps its own remembered password for when it is chosen again.
    EXPECT_EQ(books.rememberedPassword(kHome), QStringLiteral("123"));
}

TEST_F(BookLoginTest, AnEmptyPasswordCanBeRememberedAndOpensTheBook) {
    f.addBook(kTrip);
    f.state().myBName.clear();
    ASSERT_TRUE(login(kTrip, QString(), true, true).ok);
    EXPECT_EQ(f.state().myBName, kTrip);
    const auto remembered = books.rememberedPassword(kTrip);
    ASSERT_TRUE(remembered.has_value());
    EXPECT_TRUE(remembered->isEmpty());
}

TEST_F(BookLoginTest, FirstLoginGivesABookWithoutSettingsAnEmptyRow) {
    f.db().exec(QStringLiteral("INSERT INTO SBook(BName,BPass,BDate,thePX,theJZPX) "
                               "VALUES(?,'',?,5,3)"),
                kTrip, f.state().myToday);
    // What the previously open book left in the state must not leak into this one.
    GlobalState& s = f.state();
    s.myFName = s.myAName = s.myIName = s.myOName = s.myTName = s.myPName = QStringLiteral("旧");
    s.myD_I = s.myD_O = s.myD_C = s.myD_B = s.myD_D = s.myD_T = s.myTX_M = s.myTX_T = true;

    ASSERT_TRUE(login(kTrip, QString(), false, false).ok);
    ASSERT_TRUE(login(kTrip, QString(), false, false).ok);

    const Query row = f.db().query(QStringLiteral("SELECT * FROM SMRX WHERE BName=?"), kTrip);
    ASSERT_EQ(row.recordCount(), 1);
    for (const char* name : {"BPass", "FName", "AName", "IName", "OName", "TName", "PName"})
        EXPECT_EQ(row.text(QLatin1String(name)), QString()) << name;
    for (const char* flag : {"BPassKG", "D_I", "D_O", "D_C", "D_B", "D_D", "D_T", "TX_M", "TX_T"})
        EXPECT_FALSE(row.boolean(QLatin1String(flag))) << flag;

    EXPECT_EQ(s.myFName + s.myAName + s.myIName + s.myOName + s.myTName + s.myPName, QString());
    EXPECT_FALSE(s.myD_I || s.myD_O || s.myD_C || s.myD_B || s.myD_D || s.myD_T || s.myTX_M ||
                 s.myTX_T);
}

TEST_F(BookLoginTest, LoginFillsTheStateFromTheBookAndItsSettings) {
    f.addBook(kTrip, QStringLiteral("abc"), QStringLiteral("2"), QStringLiteral("4"));
    f.state().myBName.clear();
    f.db().exec(QStringLiteral("UPDATE SMRX SET FName='爸爸', AName='工行卡', IName='工资', "
                               "OName='餐饮', TName='基金', PName='老王', D_I=1, D_O=0, D_C=-1, "
                               "D_B=0, D_D=1, D_T=0, TX_M=0, TX_T=1 WHERE BName=?"),
                kTrip);

    ASSERT_TRUE(login(kTrip, QStringLiteral("abc"), false, false).ok);

    const GlobalState& s = f.state();
    EXPECT_EQ(s.myBName, kTrip);
    EXPECT_EQ(s.myPX, QStringLiteral("2"));
    EXPECT_EQ(s.myJZPX, QStringLiteral("4"));
    EXPECT_EQ(
        QStringList({s.myFName, s.myAName, s.myIName, s.myOName, s.myTName, s.myPName}),
        QStringList({QStringLiteral("爸爸"), QStringLiteral("工行卡"), QStringLiteral("工资"),
                     QStringLiteral("餐饮"), QStringLiteral("基金"), QStringLiteral("老王")}));
    EXPECT_EQ(std::vector<bool>(
                  {s.myD_I, s.myD_O, s.myD_C, s.myD_B, s.myD_D, s.myD_T, s.myTX_M, s.myTX_T}),
              std::vector<bool>({true, false, true, false, true, false, false, true}));
}

TEST_F(BookLoginTest, WrongPasswordClosesTheOpenBookAndWritesNothing) {
    f.openBook(kHome);
    f.state().myFName = QStringLiteral("妈妈");

    const BookLogin::Result r = login(kHome, QStringLiteral("124"), true, true);

    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, kWrongPassword);
    EXPECT_EQ(r.focus, BookLogin::Field::Password);
    EXPECT_TRUE(r.bookClosed);
    EXPECT_EQ(f.state().myBName, QString());
    EXPECT_EQ(f.state().myFName, QStringLiteral("妈妈"));
    EXPECT_TRUE(rememberedBooks().isEmpty());
    EXPECT_EQ(rememberedPasswords(kHome), QStringList{QStringLiteral("0:")});
}

TEST_F(BookLoginTest, SqlTypedAsPasswordOrBookOpensNothing) {
    // Too long for a password anyway; refused without opening anything.
    EXPECT_FALSE(login(kHome, QStringLiteral("x' or BName='我家账簿"), true, true).ok);
    EXPECT_EQ(f.state().myBName, QString());
    // These fit in 20 bytes and reach the password check as plain characters.
    for (const auto& [book, password] :
         {std::pair{kHome, QStringLiteral("'or BName='我家账簿")},
          std::pair{kHome, QStringLiteral("' or '1'='1")},
          std::pair{QStringLiteral("x' or '1'='1' --"), QStringLiteral("123")}}) {
        const BookLogin::Result r = login(book, password, true, true);
        EXPECT_FALSE(r.ok) << password.toStdString();
        EXPECT_EQ(r.message, kWrongPassword);
        EXPECT_EQ(f.state().myBName, QString());
    }
    EXPECT_TRUE(rememberedBooks().isEmpty());

    // Quotes are just characters of a password.
    f.db().exec(QStringLiteral("UPDATE SBook SET BPass=? WHERE BName=?"), QStringLiteral("it's"),
                kHome);
    EXPECT_TRUE(login(kHome, QStringLiteral("it's"), false, true).ok);
    EXPECT_EQ(books.rememberedPassword(kHome), QStringLiteral("it's"));
}

TEST_F(BookLoginTest, RefusalsComeInOrderAndLeaveTheOpenBookAlone) {
    f.openBook(kHome);
    const QString elevenChinese = QStringLiteral("一二三四五六七八九十百");

    BookLogin::Result r = login(QString(), elevenChinese, true, true);
    EXPECT_EQ(r.message, QStringLiteral("请选择 账簿！如果没有账簿，请退出后新建账簿。"));
    EXPECT_EQ(r.focus, BookLogin::Field::Book);
    EXPECT_FALSE(r.bookClosed);

    r = login(kHome, elevenChinese, true, true);
    EXPECT_EQ(r.message, kTooLong);
    EXPECT_EQ(r.focus, BookLogin::Field::Password);
    EXPECT_FALSE(r.bookClosed);
    EXPECT_EQ(login(kHome, QString(21, QLatin1Char('a')), true, true).message, kTooLong);

    // Refusals before the password is even looked at keep the book open.
    EXPECT_EQ(f.state().myBName, kHome);
    EXPECT_TRUE(rememberedBooks().isEmpty());

    // Exactly 20 bytes passes the length check and reaches the password check.
    EXPECT_EQ(login(kHome, QStringLiteral("一二三四五六七八九十"), true, true).message,
              kWrongPassword);
    EXPECT_EQ(login(kHome, QStringLiteral("密码abcdefghijklmnop"), true, true).message,
              kWrongPassword);
}

TEST_F(BookLoginTest, GbkLengthCountsChineseAsTwoBytes) {
    EXPECT_EQ(BookLogin::gbkLength(QString()), 0);
    EXPECT_EQ(BookLogin::gbkLength(QStringLiteral("abc123")), 6);
    EXPECT_EQ(BookLogin::gbkLength(QStringLiteral("中文")), 4);
    EXPECT_EQ(BookLogin::gbkLength(QStringLiteral("账a簿，")), 7);
    // Outside GBK a character becomes one replacement byte.
    EXPECT_EQ(BookLogin::gbkLength(QStringLiteral("a😀")), 2);
}

TEST_F(BookLoginTest, BooksSharingAPasswordOpenOnlyByNameAndPasswordTogether) {
    f.addBook(kTrip, QStringLiteral("123"), QStringLiteral("1"), QStringLiteral("2"));
    f.addBook(QStringLiteral("公司账簿"), QStringLiteral("456"));
    f.state().myBName.clear();

    ASSERT_TRUE(login(kTrip, QStringLiteral("123"), false, false).ok);
    EXPECT_EQ(f.state().myBName, kTrip);
    EXPECT_EQ(f.state().myPX, QStringLiteral("1"));
    ASSERT_TRUE(login(kHome, QStringLiteral("123"), false, false).ok);
    EXPECT_EQ(f.state().myBName, kHome);
    EXPECT_EQ(f.state().myPX, QStringLiteral("5"));
    EXPECT_FALSE(login(kHome, QStringLiteral("456"), false, false).ok);
}

TEST_F(BookLoginTest, AFailingWriteLeavesFileAndStateAsTheyWere) {
    f.db().exec(QStringLiteral("UPDATE SMRX SET BPassKG=1, BPass='123'"));
    f.db().execScript(QStringLiteral(
        "CREATE TRIGGER jam BEFORE UPDATE ON SMRX BEGIN SELECT RAISE(ABORT, 'disk full'); END"));
    EXPECT_THROW(login(kHome, QStringLiteral("123"), true, true), DbError);
    EXPECT_TRUE(rememberedBooks().isEmpty());
    EXPECT_EQ(f.state().myBName, QString());

    f.openBook(kHome);
    EXPECT_THROW(BookLogin(f.dm()).changePassword(QStringLiteral("123"), QStringLiteral("9"),
                                                  QStringLiteral("9")),
                 DbError);
    EXPECT_EQ(bookPassword(kHome), QStringLiteral("123"));
}

TEST_F(BookLoginTest, ClosingKeepsDefaultsAndFlags) {
    f.db().exec(QStringLiteral("UPDATE SMRX SET FName='爸爸', TX_T=1 WHERE BName=?"), kHome);
    ASSERT_TRUE(login(kHome, QStringLiteral("123"), false, false).ok);
    books.closeBook();
    EXPECT_EQ(f.state().myBName, QString());
    EXPECT_EQ(f.state().myFName, QStringLiteral("爸爸"));
    EXPECT_TRUE(f.state().myTX_T);
    EXPECT_EQ(f.state().myPX, QStringLiteral("5"));
}

TEST_F(BookLoginTest, ChangePasswordChecksInOrderAndWritesNothingWhenRefused) {
    f.openBook(kHome);
    BookLogin::Result r =
        books.changePassword(QStringLiteral("999"), QStringLiteral("a"), QStringLiteral("b"));
    EXPECT_EQ(r.message, QStringLiteral("原密码错误！"));
    EXPECT_EQ(r.focus, BookLogin::Field::OldPassword);

    r = books.changePassword(QStringLiteral("123"), QStringLiteral("a"), QStringLiteral("b"));
    EXPECT_EQ(r.message, QStringLiteral("新密码与确认密码不一致！"));
    EXPECT_EQ(r.focus, BookLogin::Field::Confirmation);

    // A password the login would refuse must not become the book's.
    const QString elevenChinese = QStringLiteral("一二三四五六七八九十百");
    r = books.changePassword(QStringLiteral("123"), elevenChinese, elevenChinese);
    EXPECT_EQ(r.message, kTooLong);
    EXPECT_EQ(r.focus, BookLogin::Field::NewPassword);

    EXPECT_FALSE(r.ok);
    EXPECT_EQ(bookPassword(kHome), QStringLiteral("123"));

    // With no book open there is no old password to match.
    f.state().myBName.clear();
    EXPECT_EQ(books.changePassword(QString(), QString(), QString()).message,
              QStringLiteral("原密码错误！"));
}

TEST_F(BookLoginTest, ChangedPasswordIsAlsoTheRememberedOne) {
    f.addBook(kTrip, QStringLiteral("123"));
    ASSERT_TRUE(login(kTrip, QStringLiteral("123"), true, true).ok);
    ASSERT_TRUE(login(kHome, QStringLiteral("123"), true, true).ok);

    const BookLogin::Result r = books.changePassword(
        QStringLiteral("123"), QStringLiteral("新密码"), QStringLiteral("新密码"));
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.message, QStringLiteral("密码修改成功！请重新登录！"));

    f.reopen();
    EXPECT_EQ(bookPassword(kHome), QStringLiteral("新密码"));
    EXPECT_EQ(rememberedPasswords(kHome), QStringList{QStringLiteral("1:新密码")});
    // The next start offers the new password and it opens the book.
    BookLogin afterRestart(f.dm());
    const auto offered = afterRestart.rememberedPassword(afterRestart.rememberedBook());
    ASSERT_TRUE(offered.has_value());
    EXPECT_TRUE(login(kHome, *offered, true, true).ok);
    EXPECT_FALSE(login(kHome, QStringLiteral("123"), true, true).ok);
    // The other book with the same old password is untouched.
    EXPECT_EQ(bookPassword(kTrip), QStringLiteral("123"));
    EXPECT_EQ(rememberedPasswords(kTrip), QStringList{QStringLiteral("1:123")});
}

TEST_F(BookLoginTest, ChangingAForgottenPasswordKeepsItForgotten) {
    ASSERT_TRUE(login(kHome, QStringLiteral("123"), true, false).ok);
    ASSERT_TRUE(books.changePassword(QStringLiteral("123"), QString(), QString()).ok);
    EXPECT_EQ(bookPassword(kHome), QString());
    EXPECT_EQ(rememberedPasswords(kHome), QStringList{QStringLiteral("0:")});
    EXPECT_TRUE(login(kHome, QString(), false, false).ok);
}
