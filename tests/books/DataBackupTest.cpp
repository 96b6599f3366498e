#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>

#include "books/DataBackup.h"
#include "books/DataRestore.h"
#include "reports/Dashboard.h"
#include "storage/DataFile.h"
#include "storage/DbError.h"
#include "storage/Transaction.h"
#include "support/Files.h"
#include "support/TempDataFile.h"

using namespace cw;
using test::readFile;
using test::writeFile;

namespace {

const QString kHome = QStringLiteral("我家");

QStringList books(Database& db) {
    return db.query(QStringLiteral("SELECT BName FROM SBook ORDER BY ID")).firstColumn();
}

double balance(Database& db, const QString& account) {
    return db.query(QStringLiteral("SELECT AMoney FROM SAccount WHERE AName=?"), account)
        .number(QStringLiteral("AMoney"));
}

struct DataCopyTest : ::testing::Test {
    test::TempDataFile f;
    QString backups;

    void SetUp() override {
        f.addBook(kHome, QStringLiteral("1"));
        f.addAccount(QStringLiteral("钱包"), 100);
        backups = f.programDir() + QStringLiteral("/外部备份");
        QDir().mkpath(backups);
    }

    // The file holds a second book and another balance from here on.
    void workOn() {
        f.addBook(QStringLiteral("新账簿"));
        f.db().exec(QStringLiteral("UPDATE SAccount SET AMoney=250 WHERE AName='钱包'"));
        f.openBook(kHome);
    }

    QString takeBackup() {
        DataBackup backup(f.dm());
        const QString path = backup.targetIn(backups);
        EXPECT_TRUE(backup.backup(path).ok);
        return path;
    }

    QStringList safetyCopies() {
        return QDir(f.programDir() + QStringLiteral("/Backup"))
            .entryList({QStringLiteral("*.kbk")}, QDir::Files);
    }

    // A refused restore leaves the live file, its rows and the open book as they were, and
    // nothing behind in Data/ or Backup/.
    void expectRefusedAndIntact(const QString& source) {
        const DataRestore::Result r = DataRestore(f.dm(), f.programDir()).restore(source);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.message, QStringLiteral("数据恢复失败！"));
        EXPECT_FALSE(r.cause.isEmpty());
        EXPECT_EQ(books(f.db()), (QStringList{kHome, QStringLiteral("新账簿")}));
        EXPECT_EQ(balance(f.db(), QStringLiteral("钱包")), 250);
        EXPECT_EQ(f.state().myBName, kHome);
        EXPECT_TRUE(safetyCopies().isEmpty());
        EXPECT_EQ(QDir(f.programDir() + QStringLiteral("/Data")).entryList(QDir::Files),
                  QStringList{QStringLiteral("db.kbk")});
        f.reopen();
        EXPECT_EQ(balance(f.db(), QStringLiteral("钱包")), 250);
    }
};

TEST_F(DataCopyTest, ABackupIsNamedAfterTheDayAndOpensWithTheSameKey) {
    DataBackup backup(f.dm());
    EXPECT_EQ(DataBackup::fileName(QStringLiteral("2026-12-09")), QStringLiteral("2026-12-09.kbk"));
    const QString path = backup.targetIn(backups);
    EXPECT_EQ(path, backups + QStringLiteral("/2026-12-09.kbk"));
    const mode_t previous = ::umask(022);
    const DataBackup::Result r = backup.backup(path);
    ::umask(previous);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.message, QStringLiteral("数据备份成功！"));
    // Readable by its owner alone, as the data file is.
    EXPECT_EQ(QFile::permissions(path) & 0x0077, QFileDevice::Permissions());
    auto copy = Database::open(path);
    EXPECT_EQ(books(*copy), QStringList{kHome});
    EXPECT_EQ(balance(*copy, QStringLiteral("钱包")), 100);
    EXPECT_EQ(QDir(backups).entryList(QDir::Files), QStringList{QStringLiteral("2026-12-09.kbk")});
}

TEST_F(DataCopyTest, ASecondBackupOfTheDayReplacesTheFirst) {
    const QString path = takeBackup();
    workOn();
    takeBackup();
    auto copy = Database::open(path);
    EXPECT_EQ(books(*copy), (QStringList{kHome, QStringLiteral("新账簿")}));
    EXPECT_EQ(balance(*copy, QStringLiteral("钱包")), 250);
    EXPECT_EQ(QDir(backups).entryList(QDir::Files).size(), 1);
}

TEST_F(DataCopyTest, ABackupLeavesOutWhatAnotherConnectionHasNotCommitted) {
    auto other = Database::open(f.dataPath());
    other->execScript(QStringLiteral("BEGIN IMMEDIATE"));
    other->exec(QStringLiteral("UPDATE SAccount SET AMoney=999"));
    const QString path = takeBackup();
    other->execScript(QStringLiteral("ROLLBACK"));
    EXPECT_EQ(balance(*Database::open(path), QStringLiteral("钱包")), 100);
}

TEST_F(DataCopyTest, FailedBackupsSayNoAndLeaveTheFileAlone) {
    DataBackup backup(f.dm());
    EXPECT_EQ(backup.backup(QString()).message, QStringLiteral("路径不能为空！"));
    const DataBackup::Result missing = backup.backup(f.programDir() + QStringLiteral("/无/x.kbk"));
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.message, QStringLiteral("数据备份失败！"));
    // A folder where the file should go, and the data file itself.
    EXPECT_FALSE(backup.backup(backups).ok);
    EXPECT_FALSE(backup.backup(f.dataPath()).ok);
    EXPECT_FALSE(backup.backup(f.programDir() + QStringLiteral("/Data/../Data/db.kbk")).ok);
    // Nothing goes into the data file's folder, under any name.
    EXPECT_FALSE(backup.backup(f.programDir() + QStringLiteral("/Data/../Data/new.kbk")).ok);
    EXPECT_EQ(QDir(f.programDir() + QStringLiteral("/Data")).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("db.kbk")});

    f.db().exec(QStringLiteral("UPDATE SAccount SET AMoney=7"));
    f.reopen();
    EXPECT_EQ(balance(f.db(), QStringLiteral("钱包")), 7);
}

TEST_F(DataCopyTest, TheAutomaticBackupSettingIsStoredAndRead) {
    DataBackup backup(f.dm());
    backup.loadAutoBackup();
    EXPECT_TRUE(backup.autoBackup());  // delivered on
    backup.setAutoBackup(false);
    EXPECT_EQ(f.state().myAutoBackup, QStringLiteral("否"));
    f.reopen();
    f.state().myAutoBackup.clear();
    DataBackup(f.dm()).loadAutoBackup();
    EXPECT_EQ(f.state().myAutoBackup, QStringLiteral("否"));
    DataBackup(f.dm()).setAutoBackup(true);
    EXPECT_EQ(f.db().query(QStringLiteral("SELECT theB FROM SBase WHERE ID=1")).text("theB"),
              QStringLiteral("是"));
}

TEST_F(DataCopyTest, RestoringAnOlderBackupBringsTheBooksBackAsTheyWere) {
    const QString path = takeBackup();
    DataBackup(f.dm()).setAutoBackup(false);  // the live file's setting, not the backup's
    workOn();

    const DataRestore::Result r = DataRestore(f.dm(), f.programDir()).restore(path);
    ASSERT_TRUE(r.ok) << r.cause.toStdString();
    EXPECT_EQ(r.message, QStringLiteral("数据恢复成功！"));
    // The same connection goes on with the restored file.
    EXPECT_EQ(books(f.db()), QStringList{kHome});
    EXPECT_EQ(balance(f.db(), QStringLiteral("钱包")), 100);
    EXPECT_TRUE(f.state().myBName.isEmpty());
    EXPECT_EQ(f.state().myAutoBackup, QStringLiteral("是"));
    f.db().exec(QStringLiteral("UPDATE SAccount SET AMoney=120"));

    // The replaced file is kept in Backup/ and opens with everything it held.
    ASSERT_EQ(safetyCopies().size(), 1);
    EXPECT_TRUE(r.safetyCopy.startsWith(f.programDir() + QStringLiteral("/Backup/")));
    auto kept = Database::open(r.safetyCopy);
    EXPECT_EQ(books(*kept), (QStringList{kHome, QStringLiteral("新账簿")}));
    EXPECT_EQ(balance(*kept, QStringLiteral("钱包")), 250);

    // What reached the file is the restore and the write after it; nothing is left beside it.
    f.reopen();
    EXPECT_EQ(books(f.db()), QStringList{kHome});
    EXPECT_EQ(balance(f.db(), QStringLiteral("钱包")), 120);
    EXPECT_EQ(QDir(f.programDir() + QStringLiteral("/Data")).entryList(QDir::Files),
              QStringList{QStringLiteral("db.kbk")});
    // The backup chosen stays as it was.
    EXPECT_EQ(balance(*Database::open(path), QStringLiteral("钱包")), 100);
}

TEST_F(DataCopyTest, ABackupOfAnEarlierVersionIsBroughtUpToDate) {
    f.db().exec(QStringLiteral("INSERT INTO InTable(BName, IMoney) VALUES(?, 12.5)"), kHome);
    const QString path = takeBackup();
    {
        // What the earlier version wrote: no book totals.
        auto old = Database::open(path);
        const QStringList triggers =
            old->query(QStringLiteral("SELECT name FROM sqlite_master WHERE type='trigger'"))
                .firstColumn();
        for (const QString& t : triggers) old->execScript(QStringLiteral("DROP TRIGGER ") + t);
        old->execScript(QStringLiteral("DROP TABLE SBookSum"));
    }
    workOn();
    const DataRestore::Result r = DataRestore(f.dm(), f.programDir()).restore(path);
    ASSERT_TRUE(r.ok) << r.cause.toStdString();
    f.openBook(kHome);
    EXPECT_EQ(Dashboard::compute(f.dm()).income, 12.5);
    f.db().exec(QStringLiteral("INSERT INTO InTable(BName, IMoney) VALUES(?, 1)"), kHome);
    EXPECT_EQ(Dashboard::compute(f.dm()).income, 13.5);
}

TEST_F(DataCopyTest, TwoRestoresKeepTwoSafetyCopies) {
    const QString path = takeBackup();
    workOn();
    ASSERT_TRUE(DataRestore(f.dm(), f.programDir()).restore(path).ok);
    ASSERT_TRUE(DataRestore(f.dm(), f.programDir()).restore(path).ok);
    EXPECT_EQ(safetyCopies().size(), 2);
}

TEST_F(DataCopyTest, AFileThatIsNotADataFileIsRefused) {
    takeBackup();
    workOn();
    const QString text = backups + QStringLiteral("/notes.kbk");
    writeFile(text, "这不是数据文件");
    expectRefusedAndIntact(text);
    const QString empty = backups + QStringLiteral("/empty.kbk");
    writeFile(empty, QByteArray());
    expectRefusedAndIntact(empty);
    expectRefusedAndIntact(backups + QStringLiteral("/missing.kbk"));
    expectRefusedAndIntact(f.dataPath());
}

TEST_F(DataCopyTest, ADataFileUnderAnotherKeyIsRefused) {
    workOn();
    const QString foreign = backups + QStringLiteral("/foreign.kbk");
    {
        auto db = Database::create(foreign, QStringLiteral("另一个密码"));
        Transaction tx(*db);
        db->execScript(QString::fromUtf8(DataFile::schemaSql()));
        tx.commit();
    }
    expectRefusedAndIntact(foreign);
}

TEST_F(DataCopyTest, AFileWithOurKeyButNotOurTablesIsRefused) {
    workOn();
    const QString partial = backups + QStringLiteral("/partial.kbk");
    {
        auto db = Database::create(partial);
        db->execScript(
            QStringLiteral("CREATE TABLE SBase(ID INTEGER PRIMARY KEY, theB TEXT);"
                           "CREATE TABLE SBook(ID INTEGER PRIMARY KEY, BName TEXT);"));
    }
    expectRefusedAndIntact(partial);
}

TEST_F(DataCopyTest, ADamagedCopyIsRefused) {
    // Enough rows that the file spans many pages.
    Transaction tx(f.db());
    for (int i = 0; i < 400; ++i) {
        f.db().exec(QStringLiteral("INSERT INTO UThing(BName, Title, Detail) VALUES(?,?,?)"), kHome,
                    QString::number(i), QString(200, QLatin1Char('x')));
    }
    tx.commit();
    const QString path = takeBackup();
    f.db().exec(QStringLiteral("DELETE FROM UThing"));
    workOn();
    const QByteArray whole = readFile(path);
    ASSERT_GT(whole.size(), 40000);

    const QString cut = backups + QStringLiteral("/cut.kbk");
    writeFile(cut, whole.left(whole.size() / 2));
    expectRefusedAndIntact(cut);

    QByteArray flipped = whole;
    for (qsizetype i = whole.size() / 2; i < whole.size() / 2 + 64; ++i)
        flipped[i] = char(~flipped[i]);
    const QString bad = backups + QStringLiteral("/flipped.kbk");
    writeFile(bad, flipped);
    expectRefusedAndIntact(bad);

    // The good copy still restores.
    EXPECT_TRUE(DataRestore(f.dm(), f.programDir()).restore(path).ok);
    EXPECT_EQ(f.count(QStringLiteral("UThing")), 400);
}

TEST_F(DataCopyTest, ARestoreWaitsForNoWriterAndAWriterGoesOnWithTheRestoredFile) {
    const QString path = takeBackup();
    workOn();
    auto writer = Database::open(f.dataPath());
    writer->execScript(QStringLiteral("BEGIN IMMEDIATE"));
    writer->exec(QStringLiteral("UPDATE SAccount SET AMoney=300"));
    // Still writing after the wait: the restore gives up and touches nothing.
    const DataRestore::Result busy = DataRestore(f.dm(), f.programDir()).restore(path);
    EXPECT_FALSE(busy.ok);
    EXPECT_EQ(busy.cause, DbError::kBusy);
    EXPECT_TRUE(safetyCopies().isEmpty());
    writer->execScript(QStringLiteral("COMMIT"));

    // The writer finished first: its rows are in the safety copy.
    const DataRestore::Result r = DataRestore(f.dm(), f.programDir()).restore(path);
    ASSERT_TRUE(r.ok) << r.cause.toStdString();
    EXPECT_EQ(balance(*Database::open(r.safetyCopy), QStringLiteral("钱包")), 300);
    // A write after the restore, on a connection opened before it, lands in the restored file.
    writer->exec(QStringLiteral("UPDATE SAccount SET AMoney=AMoney+1"));
    f.reopen();
    EXPECT_EQ(books(f.db()), QStringList{kHome});
    EXPECT_EQ(balance(f.db(), QStringLiteral("钱包")), 101);
    EXPECT_EQ(QDir(f.programDir() + QStringLiteral("/Data")).entryList(QDir::Files),
              QStringList{QStringLiteral("db.kbk")});
}

// A writer killed in the middle of a large write leaves its journal behind; neither the
// restore nor the file it puts in place may take that journal for its own.
TEST_F(DataCopyTest, AJournalLeftByAKilledWriterNeverReachesTheRestoredFile) {
    const QString path = takeBackup();
    workOn();
    int ready[2], go[2];
    ASSERT_EQ(pipe(ready), 0);
    ASSERT_EQ(pipe(go), 0);
    const pid_t child = fork();
    if (child == 0) {
        char c = 0;
        try {
            auto db = Database::open(f.dataPath());
            db->execScript(QStringLiteral("PRAGMA cache_size=8; BEGIN IMMEDIATE"));
            db->exec(QStringLiteral("UPDATE SAccount SET AMoney=999"));
            (void)!write(ready[1], "r", 1);
            (void)!read(go[0], &c, 1);
            // More pages than the cache holds: they are written to the file before the end.
            for (int i = 0; i < 2000; ++i) {
                db->exec(QStringLiteral("INSERT INTO UThing(BName, Title, Detail) VALUES(?,?,?)"),
                         kHome, QString::number(i), QString(500, QLatin1Char('y')));
            }
            _exit(0);  // dies in the middle, its connection never closed
        } catch (...) {
            _exit(1);
        }
    }
    char c = 0;
    ASSERT_EQ(read(ready[0], &c, 1), 1);
    EXPECT_FALSE(DataRestore(f.dm(), f.programDir()).restore(path).ok);
    ASSERT_EQ(write(go[1], "g", 1), 1);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_TRUE(QFile::exists(f.dataPath() + QStringLiteral("-journal")));

    const DataRestore::Result r = DataRestore(f.dm(), f.programDir()).restore(path);
    ASSERT_TRUE(r.ok) << r.cause.toStdString();
    auto kept = Database::open(r.safetyCopy);
    EXPECT_EQ(balance(*kept, QStringLiteral("钱包")), 250);
    EXPECT_EQ(kept->query(QStringLiteral("SELECT count(*) AS n FROM UThing")).integer("n"), 0);
    f.reopen();
    EXPECT_EQ(f.db().query(QStringLiteral("PRAGMA quick_check")).firstColumn(),
              QStringList{QStringLiteral("ok")});
    EXPECT_EQ(books(f.db()), QStringList{kHome});
    EXPECT_EQ(balance(f.db(), QStringLiteral("钱包")), 100);
    EXPECT_FALSE(QFile::exists(f.dataPath() + QStringLiteral("-journal")));
}

TEST_F(DataCopyTest, AnEmptyChoiceAsksForAFile) {
    EXPECT_EQ(DataRestore(f.dm(), f.programDir()).restore(QString()).message,
              QStringLiteral("请选择备份文件"));
}

}  // namespace
