// --help and --version of both executables, and the manual pages made from --help.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include "storage/GlobalState.h"
#include "support/CliRun.h"
#include "support/Files.h"

using cw::test::CliRun;
using cw::test::runCli;

namespace {

// The verbs the CLI dispatches, as it names them when given one it does not know.
QStringList dispatchedVerbs() {
    const CliRun r = runCli({QStringLiteral("no-such-verb")});
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("verbs: ([^\n]+)")).match(r.err);
    return m.hasMatch() ? m.captured(1).split(QLatin1Char(' ')) : QStringList();
}

// Where a verb's entry starts: its name after two blanks, then its arguments or its text.
bool documents(const QString& help, const QString& verb) {
    return QRegularExpression(QStringLiteral("\n  ") + QRegularExpression::escape(verb) +
                              QStringLiteral("[ \n]"))
        .match(help)
        .hasMatch();
}

QString buildDir() {
    QDir dir = QFileInfo(QStringLiteral(COINWICK_CLI)).dir();
    dir.cdUp();
    return dir.path();
}

}  // namespace

TEST(CliHelpTest, HelpListsEveryDispatchedVerbAndTheExitStatuses) {
    const QStringList verbs = dispatchedVerbs();
    ASSERT_TRUE(verbs.contains("post") && verbs.contains("note")) << verbs.join(" ").toStdString();
    for (const QStringList& args :
         {QStringList{"--help"}, QStringList{"--home", "/nowhere", "--help"}}) {
        const CliRun help = runCli(args);
        EXPECT_EQ(help.code, 0) << help.err.toStdString();
        EXPECT_TRUE(help.err.isEmpty());
        for (const QString& verb : verbs) {
            EXPECT_TRUE(documents(help.out, verb)) << "no help for " << verb.toStdString();
        }
        for (const char* line : {"exit status:\n", "  0  done\n", "  1  check found differences\n",
                                 "  2  bad usage\n", "  3  refused"}) {
            EXPECT_TRUE(help.out.contains(QString::fromUtf8(line))) << line;
        }
    }
    // Bad usage names the way to the help instead of burying the message under it.
    const CliRun bad = runCli({QStringLiteral("--book")});
    EXPECT_EQ(bad.code, 2);
    EXPECT_TRUE(bad.err.startsWith(QStringLiteral("--book needs a value\nusage: coinwick-cli")));
    EXPECT_TRUE(bad.err.contains(QStringLiteral("coinwick-cli --help")));
}

TEST(CliHelpTest, BothProgramsAnswerVersionAndTheProgramNeedsNoDisplayForIt) {
    const CliRun cli = runCli({QStringLiteral("--version")});
    EXPECT_EQ(cli.code, 0);
    EXPECT_EQ(cli.out, QStringLiteral("coinwick-cli ") + cw::GlobalState::version() + '\n');

    const QString program = QFileInfo(QStringLiteral(COINWICK_CLI)).dir().filePath("coinwick");
    if (!QFileInfo::exists(program)) GTEST_SKIP() << "the program is not built";
    QProcessEnvironment bare;
    bare.insert(QStringLiteral("PATH"), qEnvironmentVariable("PATH"));
    for (const char* arg : {"--version", "--help"}) {
        QProcess p;
        p.setProcessEnvironment(bare);  // no DISPLAY, no platform: a bare server
        p.start(program, {QString::fromLatin1(arg)});
        ASSERT_TRUE(p.waitForFinished(60000));
        const QString out = QString::fromUtf8(p.readAllStandardOutput());
        EXPECT_EQ(p.exitCode(), 0) << arg << p.readAllStandardError().toStdString();
        if (QLatin1String(arg) == QLatin1String("--version")) {
            EXPECT_EQ(out, QStringLiteral("coinwick ") + cw::GlobalState::version() + '\n');
        } else {
            EXPECT_TRUE(out.startsWith(QStringLiteral("coinwick - Coinwick记账软件")));
            EXPECT_TRUE(out.contains(QStringLiteral("\n  --home DIR ")));
            EXPECT_TRUE(out.contains(QStringLiteral("\nexit status:\n")));
        }
    }
}

// The pages are built from --help: each verb is there, with the brackets, semicolons and
// minus signs that roff and the page maker's own list handling could lose.
TEST(CliHelpTest, ManualPagesCarryTheHelpText) {
    const QString page = buildDir() + QStringLiteral("/man/coinwick-cli.1");
    if (!QFileInfo::exists(page)) GTEST_SKIP() << "the manual pages are not built";
    const QString roff = QString::fromUtf8(cw::test::readFile(page));
    EXPECT_TRUE(roff.startsWith(QStringLiteral(".TH COINWICK-CLI 1 ")));
    EXPECT_TRUE(roff.contains(QStringLiteral(".SH NAME\ncoinwick\\-cli \\- ")));
    EXPECT_TRUE(
        roff.contains(QStringLiteral(".SH SYNOPSIS\n.nf\ncoinwick\\-cli [\\-\\-home DIR]")));
    EXPECT_TRUE(roff.contains(QStringLiteral(".SH EXIT STATUS\n")));
    EXPECT_TRUE(roff.contains(QStringLiteral("journal [account=] [from=] [to=]")));
    // Continuation lines keep their indent under the page's own.
    EXPECT_TRUE(roff.contains(QStringLiteral("\n      [from=] [to=] [category=] [account=]")));
    EXPECT_TRUE(roff.contains(QStringLiteral("\n                     folder when it holds")));
    EXPECT_TRUE(roff.contains(QStringLiteral("decrease; repay, collect")));
    EXPECT_TRUE(roff.contains(QStringLiteral("written as \\et,\n\\en and \\e\\e.\n")));
    for (const QString& verb : dispatchedVerbs()) {
        QString escaped = verb;
        escaped.replace(QLatin1Char('-'), QStringLiteral("\\-"));
        EXPECT_TRUE(roff.contains(QLatin1Char('\n') + escaped + QLatin1Char(' ')) ||
                    roff.contains(QLatin1Char('\n') + escaped + QLatin1Char('\n')))
            << verb.toStdString();
    }
    const QString program = QString::fromUtf8(cw::test::readFile(buildDir() + "/man/coinwick.1"));
    EXPECT_TRUE(program.contains(QStringLiteral(".SH FILES\n")));
    EXPECT_TRUE(program.contains(QStringLiteral("coinwick\\-cli(1)")));
}
