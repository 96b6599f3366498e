#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QFile>
#include <QTemporaryDir>

#include "storage/DataFile.h"
#include "storage/Database.h"
#include "storage/DbError.h"
#include "storage/Money.h"
#include "storage/Transaction.h"
#include "support/TempDataFile.h"

using namespace cw;

namespace {

QByteArray fileHash(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

QString openError(const QString& path, const QString& password = Database::kFilePassword) {
    try {
        Database::open(path, password);
    } catch (const DbError& e) {
        return e.message();
    }
    return {};
}

}  // namespace

TEST(DeliveredFile, HoldsEveryTableSettingsRowAndAccountTypes) {
    test::TempDataFile f;
    const QStringList tables = {"SBook",    "SMRX",     "SMRB",   "SBase",   "SAType", "SFamily",
                                "PD",       "SAccount", "InD",    "OutD",    "TD",     "InTable",
                                "OutTable", "ChangeT",  "Borrow", "BorrowR", "BList",  "Debt",
                                "DebtR",    "DList",    "TTable", "TTableR", "TList",  "UList",
                                "SZTable",  "UPlan",    "UWarn",  "UThing"};
    for (const QString& t : tables) EXPECT_TRUE(f.db().hasTable(t)) << t.toStdString();

    const Query base = f.db().query(QStringLiteral("SELECT theB FROM SBase WHERE ID=1"));
    ASSERT_EQ(base.recordCount(), 1);
    EXPECT_EQ(base.text("theB"), QStringLiteral("是"));

    const QStringList types = f.dm().DBComSAType();
    for (const char* t : {"现金", "银行卡", "信用卡", "电子账户", "其它"}) {
        EXPECT_TRUE(types.contains(QString::fromUtf8(t))) << t;
    }
    EXPECT_EQ(f.count("SBook"), 0);
    EXPECT_EQ(f.count("UList"), 0);
}

TEST(DeliveredFile, NumericColumnsStartAtZeroAndIdsAreNeverReused) {
    test::TempDataFile f;
    f.addBook("家");
    f.db().exec(QStringLiteral("INSERT INTO Borrow(BName, BPro) VALUES('家', '老王')"));
    const Query q = f.db().query(QStringLiteral("SELECT BMoney, RMoney, Remark FROM Borrow"));
    EXPECT_EQ(q.number("BMoney"), 0.0);
    EXPECT_EQ(q.number("RMoney"), 0.0);
    EXPECT_EQ(q.text("Remark"), QString());

    const qint64 first = f.db().lastInsertId();
    f.db().exec(QStringLiteral("DELETE FROM Borrow"));
    f.db().exec(QStringLiteral("INSERT INTO Borrow(BName) VALUES('家')"));
    EXPECT_GT(f.db().lastInsertId(), first);
}

TEST(DeliveredFile, MakerRefusesToOverwrite) {
    test::TempDataFile f;
    const QByteArray before = fileHash(f.dataPath());
    EXPECT_THROW(DataFile::make(f.dataPath()), DbError);
    EXPECT_EQ(fileHash(f.dataPath()), before);
}

TEST(OpeningTheFile, WrongKeyForeignAndEmptyFilesFailNamingTheFileAndWriteNothing) {
    QTemporaryDir dir;
    const QString good = dir.filePath("db.kbk");
    DataFile::make(good);
    const QByteArray before = fileHash(good);

    const QString wrongKey = openError(good, QStringLiteral("not-the-password"));
    EXPECT_TRUE(wrongKey.contains(good)) << wrongKey.toStdString();
    EXPECT_TRUE(wrongKey.contains(QStringLiteral("密码不对"))) << wrongKey.toStdString();
    EXPECT_EQ(fileHash(good), before);
    EXPECT_FALSE(QFile::exists(good + "-journal"));

    const QString text = dir.filePath("notes.kbk");
    {
        QFile t(text);
        ASSERT_TRUE(t.open(QIODevice::WriteOnly));
        t.write(QByteArray(4096, 'x'));
    }
    const QByteArray textBefore = fileHash(text);
    EXPECT_FALSE(openError(text).isEmpty());
    EXPECT_EQ(fileHash(text), textBefore);

    const QString empty = dir.filePath("empty.kbk");
    QFile(empty).open(QIODevice::WriteOnly);
    EXPECT_TRUE(openError(empty).contains(empty));
    EXPECT_EQ(QFileInfo(empty).size(), 0);

    const QString missing = dir.filePath("none.kbk");
    EXPECT_TRUE(openError(missing).contains(QStringLiteral("不存在")));
    EXPECT_FALSE(QFile::exists(missing));
}

TEST(OpeningTheFile, AnEncryptedDatabaseWithoutOurTablesIsNotADataFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("other.kbk");
    {
        auto db = Database::create(path);
        db->execScript("CREATE TABLE t(x)");
    }
    EXPECT_TRUE(openError(path).contains(QStringLiteral("不是 Coinwick 的数据文件")));
}

TEST(Statements, ValuesRoundTripExactly) {
    test::TempDataFile f;
    f.addBook("家");
    const QStringList names = {QStringLiteral("O'Brien \"x\""), QStringLiteral("100%_off\\n"),
                               QStringLiteral("（全角）＋％"),
                               QStringLiteral("一二三四五六七八九十一二三四五六七八九十"),
                               QStringLiteral("x' or BName='家")};
    for (const QString& n : names) {
        f.db().exec(QStringLiteral("INSERT INTO PD(BName, PName, Remark) VALUES(?,?,?)"),
                    QStringLiteral("家"), n, n);
        const Query q =
            f.db().query(QStringLiteral("SELECT PName, Remark FROM PD WHERE PName=?"), n);
        ASSERT_EQ(q.recordCount(), 1) << n.toStdString();
        EXPECT_EQ(q.text("PName"), n);
        EXPECT_EQ(q.text("Remark"), n);
    }
    // The pasted-SQL form would have matched every row; bound, it matches none.
    EXPECT_EQ(f.db()
                  .query(QStringLiteral("SELECT ID FROM PD WHERE PName=?"),
                         QStringLiteral("x' or '1'='1"))
                  .recordCount(),
              0);
}

TEST(Statements, ReadsByAliasAsTextNumberAndBoolean) {
    test::TempDataFile f;
    f.db().exec(QStringLiteral("INSERT INTO SMRX(BName, TX_M) VALUES('家', -1)"));
    f.db().exec(QStringLiteral("INSERT INTO SMRX(BName) VALUES('空')"));
    Query q =
        f.db().query(QStringLiteral("SELECT BName AS 账簿, TX_M AS 提醒, NULL AS 空值, 100.5 AS "
                                    "金额, 3 AS 数 FROM SMRX ORDER BY ID"));
    ASSERT_EQ(q.recordCount(), 2);
    q.first();
    EXPECT_EQ(q.text("账簿"), QStringLiteral("家"));
    EXPECT_TRUE(q.boolean("提醒"));
    EXPECT_EQ(q.text("空值"), QString());
    EXPECT_EQ(q.number("空值"), 0.0);
    EXPECT_FALSE(q.boolean("空值"));
    EXPECT_EQ(q.text("金额"), QStringLiteral("100.5"));
    EXPECT_EQ(q.text("数"), QStringLiteral("3"));
    q.next();
    EXPECT_FALSE(q.boolean("提醒"));
    q.next();
    EXPECT_TRUE(q.eof());
    EXPECT_THROW(q.text("账簿"), DbError);
}

TEST(Statements, LeftCountsCharactersNotBytes) {
    test::TempDataFile f;
    const Query q = f.db().query(QStringLiteral(
        "SELECT Left('2026-12-09', 7) AS m, Left('2026-12-09', 4) AS y, Left('工资收入', 2) AS c, "
        "Left('ab', 5) AS s, Left(NULL, 2) AS n"));
    EXPECT_EQ(q.text("m"), QStringLiteral("2026-12"));
    EXPECT_EQ(q.text("y"), QStringLiteral("2026"));
    EXPECT_EQ(q.text("c"), QStringLiteral("工资"));
    EXPECT_EQ(q.text("s"), QStringLiteral("ab"));
    EXPECT_EQ(q.text("n"), QString());
}

TEST(Statements, EngineMessageTravelsInTheException) {
    test::TempDataFile f;
    try {
        f.db().exec(QStringLiteral("INSERT INTO NoSuchTable(x) VALUES(1)"));
        FAIL() << "no exception";
    } catch (const DbError& e) {
        EXPECT_TRUE(e.message().contains("no such table")) << e.what();
        EXPECT_TRUE(e.message().contains("NoSuchTable"));
    }
}

TEST(Statements, StatementsAreMovable) {
    test::TempDataFile f;
    Statement a = f.db().prepare(QStringLiteral("SELECT theName FROM SAType ORDER BY ID"));
    Statement b = std::move(a);
    ASSERT_TRUE(b.step());
    EXPECT_EQ(b.text(0), QStringLiteral("现金"));
}

TEST(Statements, KeptStatementsComeBackResetAndServeOnlyTheirOwnFile) {
    test::TempDataFile f;
    f.addBook("家");
    const QString sql = QStringLiteral("SELECT BName FROM SBook ORDER BY ID");
    {
        // Left after its first row: back in the cache it holds no read lock and no values.
        Statement st = f.db().prepare(sql);
        ASSERT_TRUE(st.step());
    }
    f.db().exec(QStringLiteral("INSERT INTO SBook(BName) VALUES('另一个')"));
    {
        // The same text twice at once: the second is prepared afresh, both read from the top.
        Statement a = f.db().prepare(sql);
        Statement b = f.db().prepare(sql);
        ASSERT_TRUE(a.step());
        ASSERT_TRUE(b.step());
        EXPECT_EQ(a.text(0), QStringLiteral("家"));
        EXPECT_EQ(b.text(0), QStringLiteral("家"));
        ASSERT_TRUE(a.step());
        EXPECT_EQ(a.text(0), QStringLiteral("另一个"));
    }
    const QString byName = QStringLiteral("SELECT count(*) FROM SBook WHERE BName=?");
    EXPECT_EQ(f.db().query(byName, QStringLiteral("家")).value(0, 0).toInt(), 1);
    {
        // A kept statement forgets the value bound by its last user.
        Statement st = f.db().prepare(byName);
        ASSERT_TRUE(st.step());
        EXPECT_EQ(st.integer(0), 0);
    }

    // Another file copied in: statements kept for the old rows are never handed out.
    const QString other = f.programDir() + QStringLiteral("/other.kbk");
    {
        test::TempDataFile g;
        g.addBook("别人家");
        g.db().backupTo(other);
    }
    // A list still reading the old rows does not stand in the way; it starts again from the top.
    Statement open = f.db().prepare(sql);
    ASSERT_TRUE(open.step());
    f.db().copyFrom(other);
    EXPECT_EQ(f.db().query(sql).text("BName"), QStringLiteral("别人家"));
    EXPECT_EQ(f.db().query(byName, QStringLiteral("家")).value(0, 0).toInt(), 0);
    ASSERT_TRUE(open.step());
    EXPECT_EQ(open.text(0), QStringLiteral("别人家"));
}

TEST(Statements, AStatementMayOutliveItsConnection) {
    std::unique_ptr<Statement> st;
    {
        test::TempDataFile f;
        st = std::make_unique<Statement>(f.db().prepare(QStringLiteral("SELECT 1")));
    }
    st.reset();  // finalized by itself, not handed to a cache that is gone
}

TEST(Transactions, RollBackUnlessCommittedAndCommittedChangesReachTheFile) {
    test::TempDataFile f;
    f.addBook("家");
    try {
        Transaction tx(f.db());
        f.db().exec(QStringLiteral("INSERT INTO SFamily(BName, FName) VALUES('家', '爸爸')"));
        f.db().exec(QStringLiteral("INSERT INTO NoSuchTable VALUES(1)"));
        tx.commit();
    } catch (const DbError&) {
    }
    EXPECT_EQ(f.count("SFamily"), 0);

    {
        Transaction tx(f.db());
        f.db().exec(QStringLiteral("INSERT INTO SFamily(BName, FName) VALUES('家', '妈妈')"));
        {
            Transaction inner(f.db());  // joins the outer one
            f.db().exec(QStringLiteral("INSERT INTO SFamily(BName, FName) VALUES('家', '我')"));
            inner.commit();
        }
        tx.commit();
    }
    f.reopen();
    EXPECT_EQ(f.count("SFamily"), 2);
    EXPECT_FALSE(QFile::exists(f.dataPath() + "-journal"));
    EXPECT_FALSE(QFile::exists(f.dataPath() + "-wal"));
}

TEST(Backup, CopyOpensWithTheSameKeyAndHoldsEveryCommittedRow) {
    test::TempDataFile f;
    f.addBook("家");
    const QString dest = f.programDir() + "/copy.kbk";
    {
        QFile junk(dest);  // an older copy of the same name is replaced
        ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
        junk.write("old");
    }
    f.db().backupTo(dest);
    auto copy = Database::open(dest);
    EXPECT_EQ(copy->query(QStringLiteral("SELECT BName FROM SBook")).text("BName"),
              QStringLiteral("家"));
    EXPECT_FALSE(QFile::exists(dest + ".part"));
}

TEST(MoneyValues, RoundParseAndShow) {
    EXPECT_EQ(Money::plain(-550.5), QStringLiteral("-550.5"));
    EXPECT_EQ(Money::plain(100.0), QStringLiteral("100"));
    EXPECT_EQ(Money::plain(0.1 + 0.2), QStringLiteral("0.3"));
    EXPECT_EQ(Money::display(1234567.5), QStringLiteral("1,234,567.50"));
    EXPECT_EQ(Money::display(-1234.005), QStringLiteral("-1,234.01"));
    EXPECT_EQ(Money::display(0), QStringLiteral("0.00"));
    EXPECT_EQ(Money::display(-0.001), QStringLiteral("0.00"));
    EXPECT_EQ(Money::round(1.005), 1.01);
    EXPECT_TRUE(Money::equal(100.0, 100.001));
    EXPECT_FALSE(Money::equal(100.0, 100.01));

    double v = 0;
    EXPECT_TRUE(Money::parse("100.0", &v));
    EXPECT_EQ(v, 100.0);
    EXPECT_TRUE(Money::parse("-5", &v));
    EXPECT_TRUE(Money::parse("+.5", &v));
    EXPECT_EQ(v, 0.5);
    for (const char* bad : {"", "1.2.3", "1e5", "abc", "1,000", "--1", ".", "1 2"}) {
        EXPECT_FALSE(Money::parse(QString::fromUtf8(bad), &v)) << bad;
    }
}
