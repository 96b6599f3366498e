#include <gtest/gtest.h>

#include "support/CliRun.h"

using cw::test::CliRun;

#include <QProcess>
#include <QTemporaryDir>

#include "storage/DataFile.h"
#include "support/TempDataFile.h"

namespace {

CliRun cli(const QStringList& args) {
    return cw::test::runCli(args);
}

}  // namespace

TEST(CliTest, InitWritesADataFileAndRefusesToOverwriteIt) {
    QTemporaryDir dir;
    EXPECT_EQ(cli({"--home", dir.path(), "init"}).code, 0);
    EXPECT_TRUE(QFile::exists(cw::DataFile::pathIn(dir.path())));
    const CliRun again = cli({"--home", dir.path(), "init"});
    EXPECT_EQ(again.code, 3);
    EXPECT_FALSE(again.err.isEmpty());
    EXPECT_EQ(cli({"--home", dir.path(), "books"}).out, QString());
}

TEST(CliTest, LunarPinyinAndUsage) {
    EXPECT_EQ(cli({"lunar", "2008-02-07"}).out, QStringLiteral("农历二零零八年一月初一\n"));
    EXPECT_EQ(cli({"lunar", "1990-01-26"}).out, QStringLiteral("输入越界\n"));
    EXPECT_EQ(cli({"pinyin", "我家账簿1"}).out, QStringLiteral("WJZB1\n"));
    EXPECT_EQ(cli({"lunar", "2008-13-01"}).code, 2);
    EXPECT_EQ(cli({"frobnicate"}).code, 2);
    EXPECT_EQ(cli({}).code, 2);
}

TEST(CliTest, BooksAndSummaryOfABook) {
    cw::test::TempDataFile f;
    f.addBook(QStringLiteral("我家'账簿"), QStringLiteral("pw"));
    f.addAccount("钱包", 100.5, "", "现金");
    f.addAccount("信用卡", -20, "", "信用卡");
    f.db().exec(QStringLiteral("UPDATE SBook SET Remark='说明'"));
    const QString home = f.programDir();
    EXPECT_EQ(cli({"--home", home, "books"}).out, QStringLiteral("我家'账簿\t2026-12-09\t说明\n"));

    const CliRun ok = cli({"--home", home, "--book", "我家'账簿", "--password", "pw", "summary"});
    EXPECT_EQ(ok.code, 0) << ok.err.toStdString();
    EXPECT_TRUE(ok.out.contains(QStringLiteral("现金\t100.5\n")));
    EXPECT_TRUE(ok.out.contains(QStringLiteral("负债合计\t-20\n")));
    EXPECT_TRUE(ok.out.contains(QStringLiteral("净资金\t80.5\n")));
    // No income: no share of it (once 100 when both were 0).
    EXPECT_TRUE(ok.out.contains(QStringLiteral("支出占收入\t0\n")));

    EXPECT_EQ(cli({"--home", home, "--book", "我家'账簿", "--password", "bad", "summary"}).code, 3);
    EXPECT_EQ(
        cli({"--home", home, "--book", "我家'账簿", "--password", "x' or '1'='1", "summary"}).code,
        3);
    EXPECT_EQ(cli({"--home", home, "summary"}).code, 3);
}

TEST(CliTest, ADamagedDataFileIsRefusedNamingTheFile) {
    QTemporaryDir dir;
    QDir().mkpath(dir.path() + "/Data");
    QFile junk(cw::DataFile::pathIn(dir.path()));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(8192, 'z'));
    junk.close();
    const CliRun r = cli({"--home", dir.path(), "books"});
    EXPECT_EQ(r.code, 3);
    EXPECT_TRUE(r.err.contains(QStringLiteral("db.kbk")));
}

TEST(CliTest, NewBookSeedsLikeTheWizardAndRefusesADuplicate) {
    cw::test::TempDataFile f;
    const QString home = f.programDir();
    const CliRun made = cli({"--home", home, "newbook", "家庭'账", "password=秘密"});
    EXPECT_EQ(made.code, 0) << made.err.toStdString();
    f.reopen();
    EXPECT_EQ(f.db()
                  .query("SELECT count(*) AS n FROM InD WHERE BName=?", QString("家庭'账"))
                  .integer("n"),
              14);
    EXPECT_EQ(f.db()
                  .query("SELECT count(*) AS n FROM OutD WHERE BName=?", QString("家庭'账"))
                  .integer("n"),
              50);
    EXPECT_EQ(
        f.db().query("SELECT count(*) AS n FROM TD WHERE BName=?", QString("家庭'账")).integer("n"),
        9);
    EXPECT_EQ(
        f.db().query("SELECT TX_M FROM SMRX WHERE BName=?", QString("家庭'账")).integer("TX_M"),
        -1);
    const CliRun again = cli({"--home", home, "newbook", "家庭'账"});
    EXPECT_EQ(again.code, 3);
    EXPECT_EQ(again.err.trimmed(), QStringLiteral("账簿名称 重复，请重新录入！"));
    EXPECT_EQ(cli({"--home", home, "--book", "家庭'账", "--password", "秘密", "summary"}).code, 0);
}
