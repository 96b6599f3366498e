#include <gtest/gtest.h>

#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include "files/DataFolder.h"
#include "storage/DataFile.h"
#include "storage/Database.h"
#include "storage/GlobalState.h"
#include "support/CliRun.h"
#include "support/Files.h"

using namespace cw;
using test::readFile;
using test::writeFile;

namespace {

// An installed layout in a temporary root: <root>/usr/bin for the executables and
// <root>/usr/share/coinwick with the delivered data file and chime.
struct Installed {
    QTemporaryDir root;
    QString bin() const { return root.filePath("usr/bin"); }
    QString share() const { return root.filePath("usr/share/coinwick"); }
    QString user() const { return root.filePath("home/.local/share/Coinwick"); }

    Installed() {
        QDir().mkpath(bin());
        DataFile::make(share() + "/db.kbk");
        writeFile(share() + "/1.mp3", "chime");
    }
};

}  // namespace

TEST(DataFolderTest, HomeGivenWinsThenAWritableDataFolderBesideTheProgramThenTheUsersFolder) {
    Installed inst;
    const QString user = inst.user();

    // Installed: nothing beside the executable, so the user's folder.
    DataFolder d = DataFolder::choose(inst.bin(), QString(), user);
    EXPECT_EQ(d.kind(), DataFolder::Kind::PerUser);
    EXPECT_EQ(d.dir(), user);
    EXPECT_EQ(d.shareDir(), inst.share());

    // --home wins whatever lies beside the executable.
    d = DataFolder::choose(inst.bin(), inst.root.filePath("elsewhere"), user);
    EXPECT_EQ(d.kind(), DataFolder::Kind::Given);
    EXPECT_EQ(d.dir(), inst.root.filePath("elsewhere"));

    // A portable copy: Data/ beside the executable.
    QDir().mkpath(inst.bin() + "/Data");
    d = DataFolder::choose(inst.bin(), QString(), user);
    EXPECT_EQ(d.kind(), DataFolder::Kind::Portable);
    EXPECT_EQ(d.dir(), inst.bin());
    d = DataFolder::choose(inst.bin(), inst.root.filePath("elsewhere"), user);
    EXPECT_EQ(d.kind(), DataFolder::Kind::Given);

    // A Data/ the user cannot write (a copy installed by the administrator) is not portable.
    if (geteuid() != 0) {
        QFile::setPermissions(inst.bin() + "/Data", QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        d = DataFolder::choose(inst.bin(), QString(), user);
        EXPECT_EQ(d.kind(), DataFolder::Kind::PerUser);
        QFile::setPermissions(inst.bin() + "/Data", QFileDevice::ReadOwner |
                                                        QFileDevice::WriteOwner |
                                                        QFileDevice::ExeOwner);
    }
    // A file named Data is no folder.
    QDir(inst.bin() + "/Data").removeRecursively();
    writeFile(inst.bin() + "/Data", "x");
    EXPECT_EQ(DataFolder::choose(inst.bin(), QString(), user).kind(), DataFolder::Kind::PerUser);
}

TEST(DataFolderTest, TheProgramTakesHomeInBothSpellingsAndRefusesAnEmptyOne) {
    const auto home = [](const QStringList& args) { return DataFolder::homeArgument(args); };
    EXPECT_EQ(home({}).dir, QString());
    EXPECT_EQ(home({"-style", "fusion"}).dir, QString());
    EXPECT_EQ(home({"--home", "/srv/家"}).dir, "/srv/家");
    EXPECT_EQ(home({"-style", "fusion", "--home=/srv/家 2"}).dir, "/srv/家 2");
    EXPECT_EQ(home({"--home=/a", "--home", "/b"}).dir, "/b");
    EXPECT_TRUE(home({"--home", "/b"}).error.isEmpty());
    for (const QStringList& bad : {QStringList{"--home"}, QStringList{"--home="},
                                   QStringList{"--home", ""}, QStringList{"--home=/a", "--home"}}) {
        EXPECT_EQ(home(bad).error, QStringLiteral("--home 后面要写数据文件夹"))
            << bad.join(' ').toStdString();
    }
}

TEST(DataFolderTest, FirstStartCopiesTheDeliveredFilesAndNeverOverwrites) {
    Installed inst;
    const DataFolder d = DataFolder::choose(inst.bin(), QString(), inst.user());

    DataFolder::Prepared p = d.prepare();
    ASSERT_TRUE(p.ok) << p.message.toStdString();
    EXPECT_TRUE(p.copiedDataFile);
    for (const char* sub : {"Data", "Backup", "Export", "Music"}) {
        EXPECT_TRUE(QFileInfo(inst.user() + "/" + sub).isDir()) << sub;
    }
    const QString dataFile = DataFile::pathIn(inst.user());
    EXPECT_EQ(readFile(dataFile), readFile(inst.share() + "/db.kbk"));
    EXPECT_EQ(readFile(inst.user() + "/Music/1.mp3"), QByteArray("chime"));
    EXPECT_EQ(QFile::permissions(dataFile) & (QFileDevice::ReadOther | QFileDevice::WriteOther),
              QFileDevice::Permissions());
    EXPECT_TRUE(QFileInfo(dataFile).isWritable());
    EXPECT_FALSE(QFileInfo::exists(dataFile + ".part"));

    // The user's books and chosen chime survive every later start (an upgrade brings a new
    // delivered file).
    {
        auto db = Database::open(dataFile);
        db->exec(QStringLiteral("INSERT INTO SBook(BName, BPass) VALUES('我家', '1')"));
    }
    writeFile(inst.user() + "/Music/1.mp3", "mine");
    const QByteArray books = readFile(dataFile);
    writeFile(inst.share() + "/1.mp3", "newer chime");
    p = d.prepare();
    ASSERT_TRUE(p.ok);
    EXPECT_FALSE(p.copiedDataFile);
    EXPECT_EQ(readFile(dataFile), books);
    EXPECT_EQ(readFile(inst.user() + "/Music/1.mp3"), QByteArray("mine"));
    EXPECT_EQ(Database::open(dataFile)
                  ->query(QStringLiteral("SELECT count(*) AS n FROM SBook WHERE BName='我家'"))
                  .integer(QStringLiteral("n")),
              1);
}

TEST(DataFolderTest, AMissingDeliveredFileIsSaidAndLeavesNoDataFile) {
    Installed inst;
    QFile::remove(inst.share() + "/db.kbk");
    const DataFolder d = DataFolder::choose(inst.bin(), QString(), inst.user());
    const DataFolder::Prepared p = d.prepare();
    EXPECT_FALSE(p.ok);
    EXPECT_TRUE(p.message.contains(QStringLiteral("找不到安装的文件"))) << p.message.toStdString();
    EXPECT_FALSE(QFileInfo::exists(DataFile::pathIn(inst.user())));
}

TEST(DataFolderTest, PortableAndGivenFoldersAreUsedAsTheyAre) {
    Installed inst;
    const QString given = inst.root.filePath("given");
    const DataFolder d = DataFolder::choose(inst.bin(), given, inst.user());
    EXPECT_TRUE(d.prepare().ok);
    EXPECT_FALSE(QFileInfo::exists(given));
    EXPECT_FALSE(QFileInfo::exists(inst.user()));
}

// The CLI copied into an installed layout: without --home it keeps the books in the user's
// folder (filled on first use, from ../share/coinwick), --home still wins, and the version
// is the build's.
TEST(DataFolderTest, CliOfAnInstalledCopyUsesTheUsersFolder) {
    Installed inst;
    const QString cli = inst.bin() + "/coinwick-cli";
    ASSERT_TRUE(QFile::copy(QStringLiteral(COINWICK_CLI), cli));
    const QString xdg = inst.root.filePath("home/.local/share");
    auto run = [&](const QStringList& args) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", inst.root.filePath("home"));
        env.insert("XDG_DATA_HOME", xdg);
        env.insert("XDG_RUNTIME_DIR", inst.root.path());
        p.setProcessEnvironment(env);
        p.start(cli, args);
        p.waitForFinished(60000);
        return test::CliRun{p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
                            QString::fromUtf8(p.readAllStandardError())};
    };

    const test::CliRun version = run({"--version"});
    EXPECT_EQ(version.code, 0);
    EXPECT_EQ(version.out, "coinwick-cli " + GlobalState::version() + "\n");
    EXPECT_FALSE(GlobalState::version().isEmpty());

    EXPECT_EQ(run({"pinyin", "我家"}).code, 0);
    EXPECT_FALSE(QFileInfo::exists(inst.user()));  // no data asked for, nothing written

    test::CliRun r = run({"newbook", "我家", "password=1"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(inst.user() + "/Data/db.kbk"));
    EXPECT_TRUE(QFileInfo::exists(inst.user() + "/Music/1.mp3"));
    r = run({"books"});
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(r.out.startsWith("我家\t")) << r.out.toStdString();

    // --home: that folder alone, the user's folder untouched.
    const QString other = inst.root.filePath("other");
    EXPECT_EQ(run({"--home=" + other, "init"}).code, 0);
    r = run({"--home", other, "books"});
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(other + "/Backup"));
    EXPECT_TRUE(run({"books"}).out.startsWith("我家\t"));

    // The delivered file is missing: the CLI says so instead of making an empty folder do.
    QDir(inst.user()).removeRecursively();
    QFile::remove(inst.share() + "/db.kbk");
    r = run({"books"});
    EXPECT_EQ(r.code, 3);
    EXPECT_TRUE(r.err.contains(QStringLiteral("找不到安装的文件")));
}
