// A writer killed at any moment must leave a data file that opens and whose balances, journal
// and postings agree: every operation is one transaction, and the rollback journal undoes the
// one that was cut off.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <QMap>
#include <chrono>
#include <random>
#include <thread>

#include "bookkeeping/BookkeepingFixture.h"

using namespace cw;

namespace {

// Posts, changes and deletes through coinwick-cli, over and over, until killed.
const char* kWriterScript = R"(
cli="$1"
home="$2"
run() { "$cli" --home "$home" --book 我家账簿 "$@"; }
while :; do
  id=$(run post income category=工资 amount=12.5 account=现金 member=爸爸 remark="it's")
  run edit income "$id" amount=20.25 account=工行卡
  t=$(run post transfer from=工行卡 to=现金 amount=3 member=妈妈)
  run post expense category=餐饮 amount=7.75 account=现金 member=爸爸
  run delete income "$id"
  run edit transfer "$t" amount=4.5 to=支付宝
  run post income category=奖金 amount=-1 account=新卡 member=爷爷
done
)";

// Starts the writer loop as the leader of its own process group, so one signal reaches the
// shell and whichever coinwick-cli it is running.
pid_t startWriter(const QString& script, const QString& home) {
    const QByteArray scriptPath = script.toLocal8Bit();
    const QByteArray cli = QByteArrayLiteral(COINWICK_CLI);
    const QByteArray homePath = home.toLocal8Bit();
    const pid_t pid = fork();
    if (pid == 0) {
        setpgid(0, 0);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        execl("/bin/sh", "sh", scriptPath.constData(), cli.constData(), homePath.constData(),
              static_cast<char*>(nullptr));
        _exit(127);
    }
    if (pid > 0) setpgid(pid, pid);
    return pid;
}

// Kills the whole group and waits until every member is gone, so no lock of the file is
// still held. The test process adopts the group's orphans (it is their subreaper), so the
// coinwick-cli cut off under the shell is waited for as well.
void killGroup(pid_t pid) {
    kill(-pid, SIGKILL);
    int status = 0;
    while (waitpid(-pid, &status, 0) > 0) {
    }
}

// Every income, expense and transfer still stored is in the journal exactly once in effect
// (its rows net to its amount on each of its accounts), and a deleted one nets to nothing.
QStringList postingsWithoutTheirJournal(Database& db) {
    QMap<QString, qint64> expected;  // "table#id@account" → cents
    const auto expect = [&](const QString& sql, const QString& table, int sign, bool target) {
        Query q = db.query(sql);
        for (q.first(); !q.eof(); q.next()) {
            const QString key = table + '#' + q.text("ID") + '@';
            const qint64 cents = Money::cents(q.number("m"));
            expected[key + q.text("a")] += sign * cents;
            if (target) expected[key + q.text("b")] -= sign * cents;
        }
    };
    expect("SELECT ID, IMoney AS m, AName AS a FROM InTable", "InTable", +1, false);
    expect("SELECT ID, OMoney AS m, AName AS a FROM OutTable", "OutTable", -1, false);
    expect("SELECT ID, CMoney AS m, OldN AS a, NewN AS b FROM ChangeT", "ChangeT", -1, true);

    QMap<QString, qint64> booked;
    Query rows = db.query(QStringLiteral(
        "SELECT theT, theID, AName, sum(CAST(round(theIn*100) AS INTEGER)"
        "-CAST(round(theOut*100) AS INTEGER)) AS net FROM UList WHERE theT<>'SAccount' "
        "GROUP BY theT, theID, AName"));
    for (rows.first(); !rows.eof(); rows.next()) {
        const qint64 net = rows.integer("net");
        if (net != 0) {
            booked[rows.text("theT") + '#' + rows.text("theID") + '@' + rows.text("AName")] = net;
        }
    }
    expected.removeIf([](const auto& it) { return it.value() == 0; });
    QStringList differences;
    for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
        if (booked.value(it.key()) != it.value()) differences << it.key();
    }
    for (auto it = booked.cbegin(); it != booked.cend(); ++it) {
        if (!expected.contains(it.key())) differences << it.key();
    }
    return differences;
}

}  // namespace

TEST(CrashSafetyTest, AWriterKilledAtRandomMomentsNeverLeavesHalfAnOperation) {
    test::TempDataFile f;
    f.addBook(QStringLiteral("我家账簿"));
    test::openAccount(f, QStringLiteral("现金"), 100, QStringLiteral("爸爸"));
    test::openAccount(f, QStringLiteral("工行卡"), 1000, QStringLiteral("妈妈"));

    const QString script = f.programDir() + QStringLiteral("/writer.sh");
    {
        QFile file(script);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(kWriterScript);
    }
    prctl(PR_SET_CHILD_SUBREAPER, 1);
    const QString hotJournal = f.dataPath() + QStringLiteral("-journal");

    const unsigned seed = std::random_device{}();
    RecordProperty("seed", std::to_string(seed));
    std::mt19937 random(seed);
    // Half the kills come at any moment of the loop (several runs fit in the longest wait).
    // The other half come while a transaction is open (its rollback journal exists), at a
    // random point of the n-th transaction of the run, so every step of the loop gets cut off
    // sometimes: at random moments most kills would find no write going on.
    std::uniform_int_distribution<int> anyMomentMs(5, 150);
    std::uniform_int_distribution<int> nthWrite(1, 9);
    std::uniform_int_distribution<int> intoTheWriteUs(0, 800);
    const auto waitForAWrite = [&] {
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        bool open = false;
        for (int seen = 0, wanted = nthWrite(random); std::chrono::steady_clock::now() < giveUp;) {
            const bool now = QFile::exists(hotJournal);
            if (now && !open && ++seen == wanted) break;
            open = now;
            std::this_thread::sleep_for(std::chrono::microseconds(20));
        }
        std::this_thread::sleep_for(std::chrono::microseconds(intoTheWriteUs(random)));
    };

    int cutMidWrite = 0;
    for (int round = 0; round < 50; ++round) {
        const pid_t writer = startWriter(script, f.programDir());
        ASSERT_GT(writer, 0);
        if (round % 2 == 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(anyMomentMs(random)));
        } else {
            waitForAWrite();
        }
        killGroup(writer);
        if (QFile::exists(hotJournal)) ++cutMidWrite;

        f.reopen();  // the first reader rolls a cut-off transaction back
        EXPECT_EQ(f.db().query(QStringLiteral("PRAGMA quick_check")).firstColumn(),
                  QStringList{QStringLiteral("ok")})
            << "round " << round << ", seed " << seed;
        EXPECT_EQ(BookCheck(f.dm()).check(), QStringList())
            << "round " << round << ", seed " << seed;
        EXPECT_EQ(postingsWithoutTheirJournal(f.db()), QStringList())
            << "round " << round << ", seed " << seed;
        if (HasFailure()) break;
    }
    RecordProperty("cut_mid_write", cutMidWrite);
    EXPECT_GE(cutMidWrite, 5) << "too few kills found a write going on to prove anything";
    // The loop got through its steps, the late ones included.
    EXPECT_GT(f.db()
                  .query(QStringLiteral("SELECT count(*) AS n FROM UList WHERE theT='ChangeT' "
                                        "AND theE='修改'"))
                  .integer(QStringLiteral("n")),
              0);
    std::printf("[          ] %d of 50 kills cut a transaction off (seed %u)\n", cutMidWrite, seed);
}
