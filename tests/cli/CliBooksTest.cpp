#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include "files/SingleInstance.h"
#include "storage/Database.h"
#include "storage/DbError.h"
#include "support/CliRun.h"
#include "support/TempDataFile.h"

using namespace cw;

namespace {

const QString kHome = QStringLiteral("我家");
const QString kOther = QStringLiteral("别家");

struct CliBooksTest : ::testing::Test {
    test::TempDataFile f;

    void SetUp() override {
        f.addBook(kOther, QStringLiteral("2"));
        f.addBook(kHome, QStringLiteral("1"));
        f.addAccount(QStringLiteral("钱包"), 100);
        f.db().exec(QStringLiteral("INSERT INTO UThing(BName, Title) VALUES(?, '记事')"), kOther);
    }

    test::CliRun cli(const QStringList& args) {
        QProcess p;
        // As from a scheduled job: no per-user runtime folder.
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(COINWICK_CLI),
                QStringList{QStringLiteral("--home"), f.programDir()} + args);
        p.waitForFinished(60000);
        return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
                QString::fromUtf8(p.readAllStandardError())};
    }

    test::CliRun asHome(const QStringList& args) {
        return cli(QStringList{QStringLiteral("--book"), kHome, QStringLiteral("--password"),
                               QStringLiteral("1")} +
                   args);
    }

    int rows(const QString& table, const QString& book) {
        return int(
            f.db()
                .query(QStringLiteral("SELECT count(*) AS n FROM %1 WHERE BName=?").arg(table),
                       book)
                .integer(QStringLiteral("n")));
    }
};

TEST_F(CliBooksTest, BackupToAFolderOrAFileWhileTheFileIsOpen) {
    const QString folder = f.programDir() + QStringLiteral("/外部");
    QDir().mkpath(folder);
    const QString today = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
    const test::CliRun toFolder = cli({QStringLiteral("backup"), folder});
    ASSERT_EQ(toFolder.code, 0) << toFolder.err.toStdString();
    EXPECT_EQ(toFolder.out, folder + QStringLiteral("/") + today + QStringLiteral(".kbk\n"));
    EXPECT_EQ(Database::open(folder + QStringLiteral("/") + today + QStringLiteral(".kbk"))
                  ->query(QStringLiteral("SELECT count(*) AS n FROM SBook"))
                  .integer(QStringLiteral("n")),
              2);

    const QString file = folder + QStringLiteral("/每周.kbk");
    EXPECT_EQ(cli({QStringLiteral("backup"), file}).code, 0);
    EXPECT_TRUE(QFile::exists(file));

    const test::CliRun bad = cli({QStringLiteral("backup"), folder + QStringLiteral("/无/x.kbk")});
    EXPECT_EQ(bad.code, 3);
    EXPECT_TRUE(bad.err.startsWith(QStringLiteral("数据备份失败！")));
    EXPECT_EQ(cli({QStringLiteral("backup")}).code, 2);
}

TEST_F(CliBooksTest, RestorePutsABackupInPlaceAndRefusesWhileTheProgramRuns) {
    const QString copy = f.programDir() + QStringLiteral("/copy.kbk");
    f.db().backupTo(copy);
    f.db().exec(QStringLiteral("UPDATE SAccount SET AMoney=5"));

    {
        SingleInstance program(f.programDir());
        ASSERT_TRUE(program.acquire());
        const test::CliRun refused = cli({QStringLiteral("restore"), copy});
        EXPECT_EQ(refused.code, 3);
        EXPECT_TRUE(refused.err.contains(QStringLiteral("Coinwick 已经打开了！")));
        f.reopen();
        EXPECT_EQ(f.db().query(QStringLiteral("SELECT AMoney FROM SAccount")).number("AMoney"), 5);
    }

    const QString junk = f.programDir() + QStringLiteral("/junk.kbk");
    {
        QFile j(junk);
        ASSERT_TRUE(j.open(QIODevice::WriteOnly));
        j.write("junk");
    }
    const test::CliRun foreign = cli({QStringLiteral("restore"), junk});
    EXPECT_EQ(foreign.code, 3);
    EXPECT_TRUE(foreign.err.startsWith(QStringLiteral("数据恢复失败！")));

    const test::CliRun ok = cli({QStringLiteral("restore"), copy});
    ASSERT_EQ(ok.code, 0) << ok.err.toStdString();
    const QString kept = ok.out.trimmed();
    EXPECT_TRUE(kept.startsWith(f.programDir() + QStringLiteral("/Backup/")));
    f.reopen();
    EXPECT_EQ(f.db().query(QStringLiteral("SELECT AMoney FROM SAccount")).number("AMoney"), 100);
    EXPECT_EQ(Database::open(kept)
                  ->query(QStringLiteral("SELECT AMoney FROM SAccount"))
                  .number(QStringLiteral("AMoney")),
              5);
}

TEST_F(CliBooksTest, RenameAndDeleteABookAfterLoggingIn) {
    EXPECT_EQ(cli({QStringLiteral("renamebook"), kOther, QStringLiteral("新名")}).code, 3);

    const test::CliRun taken = asHome({QStringLiteral("renamebook"), kOther, kHome});
    EXPECT_EQ(taken.code, 3);
    EXPECT_EQ(taken.err, QStringLiteral("账簿名称 已经存在！\n"));

    const test::CliRun renamed =
        asHome({QStringLiteral("renamebook"), kOther, QStringLiteral("新名")});
    ASSERT_EQ(renamed.code, 0) << renamed.err.toStdString();
    f.reopen();
    EXPECT_EQ(rows(QStringLiteral("UThing"), QStringLiteral("新名")), 1);
    EXPECT_EQ(rows(QStringLiteral("SBook"), kOther), 0);

    const test::CliRun own = asHome({QStringLiteral("deletebook"), kHome});
    EXPECT_EQ(own.code, 3);
    EXPECT_EQ(own.err, QStringLiteral("不能删除当前打开账簿！\n"));

    const test::CliRun deleted = asHome({QStringLiteral("deletebook"), QStringLiteral("新名")});
    ASSERT_EQ(deleted.code, 0) << deleted.err.toStdString();
    f.reopen();
    EXPECT_EQ(rows(QStringLiteral("SBook"), QStringLiteral("新名")), 0);
    EXPECT_EQ(rows(QStringLiteral("UThing"), QStringLiteral("新名")), 0);
    EXPECT_EQ(rows(QStringLiteral("SAccount"), kHome), 1);
}

TEST_F(CliBooksTest, WhileTheProgramRunsOnTheFolderTheBookVerbsRefuseWithoutARuntimeFolder) {
    SingleInstance program(f.programDir());
    ASSERT_TRUE(program.acquire());
    for (const QStringList& verb :
         {QStringList{QStringLiteral("renamebook"), kOther, QStringLiteral("x")},
          QStringList{QStringLiteral("deletebook"), kOther}}) {
        const test::CliRun refused = asHome(verb);
        EXPECT_EQ(refused.code, 3);
        EXPECT_EQ(refused.err,
                  QStringLiteral("Coinwick 已经打开了！请先退出 Coinwick 再执行这个操作。\n"));
    }
    f.reopen();
    EXPECT_EQ(rows(QStringLiteral("SBook"), kOther), 1);
    program.release();
    const test::CliRun renamed =
        cli({QStringLiteral("--book=") + kHome, QStringLiteral("--password=1"),
             QStringLiteral("renamebook"), kOther, QStringLiteral("新名")});
    EXPECT_EQ(renamed.code, 0) << renamed.err.toStdString();
    EXPECT_TRUE(renamed.err.isEmpty()) << renamed.err.toStdString();
}

TEST_F(CliBooksTest, RestoreFailsWhileAnotherProcessIsWriting) {
    const QString copy = f.programDir() + QStringLiteral("/copy.kbk");
    f.db().backupTo(copy);
    f.db().execScript(QStringLiteral("BEGIN IMMEDIATE"));
    f.db().exec(QStringLiteral("UPDATE SAccount SET AMoney=5"));
    const test::CliRun busy = cli({QStringLiteral("restore"), copy});
    EXPECT_EQ(busy.code, 3);
    EXPECT_EQ(busy.err, QStringLiteral("数据恢复失败！") + DbError::kBusy + QLatin1Char('\n'));
    f.db().execScript(QStringLiteral("COMMIT"));
    f.reopen();
    EXPECT_EQ(f.db().query(QStringLiteral("SELECT AMoney FROM SAccount")).number("AMoney"), 5);
}

// From a scheduled job a painting verb says nothing on stderr either: Qt's note about the
// missing runtime folder is not the companion's to pass on.
TEST_F(CliBooksTest, PaintingWithoutARuntimeFolderKeepsStderrClean) {
    const QString pdf = f.programDir() + QStringLiteral("/记事.pdf");
    const test::CliRun r = asHome({QStringLiteral("notes"), QStringLiteral("pdf=") + pdf});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    EXPECT_TRUE(QFileInfo(pdf).size() > 0);
}

}  // namespace
