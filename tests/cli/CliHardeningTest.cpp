#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <csignal>

#include "bookkeeping/BookkeepingFixture.h"
#include "storage/DbError.h"
#include "storage/Transaction.h"
#include "support/CliRun.h"

using cw::test::CliRun;

namespace {

class CliHardeningTest : public ::testing::Test {
  protected:
    void SetUp() override {
        f.addBook(QStringLiteral("我家账簿"), QStringLiteral("pw"));
        cw::test::openAccount(f, QStringLiteral("现金"), 100, QStringLiteral("爸爸"));
        cw::test::openAccount(f, QStringLiteral("工行卡"), 1000, QStringLiteral("妈妈"));
    }

    QStringList bookArgs() const {
        return {"--home", f.programDir(), "--book", "我家账簿", "--password", "pw"};
    }
    CliRun cli(const QStringList& args) { return cw::test::runCli(bookArgs() + args); }

    // The posting verb of each kind with everything but the amount.
    static QStringList kindArgs(const QString& kind) {
        if (kind == "income") return {"post", "income", "category=工资", "account=现金", "member=爸爸"};
        if (kind == "expense") return {"post", "expense", "category=餐饮", "account=现金", "member=爸爸"};
        if (kind == "transfer") return {"post", "transfer", "from=工行卡", "to=现金", "member=爸爸"};
        if (kind == "debt") return {"post", "debt", "contact=老李", "account=现金", "member=爸爸"};
        if (kind == "credit") return {"post", "credit", "contact=老王", "account=现金", "member=爸爸"};
        return {"post", "investment", "category=基金", "account=现金", "member=爸爸"};
    }

    cw::test::TempDataFile f;
};

}  // namespace

// Amounts stay below 10^12 on every kind: the largest is booked to the cent, the next refused
// with the field's own message, and nothing is written by a refusal.
TEST_F(CliHardeningTest, AmountsReachingTenToTheTwelfthAreRefusedOnEveryKind) {
    for (const QString kind : {"income", "expense", "transfer", "debt", "credit", "investment"}) {
        SCOPED_TRACE(kind.toStdString());
        const int before = f.count("UList");
        for (const QString& amount :
             {QStringLiteral("1000000000000"), QStringLiteral("-1000000000000"),
              QStringLiteral("99999999999999999999"), QStringLiteral("999999999999.999")}) {
            const CliRun r = cli(kindArgs(kind) << "amount=" + amount);
            EXPECT_EQ(r.code, 3) << amount.toStdString();
            EXPECT_TRUE(r.err.contains(QStringLiteral(" 不是有效的数字！请重新录入！")))
                << r.err.toStdString();
        }
        EXPECT_EQ(f.count("UList"), before);
        EXPECT_EQ(cli(kindArgs(kind) << "amount=999999999999.99").code, 0);
    }
    // The book still adds up to the cent with such amounts in it.
    EXPECT_EQ(cli({"check"}).code, 0) << cli({"check"}).out.toStdString();
    const CliRun journal = cli({"journal", "account=工行卡"});
    EXPECT_TRUE(journal.out.contains("\t999999999999.99\t")) << journal.out.toStdString();
}

TEST_F(CliHardeningTest, SettlementsAndChangesAboveTheLimitGetTheNumberMessage) {
    ASSERT_EQ(cli(kindArgs("debt") << "amount=500").code, 0);
    CliRun r = cli({"post", "repay", "id=1", "amount=99999999999999999999"});
    EXPECT_EQ(r.code, 3);
    EXPECT_EQ(r.err.trimmed(), QStringLiteral("还债金额 不是有效的数字！请重新录入！"));
    r = cli({"post", "increase", "of=debt", "id=1", "amount=1000000000000"});
    EXPECT_EQ(r.code, 3);
    EXPECT_EQ(r.err.trimmed(), QStringLiteral("金额 不是有效的数字！请重新录入！"));
    EXPECT_EQ(cli({"post", "increase", "of=debt", "id=1", "amount=999999999999.99"}).code, 0);
    r = cli({"post", "decrease", "of=debt", "id=1", "amount=1000000000000"});
    EXPECT_EQ(r.code, 3);
    EXPECT_EQ(r.err.trimmed(), QStringLiteral("金额 不是有效的数字！请重新录入！"));
    EXPECT_EQ(cli({"check"}).code, 0);
}

// A remark with a tab, a line break and a backslash comes back from the journal in its own
// field, and unescaped it is what was typed.
TEST_F(CliHardeningTest, JournalFieldsKeepTheirColumns) {
    const QString remark = QStringLiteral("年终\t奖金\n第二行\\完");
    ASSERT_EQ(cli(kindArgs("income") << "amount=10.5" << "remark=" + remark).code, 0);
    const CliRun r = cli({"journal"});
    ASSERT_EQ(r.code, 0);
    const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4);  // header, two openings, the income
    for (const QString& line : lines) EXPECT_EQ(line.split('\t').size(), 12) << line.toStdString();
    const QStringList fields = lines.last().split('\t');
    EXPECT_EQ(fields[3], QStringLiteral("年终\\t奖金\\n第二行\\\\完"));
    QString back = fields[3];
    back.replace("\\t", "\t").replace("\\n", "\n").replace("\\\\", "\\");
    EXPECT_EQ(back, remark);
    EXPECT_EQ(fields[4], QStringLiteral("10.5"));
    EXPECT_EQ(fields[7], QStringLiteral("110.5"));
}

TEST_F(CliHardeningTest, NamesWithControlCharactersAreRefusedOnEveryPath) {
    for (const QString& bad : {QStringLiteral("工\t资"), QStringLiteral("工资\n"),
                               QStringLiteral("工\u2028资")}) {
        EXPECT_EQ(cli({"post", "income", "category=" + bad, "account=现金", "member=爸爸",
                       "amount=1"}).code,
                  3);
        EXPECT_EQ(cli({"post", "income", "category=工资", "account=" + bad, "member=爸爸",
                       "amount=1"}).code,
                  3);
        EXPECT_EQ(cli({"post", "debt", "contact=" + bad, "account=现金", "member=爸爸",
                       "amount=1"}).code,
                  3);
        const CliRun r = cw::test::runCli({"--home", f.programDir(), "newbook", bad});
        EXPECT_EQ(r.code, 3);
        EXPECT_EQ(r.err.trimmed(),
                  QStringLiteral("名称不能包含制表符、换行符等控制字符！请重新录入！"));
    }
    EXPECT_EQ(f.count("InTable"), 0);
    EXPECT_EQ(f.count("SBook"), 1);
}

// The wizard's limits hold for a script too: no book a login could never open.
TEST_F(CliHardeningTest, NewBookKeepsTheWizardsLengthRules) {
    const auto newbook = [&](const QStringList& args) {
        return cw::test::runCli(QStringList{"--home", f.programDir(), "newbook"} + args);
    };
    CliRun r = newbook({QString(21, QLatin1Char('a'))});
    EXPECT_EQ(r.code, 3);
    EXPECT_EQ(r.err.trimmed(), QStringLiteral("账簿名称 长度不能大于20！"));
    // Eleven Chinese characters are 22 bytes of GBK; the login takes 20.
    r = newbook({"新账簿", QStringLiteral("password=一二三四五六七八九十一")});
    EXPECT_EQ(r.code, 3);
    EXPECT_EQ(r.err.trimmed(), QStringLiteral("密码 长度不能大于20！"));
    r = newbook({"新账簿", "password=" + QString(100 * 1024, QLatin1Char('x'))});
    EXPECT_EQ(r.code, 3);
    EXPECT_EQ(f.count("SBook"), 1);
    EXPECT_EQ(newbook({QString(20, QLatin1Char('a')), "password=一二三四五六七八九十"}).code, 0);
}

// Sums that drifted in the double print as the amounts they stand for.
TEST_F(CliHardeningTest, SummaryPrintsAmountsToTheCent) {
    for (int i = 0; i < 10; ++i) ASSERT_EQ(cli(kindArgs("income") << "amount=0.1").code, 0);
    const CliRun r = cli({"summary"});
    ASSERT_EQ(r.code, 0);
    EXPECT_TRUE(r.out.contains(QStringLiteral("收入\t1\n"))) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("现金\t1101\n"))) << r.out.toStdString();
    for (const QString& line : r.out.split('\n', Qt::SkipEmptyParts)) {
        const QString value = line.section('\t', 1);
        if (line.startsWith(QStringLiteral("状态栏"))) continue;
        EXPECT_LE(value.section('.', 1).size(), 2) << line.toStdString();
    }
}

// Two copies changing different fields of one posting at the same moment: each change is
// applied to the row as stored when its write begins, so both stay.
TEST_F(CliHardeningTest, ConcurrentEditsFromTwoProcessesKeepBothChanges) {
    ASSERT_EQ(cli(kindArgs("income") << "amount=10" << "remark=起").code, 0);
    for (int i = 1; i <= 12; ++i) {
        QProcess a;
        QProcess b;
        const QString amount = QString::number(10 + i);
        const QString remark = QStringLiteral("第%1次").arg(i);
        a.start(QStringLiteral(COINWICK_CLI), bookArgs() << "edit" << "income" << "1"
                                                         << "amount=" + amount);
        b.start(QStringLiteral(COINWICK_CLI), bookArgs() << "edit" << "income" << "1"
                                                         << "remark=" + remark);
        ASSERT_TRUE(a.waitForFinished(60000));
        ASSERT_TRUE(b.waitForFinished(60000));
        ASSERT_EQ(a.exitCode(), 0) << a.readAllStandardError().toStdString();
        ASSERT_EQ(b.exitCode(), 0) << b.readAllStandardError().toStdString();
        const cw::Query q = f.db().query(QStringLiteral("SELECT IMoney, Remark FROM InTable"));
        EXPECT_EQ(q.number(QStringLiteral("IMoney")), 10 + i);
        EXPECT_EQ(q.text(QStringLiteral("Remark")), remark);
    }
    EXPECT_EQ(cli({"check"}).code, 0);
}

// A copy that holds the file for writing: the others wait, then say so in words.
TEST_F(CliHardeningTest, ABusyDataFileIsSaidInWordsWithExitThree) {
    cw::Transaction hold(f.db());
    f.db().exec(QStringLiteral("UPDATE SBase SET theB=theB"));
    const CliRun r = cli(kindArgs("income") << "amount=1");
    EXPECT_EQ(r.code, 3);
    EXPECT_EQ(r.err.trimmed(), cw::DbError::kBusy);
    EXPECT_FALSE(r.err.contains("locked"));
}

// init on a disk that fills up: no file under the real name, so a later init can still
// write one (simulated with a file-size limit, which fails writes as a full disk does).
TEST_F(CliHardeningTest, InitOnAFullDiskLeavesNoFileBehind) {
    QTemporaryDir home;
    const QString data = home.filePath("Data/db.kbk");
    QProcess p;
    p.setChildProcessModifier([] {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{16 * 1024, 16 * 1024};
        setrlimit(RLIMIT_FSIZE, &limit);
    });
    p.start(QStringLiteral(COINWICK_CLI), {"--home", home.path(), "init"});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_NE(p.exitCode(), 0);
    EXPECT_FALSE(QFile::exists(data));
    EXPECT_EQ(QDir(home.filePath("Data")).entryList(QDir::Files), QStringList());
    const CliRun again = cw::test::runCli({"--home", home.path(), "init"});
    EXPECT_EQ(again.code, 0) << again.err.toStdString();
    EXPECT_GT(QFileInfo(data).size(), 0);
    EXPECT_EQ(cw::test::runCli({"--home", home.path(), "newbook", "我家"}).code, 0);
}

// The .xls reader dying on a crafted file takes only its helper process along: the CLI refuses
// the file as damaged and books nothing.
TEST_F(CliHardeningTest, AnXlsReaderThatCrashesIsADamagedFile) {
    const QString helper = f.programDir() + "/crashing-helper";
    QFile script(helper);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\nkill -SEGV $$\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    qputenv("COINWICK_XLS_HELPER", helper.toLocal8Bit());
    const CliRun r = cli({"import", "in", COINWICK_SOURCE_DIR "/tests/data/import/income.xls"});
    qunsetenv("COINWICK_XLS_HELPER");
    EXPECT_EQ(r.code, 3);
    EXPECT_EQ(r.err.trimmed(), QStringLiteral("Excel文件已损坏，无法读取！"));
    EXPECT_EQ(f.count("InTable"), 0);
}
