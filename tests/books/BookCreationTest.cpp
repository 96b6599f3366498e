#include <gtest/gtest.h>

#include "books/BookCreation.h"
#include "storage/DbError.h"
#include "storage/PinyinCode.h"
#include "support/TempDataFile.h"

using namespace cw;
using Field = BookCreation::Field;
using Fill = BookCreation::Fill;

namespace {

const QString kHome = QStringLiteral("我家账簿");
const QString kToday = QStringLiteral("2026-12-09");

class BookCreationTest : public ::testing::Test {
  protected:
    QStringList names(const QString& table, const QString& column, const QString& book) {
        return f.db()
            .query(QStringLiteral("SELECT %1 FROM %2 WHERE BName=? ORDER BY ID").arg(column, table),
                   book)
            .firstColumn();
    }

    int rowsOf(const QString& table, const QString& book) {
        return int(
            f.db()
                .query(QStringLiteral("SELECT count(*) AS n FROM %1 WHERE BName=?").arg(table),
                       book)
                .integer(QStringLiteral("n")));
    }

    // Every table a new book writes, so "nothing written" is checked everywhere at once.
    int allRowsOf(const QString& book) {
        int n = 0;
        for (const char* t :
             {"SBook", "SMRX", "InD", "OutD", "TD", "SFamily", "SAccount", "PD", "UList"}) {
            n += rowsOf(QLatin1String(t), book);
        }
        return n;
    }

    Query journal(const QString& book) {
        return f.db().query(QStringLiteral("SELECT * FROM UList WHERE BName=? ORDER BY ID"), book);
    }

    // A source book with a bit of everything, some of it used and some disabled.
    void buildSourceBook(const QString& book) {
        ASSERT_TRUE(make.createFirstBook(book, {}, {}, true, true, true).ok());
        f.db().exec(QStringLiteral("UPDATE InD SET theCount=7, theState='停用', Remark='旧' "
                                   "WHERE IName='奖金' AND BName=?"),
                    book);
        f.db().exec(
            QStringLiteral("UPDATE OutD SET theMC=800, theCount=3 WHERE OName='食品' AND BName=?"),
            book);
        ASSERT_TRUE(make.addMember(QStringLiteral("爸爸"), QStringLiteral("父亲"),
                                   QStringLiteral("1970-01-02"), QStringLiteral("户主"))
                        .ok());
        ASSERT_TRUE(make.addMember(QStringLiteral("小明"), {}, {}, {}).ok());
        ASSERT_TRUE(make.openAccount(QStringLiteral("银行卡"), QStringLiteral("爸爸"),
                                     QStringLiteral("工行卡"), 1200.5, QStringLiteral("工资卡"))
                        .ok());
        ASSERT_TRUE(make.openAccount(QStringLiteral("信用卡"), QStringLiteral("爸爸"),
                                     QStringLiteral("招行信用卡"), -300, {})
                        .ok());
        f.dm().AccountDown(200.5, QStringLiteral("工行卡"));  // a posting moved it since
        f.db().exec(QStringLiteral("UPDATE SAccount SET theCount=4, theState='停用' "
                                   "WHERE AName='招行信用卡' AND BName=?"),
                    book);
        f.db().exec(QStringLiteral("INSERT INTO PD(BName,PName,thePY,Remark,theState,theCount) "
                                   "VALUES(?,'老王','LW','邻居','启用',2)"),
                    book);
    }

    test::TempDataFile f;
    BookCreation make{f.dm()};
};

TEST_F(BookCreationTest, SeedListsHoldTheirNamesInOrder) {
    const QStringList& in = BookCreation::incomeSeeds();
    const QStringList& out = BookCreation::expenseSeeds();
    const QStringList& inv = BookCreation::investmentSeeds();
    ASSERT_EQ(in.size(), 14);
    ASSERT_EQ(out.size(), 50);
    ASSERT_EQ(inv.size(), 9);
    // The two "赡养费" and the two "网银" are deliberate: each list has its own.
    EXPECT_EQ(out[32], QStringLiteral("赡养费"));
    EXPECT_EQ(in.last(), out.last());
    EXPECT_EQ(BookCreation::defaultBookName(0), kHome);
    EXPECT_EQ(BookCreation::defaultBookName(1), QStringLiteral("我家账簿1"));
}

TEST_F(BookCreationTest, FirstBookWritesBookSeedsAndSettingsAndBecomesTheBook) {
    const auto r = make.createFirstBook(kHome, QStringLiteral("pw"), QStringLiteral("家庭开支"),
                                        true, true, true);
    ASSERT_TRUE(r.ok()) << r.message.toStdString();
    EXPECT_EQ(f.state().myBName, kHome);
    EXPECT_EQ(make.bookCount(), 1);

    const Query book = f.db().query(QStringLiteral("SELECT * FROM SBook"));
    ASSERT_EQ(book.recordCount(), 1);
    EXPECT_EQ(book.text(QStringLiteral("BName")), kHome);
    EXPECT_EQ(book.text(QStringLiteral("BPass")), QStringLiteral("pw"));
    EXPECT_EQ(book.text(QStringLiteral("BDate")), kToday);
    EXPECT_EQ(book.text(QStringLiteral("Remark")), QStringLiteral("家庭开支"));
    EXPECT_EQ(book.text(QStringLiteral("thePX")), QStringLiteral("5"));
    EXPECT_EQ(book.text(QStringLiteral("theJZPX")), QStringLiteral("3"));

    EXPECT_EQ(names(QStringLiteral("InD"), QStringLiteral("IName"), kHome),
              BookCreation::incomeSeeds());
    EXPECT_EQ(names(QStringLiteral("OutD"), QStringLiteral("OName"), kHome),
              BookCreation::expenseSeeds());
    EXPECT_EQ(names(QStringLiteral("TD"), QStringLiteral("TName"), kHome),
              BookCreation::investmentSeeds());
    using Pair = std::pair<const char*, const char*>;
    for (const auto& [table, column] :
         {Pair{"InD", "IName"}, Pair{"OutD", "OName"}, Pair{"TD", "TName"}}) {
        Query q =
            f.db().query(QStringLiteral("SELECT %1 AS n, thePY, Remark, theState, theCount FROM %2")
                             .arg(QLatin1String(column), QLatin1String(table)));
        for (q.first(); !q.eof(); q.next()) {
            SCOPED_TRACE(q.text(QStringLiteral("n")).toStdString());
            EXPECT_EQ(q.text(QStringLiteral("thePY")), PinyinCode::of(q.text(QStringLiteral("n"))));
            EXPECT_EQ(q.text(QStringLiteral("Remark")), QString());
            EXPECT_EQ(q.text(QStringLiteral("theState")), QStringLiteral("启用"));
            EXPECT_EQ(q.integer(QStringLiteral("theCount")), 0);
        }
    }
    EXPECT_EQ(f.db()
                  .query(QStringLiteral("SELECT thePY FROM InD WHERE IName='工资'"))
                  .text(QStringLiteral("thePY")),
              QStringLiteral("GZ"));
    EXPECT_EQ(f.db()
                  .query(QStringLiteral("SELECT count(*) AS n FROM OutD WHERE theMC=0"))
                  .integer(QStringLiteral("n")),
              50);

    const Query s = f.db().query(QStringLiteral("SELECT * FROM SMRX"));
    ASSERT_EQ(s.recordCount(), 1);
    EXPECT_EQ(s.text(QStringLiteral("BName")), kHome);
    EXPECT_EQ(s.integer(QStringLiteral("BPassKG")), 0);
    for (const char* c : {"BPass", "FName", "AName", "IName", "OName", "TName", "PName"}) {
        EXPECT_EQ(s.text(QLatin1String(c)), QString()) << c;
    }
    for (const char* c : {"D_I", "D_O", "D_C", "D_B", "D_D", "D_T", "TX_T"}) {
        EXPECT_EQ(s.integer(QLatin1String(c)), 0) << c;
    }
    EXPECT_EQ(s.integer(QStringLiteral("TX_M")), -1);

    // Everything reached the file, not just the connection.
    f.reopen();
    EXPECT_EQ(f.count(QStringLiteral("OutD")), 50);
}

TEST_F(BookCreationTest, UntickedSeedListsStayEmpty) {
    ASSERT_TRUE(make.createFirstBook(kHome, {}, {}, false, true, false).ok());
    EXPECT_EQ(rowsOf(QStringLiteral("InD"), kHome), 0);
    EXPECT_EQ(rowsOf(QStringLiteral("OutD"), kHome), 50);
    EXPECT_EQ(rowsOf(QStringLiteral("TD"), kHome), 0);
    EXPECT_EQ(rowsOf(QStringLiteral("SMRX"), kHome), 1);
}

TEST_F(BookCreationTest, NewBookChecksStopAtTheFirstFailureInOrder) {
    auto r = make.checkNewBook({}, QStringLiteral("a"), QStringLiteral("b"));
    EXPECT_EQ(r.message, QStringLiteral("新密码与确认密码不一致！"));
    EXPECT_EQ(r.focus, Field::Password);

    r = make.checkNewBook({}, {}, {});
    EXPECT_EQ(r.message, QStringLiteral("账簿名称 不能为空！"));
    EXPECT_EQ(r.focus, Field::BookName);

    EXPECT_TRUE(make.checkNewBook(kHome, {}, {}).ok());  // empty passwords are fine
    ASSERT_TRUE(make.createFirstBook(kHome, {}, {}, true, true, true).ok());
    r = make.checkNewBook(kHome, QStringLiteral("x"), QStringLiteral("x"));
    EXPECT_EQ(r.message, QStringLiteral("账簿名称 重复，请重新录入！"));
    EXPECT_EQ(r.focus, Field::BookName);
    EXPECT_TRUE(make.checkNewBook(QStringLiteral("我家账簿 "), {}, {}).ok());
}

TEST_F(BookCreationTest, RefusedBooksWriteNothing) {
    ASSERT_TRUE(make.createFirstBook(kHome, {}, {}, true, true, true).ok());
    const int before = allRowsOf(kHome);

    auto r = make.createFirstBook(kHome, QStringLiteral("new"), QStringLiteral("again"), true, true,
                                  true);
    EXPECT_EQ(r.message, QStringLiteral("账簿名称 重复，请重新录入！"));
    r = make.createAdditionalBook(kHome, {}, {}, BookCreation::defaultGroups());
    EXPECT_EQ(r.message, QStringLiteral("账簿名称 重复，请重新录入！"));
    r = make.createAdditionalBook({}, {}, {}, BookCreation::defaultGroups());
    EXPECT_EQ(r.message, QStringLiteral("账簿名称 不能为空！"));

    EXPECT_EQ(allRowsOf(kHome), before);
    EXPECT_EQ(allRowsOf(QString()), 0);
    EXPECT_EQ(make.bookCount(), 1);
}

TEST_F(BookCreationTest, NamesWithQuotesAndSignsAreStoredAndFoundExactly) {
    const QString odd = QStringLiteral("O'Brien \"家\" 100%_\\");
    ASSERT_TRUE(
        make.createFirstBook(odd, QStringLiteral("p'w"), QStringLiteral("it's"), true, false, false)
            .ok());
    EXPECT_EQ(rowsOf(QStringLiteral("InD"), odd), 14);
    EXPECT_TRUE(make.bookExists(odd));
    EXPECT_FALSE(make.bookExists(QStringLiteral("O'Brien")));
    EXPECT_EQ(make.checkNewBook(odd, {}, {}).message,
              QStringLiteral("账簿名称 重复，请重新录入！"));

    const QString member = QStringLiteral("Tom's \"妈\"");
    ASSERT_TRUE(make.addMember(member, QStringLiteral("'母亲'"), {}, {}).ok());
    EXPECT_EQ(make.addMember(member, {}, {}, {}).message, QStringLiteral("姓名添加重复！"));
    ASSERT_TRUE(make.openAccount(QStringLiteral("现金"), member, QStringLiteral("妈's 钱包"), 1,
                                 QStringLiteral("a'b"))
                    .ok());
    EXPECT_EQ(journal(odd).text(QStringLiteral("AName")), QStringLiteral("妈's 钱包"));
    EXPECT_EQ(journal(odd).text(QStringLiteral("Remark")), QStringLiteral("a'b"));
}

TEST_F(BookCreationTest, MembersAreCheckedAddedAndDeletedInTheOpenBookOnly) {
    ASSERT_TRUE(make.createFirstBook(QStringLiteral("别家"), {}, {}, false, false, false).ok());
    ASSERT_TRUE(make.addMember(QStringLiteral("爸爸"), {}, {}, {}).ok());
    ASSERT_TRUE(make.createFirstBook(kHome, {}, {}, false, false, false).ok());

    auto r = make.addMember({}, QStringLiteral("父亲"), {}, {});
    EXPECT_EQ(r.message, QStringLiteral("姓名不能为空！请重新录入！"));
    EXPECT_EQ(r.focus, Field::MemberName);

    // The same name in another book is no duplicate here.
    r = make.addMember(QStringLiteral("爸爸"), QStringLiteral("父亲"), QStringLiteral("1970-05-06"),
                       QStringLiteral("户主"));
    ASSERT_TRUE(r.ok());
    r = make.addMember(QStringLiteral("爸爸"), {}, {}, {});
    EXPECT_EQ(r.message, QStringLiteral("姓名添加重复！"));
    EXPECT_EQ(r.focus, Field::None);
    EXPECT_EQ(rowsOf(QStringLiteral("SFamily"), kHome), 1);

    Query m = make.members();
    ASSERT_EQ(m.recordCount(), 1);
    EXPECT_EQ(m.text(QStringLiteral("姓名")), QStringLiteral("爸爸"));
    EXPECT_EQ(m.text(QStringLiteral("拼音码")), QStringLiteral("BB"));
    EXPECT_EQ(m.text(QStringLiteral("关系")), QStringLiteral("父亲"));
    EXPECT_EQ(m.text(QStringLiteral("生日")), QStringLiteral("1970-05-06"));
    EXPECT_EQ(m.text(QStringLiteral("备注")), QStringLiteral("户主"));
    EXPECT_EQ(m.text(QStringLiteral("帐薄名称")), kHome);

    // An ID of another book's row does nothing here.
    const qint64 other = f.db()
                             .query(QStringLiteral("SELECT ID FROM SFamily WHERE BName='别家'"))
                             .integer(QStringLiteral("ID"));
    make.deleteMember(other);
    EXPECT_EQ(rowsOf(QStringLiteral("SFamily"), QStringLiteral("别家")), 1);
    make.deleteMember(m.integer(QStringLiteral("ID")));
    EXPECT_EQ(rowsOf(QStringLiteral("SFamily"), kHome), 0);
}

TEST_F(BookCreationTest, AccountChecksStopAtTheFirstFailureInOrder) {
    ASSERT_TRUE(make.createFirstBook(kHome, {}, {}, false, false, false).ok());
    struct Case {
        QString type, member, name, amount, message;
        Field focus;
    };
    const QList<Case> cases = {
        {{}, {}, {}, {}, QStringLiteral("请选择 账户分类！"), Field::AccountType},
        {QStringLiteral("现金"),
         {},
         {},
         {},
         QStringLiteral("请选择 家庭成员！"),
         Field::AccountMember},
        {QStringLiteral("现金"),
         QStringLiteral("爸爸"),
         {},
         {},
         QStringLiteral("账户名称不能为空！请重新录入！"),
         Field::AccountName},
        {QStringLiteral("现金"),
         QStringLiteral("爸爸"),
         QStringLiteral("钱包"),
         {},
         QStringLiteral("初始金额不能为空！请重新录入！"),
         Field::Amount},
        {QStringLiteral("现金"), QStringLiteral("爸爸"), QStringLiteral("钱包"),
         QStringLiteral("-"), QStringLiteral("初始金额不能为空！请重新录入！"), Field::Amount},
    };
    for (const Case& c : cases) {
        const auto r = make.checkAccount(c.type, c.member, c.name, c.amount);
        EXPECT_EQ(r.message, c.message);
        EXPECT_EQ(r.focus, c.focus);
    }
    EXPECT_TRUE(make.checkAccount(QStringLiteral("现金"), QStringLiteral("爸爸"),
                                  QStringLiteral("钱包"), QStringLiteral("-12.5"))
                    .ok());

    ASSERT_TRUE(make.openAccount(QStringLiteral("现金"), QStringLiteral("爸爸"),
                                 QStringLiteral("钱包"), 0, {})
                    .ok());
    const auto r = make.openAccount(QStringLiteral("银行卡"), QStringLiteral("妈妈"),
                                    QStringLiteral("钱包"), 10, {});
    EXPECT_EQ(r.message, QStringLiteral("账户名称添加重复！"));
    EXPECT_EQ(r.focus, Field::None);
    EXPECT_EQ(rowsOf(QStringLiteral("SAccount"), kHome), 1);
    EXPECT_EQ(rowsOf(QStringLiteral("UList"), kHome), 1);
}

TEST_F(BookCreationTest, OpeningAnAccountWritesItsOpeningJournalRow) {
    ASSERT_TRUE(make.createFirstBook(kHome, {}, {}, false, false, false).ok());
    const auto r = make.openAccount(QStringLiteral("信用卡"), QStringLiteral("妈妈"),
                                    QStringLiteral("招行卡"), -500.004, QStringLiteral("透支"));
    ASSERT_TRUE(r.ok());

    Query a = make.accounts();
    ASSERT_EQ(a.recordCount(), 1);
    EXPECT_EQ(a.integer(QStringLiteral("ID")), r.id);
    EXPECT_EQ(a.text(QStringLiteral("账户分类")), QStringLiteral("信用卡"));
    EXPECT_EQ(a.text(QStringLiteral("家庭成员")), QStringLiteral("妈妈"));
    EXPECT_EQ(a.text(QStringLiteral("账户名称")), QStringLiteral("招行卡"));
    EXPECT_EQ(a.text(QStringLiteral("拼音码")), QStringLiteral("ZHK"));
    EXPECT_EQ(a.number(QStringLiteral("初始金额")), -500.0);
    EXPECT_EQ(a.text(QStringLiteral("备注")), QStringLiteral("透支"));
    EXPECT_EQ(a.text(QStringLiteral("状态")), QStringLiteral("启用"));

    const Query j = journal(kHome);
    ASSERT_EQ(j.recordCount(), 1);
    EXPECT_EQ(j.text(QStringLiteral("theDate")), kToday);
    EXPECT_EQ(j.text(QStringLiteral("theType")), QStringLiteral("开户"));
    EXPECT_EQ(j.text(QStringLiteral("Remark")), QStringLiteral("透支"));
    EXPECT_EQ(j.number(QStringLiteral("theIn")), -500.0);
    EXPECT_EQ(j.number(QStringLiteral("theOut")), 0.0);
    EXPECT_EQ(j.text(QStringLiteral("AName")), QStringLiteral("招行卡"));
    EXPECT_EQ(j.number(QStringLiteral("AMoney")), -500.0);
    EXPECT_EQ(j.text(QStringLiteral("FName")), QStringLiteral("妈妈"));
    EXPECT_EQ(j.text(QStringLiteral("theT")), QStringLiteral("SAccount"));
    EXPECT_EQ(j.integer(QStringLiteral("theID")), r.id);
    EXPECT_EQ(j.text(QStringLiteral("theE")), QStringLiteral("新增"));
}

TEST_F(BookCreationTest, OnlyAnAccountWithNothingInItIsDeleted) {
    ASSERT_TRUE(make.createFirstBook(kHome, {}, {}, false, false, false).ok());
    const QString refusal =
        QStringLiteral("账户余额不为零，不能删除；若要删除，请将该账户余额转账到其它账户后删除！");
    const auto open = [&](const QString& name, double amount) {
        return make.openAccount(QStringLiteral("现金"), QStringLiteral("爸爸"), name, amount, {})
            .id;
    };
    const qint64 half = open(QStringLiteral("半元"), 0.5);
    const qint64 owing = open(QStringLiteral("欠三元"), -3);
    const qint64 empty = open(QStringLiteral("空"), 0);
    const qint64 dust = open(QStringLiteral("零头"), 0.004);  // stored rounded: nothing in it

    EXPECT_EQ(make.checkDeleteAccount(half).message, refusal);
    EXPECT_EQ(make.deleteAccount(half).message, refusal);
    EXPECT_EQ(make.deleteAccount(owing).message, refusal);
    EXPECT_TRUE(make.deleteAccount(empty).ok());
    EXPECT_TRUE(make.deleteAccount(dust).ok());

    EXPECT_EQ(names(QStringLiteral("SAccount"), QStringLiteral("AName"), kHome),
              (QStringList{QStringLiteral("半元"), QStringLiteral("欠三元")}));
    EXPECT_EQ(rowsOf(QStringLiteral("UList"), kHome), 4);  // deleting leaves the journal alone
}

TEST_F(BookCreationTest, AdditionalBookCopiesSeedsOrLeavesEachGroup) {
    const QString src = QStringLiteral("老账簿");
    buildSourceBook(src);
    const int sourceRows = allRowsOf(src);
    const QString sourceAccounts =
        names(QStringLiteral("SAccount"), QStringLiteral("AName"), src).join(QLatin1Char('|'));

    BookCreation::Groups g;
    g[BookCreation::Income] = {Fill::Copy, src};
    g[BookCreation::Expense] = {Fill::Copy, src};
    g[BookCreation::Investment] = {Fill::Empty, {}};
    g[BookCreation::Members] = {Fill::Copy, src};
    g[BookCreation::Accounts] = {Fill::Copy, src};
    g[BookCreation::Contacts] = {Fill::Copy, src};
    const QString book = QStringLiteral("新账簿");
    const auto r = make.createAdditionalBook(book, QStringLiteral("1"), QStringLiteral("备"), g);
    ASSERT_TRUE(r.ok()) << r.message.toStdString();
    EXPECT_EQ(f.state().myBName, src);  // the new book is opened by logging in

    const Query b = f.db().query(QStringLiteral("SELECT * FROM SBook WHERE BName=?"), book);
    EXPECT_EQ(b.text(QStringLiteral("BPass")), QStringLiteral("1"));
    EXPECT_EQ(b.text(QStringLiteral("BDate")), kToday);
    EXPECT_EQ(b.text(QStringLiteral("thePX")), QStringLiteral("5"));
    EXPECT_EQ(b.text(QStringLiteral("theJZPX")), QStringLiteral("3"));
    EXPECT_EQ(f.db()
                  .query(QStringLiteral("SELECT TX_M FROM SMRX WHERE BName=?"), book)
                  .integer(QStringLiteral("TX_M")),
              -1);

    // Categories with their states, counts, remarks and caps as they were.
    const auto same = [&](const QString& sql) {
        EXPECT_EQ(f.db().query(sql, src).firstColumn(), f.db().query(sql, book).firstColumn())
            << sql.toStdString();
    };
    same(
        QStringLiteral("SELECT IName||thePY||Remark||theState||theCount FROM InD "
                       "WHERE BName=? ORDER BY ID"));
    same(
        QStringLiteral("SELECT OName||thePY||theState||theCount||'/'||theMC FROM OutD "
                       "WHERE BName=? ORDER BY ID"));
    same(
        QStringLiteral("SELECT FName||thePY||theGX||BirDate||Remark FROM SFamily "
                       "WHERE BName=? ORDER BY ID"));
    same(
        QStringLiteral("SELECT AName||thePY||theType||FName||AMoney||Remark||theState||theCount "
                       "FROM SAccount WHERE BName=? ORDER BY ID"));
    same(
        QStringLiteral("SELECT PName||thePY||Remark||theState||theCount FROM PD "
                       "WHERE BName=? ORDER BY ID"));
    EXPECT_EQ(rowsOf(QStringLiteral("InD"), book), 14);
    EXPECT_EQ(rowsOf(QStringLiteral("TD"), book), 0);

    // Each copied balance is explained by an opening row of the new book.
    const Query accounts =
        f.db().query(QStringLiteral("SELECT ID, AName, FName, AMoney, Remark FROM SAccount "
                                    "WHERE BName=? ORDER BY ID"),
                     book);
    Query j = journal(book);
    ASSERT_EQ(j.recordCount(), 2);
    Query a = accounts;
    for (a.first(), j.first(); !a.eof(); a.next(), j.next()) {
        EXPECT_EQ(j.text(QStringLiteral("theDate")), kToday);
        EXPECT_EQ(j.text(QStringLiteral("theType")), QStringLiteral("开户"));
        EXPECT_EQ(j.text(QStringLiteral("AName")), a.text(QStringLiteral("AName")));
        EXPECT_EQ(j.text(QStringLiteral("FName")), a.text(QStringLiteral("FName")));
        EXPECT_EQ(j.text(QStringLiteral("Remark")), a.text(QStringLiteral("Remark")));
        EXPECT_EQ(j.number(QStringLiteral("theIn")), a.number(QStringLiteral("AMoney")));
        EXPECT_EQ(j.number(QStringLiteral("theOut")), 0.0);
        EXPECT_EQ(j.number(QStringLiteral("AMoney")), a.number(QStringLiteral("AMoney")));
        EXPECT_EQ(j.text(QStringLiteral("theT")), QStringLiteral("SAccount"));
        EXPECT_EQ(j.integer(QStringLiteral("theID")), a.integer(QStringLiteral("ID")));
        EXPECT_EQ(j.text(QStringLiteral("theE")), QStringLiteral("新增"));
    }
    a.first();
    EXPECT_EQ(a.number(QStringLiteral("AMoney")), 1000.0);  // the balance now, not the opening

    // The source book is untouched.
    EXPECT_EQ(allRowsOf(src), sourceRows);
    EXPECT_EQ(
        names(QStringLiteral("SAccount"), QStringLiteral("AName"), src).join(QLatin1Char('|')),
        sourceAccounts);
    EXPECT_EQ(rowsOf(QStringLiteral("UList"), src), 2);
}

TEST_F(BookCreationTest, AdditionalBookWithDefaultsSeedsCategoriesOnly) {
    buildSourceBook(QStringLiteral("老账簿"));
    const QString book = QStringLiteral("我家账簿1");
    ASSERT_TRUE(make.createAdditionalBook(book, {}, {}, BookCreation::defaultGroups()).ok());
    EXPECT_EQ(names(QStringLiteral("InD"), QStringLiteral("IName"), book),
              BookCreation::incomeSeeds());
    EXPECT_EQ(names(QStringLiteral("OutD"), QStringLiteral("OName"), book),
              BookCreation::expenseSeeds());
    EXPECT_EQ(names(QStringLiteral("TD"), QStringLiteral("TName"), book),
              BookCreation::investmentSeeds());
    for (const char* t : {"SFamily", "SAccount", "PD", "UList"}) {
        EXPECT_EQ(rowsOf(QLatin1String(t), book), 0) << t;
    }
    EXPECT_EQ(make.bookCount(), 2);
}

TEST_F(BookCreationTest, ACopyWithoutABookRefusesBeforeAnythingIsWritten) {
    buildSourceBook(QStringLiteral("老账簿"));
    const QString book = QStringLiteral("新账簿");
    BookCreation::Groups g = BookCreation::defaultGroups();
    g[BookCreation::Members] = {Fill::Copy, QStringLiteral("老账簿")};
    g[BookCreation::Accounts] = {Fill::Copy, {}};
    g[BookCreation::Contacts] = {Fill::Copy, {}};

    auto r = make.createAdditionalBook(book, {}, {}, g);
    EXPECT_EQ(r.message, QStringLiteral("请选择 账簿名称！"));
    EXPECT_EQ(r.focus, Field::SourceBook);
    EXPECT_EQ(r.group, BookCreation::Accounts);  // the first group that fails
    EXPECT_EQ(allRowsOf(book), 0);

    // The book checks come first; then the book can be saved once the group is fixed.
    r = make.createAdditionalBook(QStringLiteral("老账簿"), {}, {}, g);
    EXPECT_EQ(r.message, QStringLiteral("账簿名称 重复，请重新录入！"));
    g[BookCreation::Accounts].fill = Fill::Empty;
    g[BookCreation::Contacts].fill = Fill::Empty;
    ASSERT_TRUE(make.createAdditionalBook(book, {}, {}, g).ok());
    EXPECT_EQ(rowsOf(QStringLiteral("SFamily"), book), 2);
}

TEST_F(BookCreationTest, AFailingWriteLeavesNoHalfBook) {
    buildSourceBook(QStringLiteral("老账簿"));
    BookCreation::Groups g = BookCreation::defaultGroups();
    g[BookCreation::Accounts] = {Fill::Copy, QStringLiteral("老账簿")};
    g[BookCreation::Contacts] = {Fill::Copy, QStringLiteral("老账簿")};
    // Contacts come last: make their copy fail after everything else was written.
    f.db().execScript(QStringLiteral("DROP TABLE PD"));
    const QString book = QStringLiteral("新账簿");
    EXPECT_THROW(make.createAdditionalBook(book, {}, {}, g), DbError);
    for (const char* t : {"SBook", "SMRX", "InD", "OutD", "TD", "SFamily", "SAccount", "UList"}) {
        EXPECT_EQ(rowsOf(QLatin1String(t), book), 0) << t;
    }
    EXPECT_EQ(f.state().myBName, QStringLiteral("老账簿"));
}

}  // namespace
