#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <csignal>

#include "support/CliRun.h"
#include "support/Files.h"
#include "support/TempDataFile.h"

using cw::test::CliRun;

namespace {

// The three outputs of the companion, each with a verb that writes it.
struct Output {
    const char* key;
    QStringList verb;
};

const Output kOutputs[] = {
    {"xlsx=", {"report", "monthly", "from=2024-01-01", "to=2024-01-31"}},
    {"pdf=", {"report", "monthly", "from=2024-01-01", "to=2024-01-31"}},
    {"png=", {"analysis", "in", "by=member", "from=2024-01-01", "to=2024-01-31"}},
};

class CliOutputsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        f.addBook(QStringLiteral("我家"), QStringLiteral("pw"));
        const CliRun r = run({"post", "income", "date=2024-01-15", "category=工资", "amount=1000",
                              "account=钱包", "member=爸爸"});
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
    }

    QStringList args(const QStringList& verb) const {
        return QStringList{"--home", f.programDir(), "--book", "我家", "--password", "pw"} + verb;
    }
    CliRun run(const QStringList& verb) { return cw::test::runCli(args(verb)); }
    static QStringList with(const Output& o, const QString& file) {
        return o.verb + QStringList{QString::fromLatin1(o.key) + file};
    }
    QString at(const QString& relative) const { return f.programDir() + "/" + relative; }
    // The lines saying a file cannot be written (the graphical verbs may add the platform's
    // own notices on stderr).
    static qsizetype refusals(const CliRun& r) {
        return r.err.split('\n').filter(QRegularExpression("^无法写入文件：")).size();
    }

    // A run whose files cannot grow past a few kilobytes: writes fail as on a full disk.
    CliRun runOnAFullDisk(const QStringList& verb) {
        return cw::test::runCli(args(verb), [] {
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit limit{2048, 2048};
            setrlimit(RLIMIT_FSIZE, &limit);
        });
    }

    cw::test::TempDataFile f;
};

// Into Data/ (by its name or a link), onto a disk that fills up, a device, a folder that
// cannot take the file: exit 3 with one line, nothing printed for a refused place, the earlier
// file at the target untouched, no temporary file left, the books as they were.
TEST_F(CliOutputsTest, RefusedAndFailedWritesLeaveEverythingAsItWas) {
    const QByteArray books = cw::test::readFile(f.dataPath());
    ASSERT_TRUE(QFile::link(at("Data"), at("linked")));
    QDir().mkpath(at("out"));
    const QString target = at("out/report.out");
    for (const Output& o : kOutputs) {
        SCOPED_TRACE(o.key);
        for (const QString& refused : {at("Data/db.kbk"), at("linked/new.out")}) {
            const CliRun r = run(with(o, refused));
            EXPECT_EQ(r.code, 3);
            EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
            EXPECT_EQ(refusals(r), 1) << r.err.toStdString();
        }
        cw::test::writeFile(target, "the earlier report");
        const CliRun full = runOnAFullDisk(with(o, target));
        EXPECT_EQ(full.code, 3);
        EXPECT_EQ(refusals(full), 1) << full.err.toStdString();
        EXPECT_EQ(run(with(o, "/dev/full")).code, 3);
        EXPECT_EQ(run(with(o, target + "/inside.out")).code, 3);
        if (::geteuid() != 0) {  // the superuser writes into any folder
            ::chmod(QFile::encodeName(at("out")).constData(), 0500);
            EXPECT_EQ(run(with(o, target)).code, 3);
            ::chmod(QFile::encodeName(at("out")).constData(), 0700);
        }
        EXPECT_EQ(cw::test::readFile(target), "the earlier report");
        EXPECT_EQ(QDir(at("out")).entryList(QDir::Files | QDir::Hidden), QStringList{"report.out"});
    }
    EXPECT_EQ(cw::test::readFile(f.dataPath()), books);
    EXPECT_EQ(QDir(at("Data")).entryList(QDir::Files | QDir::Hidden), QStringList{"db.kbk"});
}

// What is written reads back whole and is the owner's alone, whatever the umask.
TEST_F(CliOutputsTest, OutputsAndBackupsAreOwnerOnly) {
    const mode_t old = ::umask(022);
    QStringList files;
    for (const Output& o : kOutputs) {
        const QString file = at(QStringLiteral("report.") + QString::fromLatin1(o.key).chopped(1));
        const CliRun r = run(with(o, file));
        EXPECT_EQ(r.code, 0) << r.err.toStdString();
        files << file;
    }
    ASSERT_EQ(run({"backup", at("copy.kbk")}).code, 0);
    files << at("copy.kbk");
    ::umask(old);
    EXPECT_TRUE(cw::test::readFile(files[0]).startsWith("PK"));
    EXPECT_TRUE(cw::test::readFile(files[1]).trimmed().endsWith("%%EOF"));
    EXPECT_TRUE(cw::test::readFile(files[2]).startsWith("\x89PNG"));
    for (const QString& file : files) {
        struct stat st;
        ASSERT_EQ(::stat(QFile::encodeName(file).constData(), &st), 0) << file.toStdString();
        EXPECT_EQ(st.st_mode & 0777, 0600u) << file.toStdString();
    }
}

}  // namespace
