#include <gtest/gtest.h>

#include <QFile>
#include <QMap>
#include <QProcess>
#include <QStandardPaths>

#include "bookkeeping/BookkeepingFixture.h"
#include "bookkeeping/SubPostingRules.h"
#include "storage/Money.h"
#include "support/CliRun.h"

using cw::test::CliRun;

namespace {

// A book with every kind of posting and record, exported and read back by the programs the
// export is meant for.
class LedgerExportTest : public ::testing::Test {
  protected:
    void SetUp() override {
        f.addBook(QStringLiteral("我家"), QStringLiteral("pw"));
        f.dm().NewFamily(QStringLiteral("爸爸"));
        cw::test::openAccount(f, QStringLiteral("钱包"), 100.5, QStringLiteral("爸爸"));
        f.db().exec(QStringLiteral("UPDATE SAccount SET theType='银行卡' WHERE AName='钱包'"));
        f.addAccount(QStringLiteral("招行:信用卡"), 0, QStringLiteral("爸爸"),
                     QStringLiteral("信用卡"));
        for (const QStringList& p : std::initializer_list<QStringList>{
                 {"post", "income", "date=2024-01-15", "category=工资", "amount=8000.1",
                  "account=钱包", "member=爸爸", "remark=一月, \"奖金\""},
                 {"post", "expense", "date=2024-01-20", "category=餐饮", "amount=250.55",
                  "account=钱包", "member=妈妈"},
                 {"post", "expense", "date=2024-02-03", "category=购物", "amount=1200",
                  "account=招行:信用卡", "member=妈妈"},
                 {"post", "transfer", "date=2024-02-10", "from=钱包", "to=招行:信用卡",
                  "amount=1200", "member=爸爸", "remark=还卡"},
                 {"post", "debt", "date=2024-01-05", "contact=老李", "amount=1000", "account=钱包",
                  "member=爸爸"},
                 {"post", "repay", "id=1", "date=2024-02-15", "amount=400", "account=钱包",
                  "member=爸爸"},
                 {"post", "increase", "of=debt", "id=1", "date=2024-02-20", "amount=300",
                  "account=钱包", "member=爸爸"},
                 // A partly repaid debt changed on its screen: its old outstanding amount is
                 // reversed, the new one booked.
                 {"edit", "debt", "1", "amount=700"},
                 {"post", "credit", "date=2024-01-08", "contact=小王", "amount=500", "account=钱包",
                  "member=爸爸"},
                 {"post", "collect", "id=1", "date=2024-03-01", "amount=200", "account=钱包",
                  "member=爸爸"},
                 {"post", "decrease", "of=credit", "id=1", "date=2024-03-02", "amount=50",
                  "account=钱包", "member=爸爸"},
                 {"post", "investment", "date=2024-01-10", "category=基金", "amount=2000",
                  "account=钱包", "member=爸爸"},
                 {"post", "return", "id=1", "date=2024-03-05", "principal=1000", "profit=50",
                  "account=钱包", "member=爸爸"},
                 {"post", "return", "id=1", "date=2024-03-06", "principal=0", "profit=-30",
                  "account=钱包", "member=爸爸"},
                 {"post", "increase", "of=investment", "id=1", "date=2024-03-07", "amount=100",
                  "account=钱包", "member=爸爸"},
                 {"post", "credit", "date=2024-03-10", "contact=小张", "amount=300", "account=钱包",
                  "member=爸爸"},
                 {"post", "collect", "id=2", "date=2024-03-12", "amount=100", "account=钱包",
                  "member=爸爸"}}) {
            const CliRun r = cli(p);
            ASSERT_EQ(r.code, 0) << p.join(' ').toStdString() << ": " << r.err.toStdString();
        }
        cw::SubPostingRules(f.dm()).writeOff(2);
    }

    CliRun cli(const QStringList& args) {
        return cw::test::runCli(
            QStringList{"--home", f.programDir(), "--book", "我家", "--password", "pw"} + args);
    }

    QString exportTo(const QString& format, const QStringList& range = {}) {
        const QString path = dir.filePath(QStringLiteral("book.") + format);
        const CliRun r = cli(QStringList{"export", format, path} + range);
        EXPECT_EQ(r.code, 0) << r.err.toStdString();
        return path;
    }

    static QString read(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    cw::test::TempDataFile f;
    QTemporaryDir dir;
};

bool have(const char* program) {
    return !QStandardPaths::findExecutable(program).isEmpty();
}

QString run(const QString& program, const QStringList& args, int* code = nullptr) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    if (code) *code = p.exitCode();
    return QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
}

// hledger's balance of every account, in cents.
QMap<QString, qint64> hledgerBalances(const QString& file, const QStringList& more = {}) {
    const QString csv =
        run(QStringLiteral("hledger"),
            QStringList{"-f", file, "bal", "--flat", "-E", "-N", "-O", "csv"} + more);
    QMap<QString, qint64> out;
    for (const QString& line : csv.split('\n', Qt::SkipEmptyParts).mid(1)) {
        const QStringList cells = line.split(QStringLiteral("\",\""));
        if (cells.size() != 2) continue;
        QString amount = cells[1];
        amount.remove('"').remove(QStringLiteral(" CNY"));
        out.insert(cells[0].mid(1), cw::Money::cents(amount.toDouble()));
    }
    return out;
}

qint64 cents(const char* amount) {
    return cw::Money::cents(QString::fromUtf8(amount).toDouble());
}

TEST_F(LedgerExportTest, HledgerBalancesAreTheBooksAndItsMonthsTheMonthlyReport) {
    if (!have("hledger")) GTEST_SKIP() << "hledger is not installed";
    const QString file = exportTo(QStringLiteral("ledger"));
    int code = -1;
    const QString checked =
        run(QStringLiteral("hledger"), {"-f", file, "check", "--strict"}, &code);
    ASSERT_EQ(code, 0) << checked.toStdString();
    const QMap<QString, qint64> bal = hledgerBalances(file);

    // Every money account as the accounts list has it.
    const QStringList rows = cli({"accounts"}).out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), 4);
    for (const QString& row : rows.mid(1, 2)) {
        const QStringList c = row.split('\t');
        const QString top = c[0] == QStringLiteral("信用卡") ? "负债:" : "资产:";
        QString name = c[2];
        const QString path = top + c[0] + ':' + name.replace(':', QChar(0xFF1A));
        EXPECT_EQ(bal.value(path, -1), cw::Money::cents(c[3].toDouble())) << path.toStdString();
    }
    // Debts, credits and investments at what is outstanding; profits and losses as income and
    // expense, once each.
    EXPECT_EQ(bal.value(QStringLiteral("负债:借入:老李")), cents("-700"));
    EXPECT_EQ(bal.value(QStringLiteral("资产:借出:小王")), cents("250"));
    EXPECT_EQ(bal.value(QStringLiteral("资产:投资:基金")), cents("1100"));
    EXPECT_EQ(bal.value(QStringLiteral("收入:投资收益:基金")), cents("-50"));
    EXPECT_EQ(bal.value(QStringLiteral("支出:投资亏损:基金")), cents("30"));
    EXPECT_EQ(bal.value(QStringLiteral("资产:借出:小张")), 0);
    EXPECT_EQ(bal.value(QStringLiteral("权益:坏账")), cents("200"));
    // Every movement is in the postings, so the wallet opens at what it was opened with.
    EXPECT_TRUE(read(file).contains(
        QStringLiteral("\n2024-01-04 期初余额\n    资产:银行卡:钱包  100.50 CNY\n")));

    // Income and expense of each month as the monthly report sums them.
    const QStringList months =
        cli({"report", "monthly", "from=2024-01-01", "to=2024-03-31"}).out.split('\n').mid(1, 3);
    ASSERT_EQ(months.size(), 3);
    for (const QString& m : months) {
        const QStringList c = m.split('\t');
        const QMap<QString, qint64> month = hledgerBalances(file, {"-p", c[0], "--depth", "1"});
        EXPECT_EQ(-month.value(QStringLiteral("收入")), cw::Money::cents(c[1].toDouble()))
            << m.toStdString();
        EXPECT_EQ(month.value(QStringLiteral("支出")), cw::Money::cents(c[3].toDouble()))
            << m.toStdString();
    }
}

// A range opens every account where the whole book stands on its first day and leaves it
// where the whole book stands on its last.
TEST_F(LedgerExportTest, ARangeOpensAtTheBalancesOfItsFirstDay) {
    if (!have("hledger")) GTEST_SKIP() << "hledger is not installed";
    const QString whole = exportTo(QStringLiteral("ledger"));
    const QMap<QString, qint64> atEnd = hledgerBalances(whole, {"-e", "2024-03-01", "^资产|^负债"});
    const QString feb = exportTo(QStringLiteral("ledger"), {"from=2024-02-01", "to=2024-02-29"});
    EXPECT_TRUE(read(feb).startsWith(QStringLiteral("; 账簿：我家")));
    EXPECT_TRUE(read(feb).contains(QStringLiteral("\n2024-02-02 期初余额\n")));
    QMap<QString, qint64> inRange = hledgerBalances(feb, {"^资产|^负债"});
    for (auto it = atEnd.begin(); it != atEnd.end(); ++it)
        EXPECT_EQ(inRange.value(it.key()), it.value()) << it.key().toStdString();
    EXPECT_EQ(hledgerBalances(feb, {"--depth", "1", "^支出"}).value(QStringLiteral("支出")),
              cents("1200"));
}

TEST_F(LedgerExportTest, BeancountChecksTheExportAndBalancesAsTheBook) {
    if (!have("bean-check")) GTEST_SKIP() << "beancount is not installed";
    const QString file = exportTo(QStringLiteral("beancount"));
    int code = -1;
    const QString out = run(QStringLiteral("bean-check"), {file}, &code);
    EXPECT_EQ(code, 0) << out.toStdString();
    QMap<QString, qint64> bal;
    const QString csv = run(QStringLiteral("bean-query"),
                            {"-f", "csv", file, "SELECT account, sum(number) GROUP BY account"});
    for (const QString& line : csv.split('\n', Qt::SkipEmptyParts).mid(1))
        bal.insert(line.section(',', 0, 0).trimmed(),
                   cw::Money::cents(line.section(',', 1).toDouble()));
    EXPECT_EQ(bal.value(QStringLiteral("Assets:Bank:钱包")),
              cw::Money::cents(
                  f.db()
                      .query(QStringLiteral("SELECT AMoney FROM SAccount WHERE AName='钱包'"))
                      .number(QStringLiteral("AMoney"))));
    EXPECT_EQ(bal.value(QStringLiteral("Liabilities:CreditCard:招行：信用卡"), -1), 0);
    EXPECT_EQ(bal.value(QStringLiteral("Liabilities:Borrowed:老李")), cents("-700"));
    EXPECT_EQ(bal.value(QStringLiteral("Assets:Investment:基金")), cents("1100"));
    const QString text = read(file);
    EXPECT_TRUE(text.contains(QStringLiteral("open Income:GZ-工资 CNY"))) << text.toStdString();
    EXPECT_TRUE(
        text.contains(QStringLiteral("  Liabilities:CreditCard:招行：信用卡  1200.00 CNY")));
    EXPECT_TRUE(
        text.contains(QStringLiteral("2024-01-15 * \"工资\" \"一月, \\\"奖金\\\"\"\n"
                                     "  member: \"爸爸\"\n")));
}

TEST_F(LedgerExportTest, QifSectionsAndCsvLegs) {
    const QString qif = read(exportTo(QStringLiteral("qif")));
    EXPECT_TRUE(qif.contains(QStringLiteral("!Account\nN招行：信用卡\nTCCard\n^\n!Type:CCard\n")));
    EXPECT_TRUE(qif.contains(
        QStringLiteral("D02/10/2024\nT1200.00\nP转账\nL[钱包]\nM爸爸 还卡 钱包->招行:信用卡\n^\n")))
        << qif.toStdString();
    EXPECT_TRUE(
        qif.contains(QStringLiteral("D02/15/2024\nT-400.00\nP还债\nL[借入:老李]\nM爸爸\n^\n")));

    QFile file(exportTo(QStringLiteral("csv")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    const QString csv = QString::fromUtf8(bytes.mid(3));
    EXPECT_TRUE(csv.startsWith(QStringLiteral("序号,日期,类型,账户,金额,币种,家庭成员,备注\r\n")));
    EXPECT_TRUE(csv.contains(
        QStringLiteral(",2024-01-15,工资,收入:工资,-8000.10,CNY,爸爸,\"一月, \"\"奖金\"\"\"\r\n")))
        << csv.toStdString();
}

TEST_F(LedgerExportTest, Refusals) {
    CliRun r = cli({"export", "ledger", dir.filePath("x"), "from=2024-03-01", "to=2024-02-01"});
    EXPECT_EQ(r.code, 3);
    EXPECT_EQ(r.err, QStringLiteral("日期选择错误，请重新选择！\n"));
    r = cli({"export", "ledger", f.programDir() + QStringLiteral("/Data/book.journal")});
    EXPECT_EQ(r.code, 3);
    EXPECT_FALSE(QFile::exists(f.programDir() + QStringLiteral("/Data/book.journal")));
    EXPECT_EQ(cli({"export", "gnucash", dir.filePath("x")}).code, 2);
    EXPECT_EQ(cli({"export", "ledger", dir.filePath("x"), "from=2024-02-30"}).code, 2);
    EXPECT_FALSE(QFile::exists(dir.filePath("x")));
}

}  // namespace
