// The installable package as built by `cmake --build <build> --target package` (scripts/setup.sh
// does it): its files, its control fields, and the unpacked program finding its data. Runs where
// dpkg-deb exists and the package has been built; skips otherwise.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSize>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>

#include "storage/GlobalState.h"
#include "support/Files.h"

using cw::test::readFile;

namespace {

struct Result {
    int code = -1;
    QString out;
    QString err;
};

Result run(const QString& program, const QStringList& args,
           const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, args);
    p.waitForFinished(120000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

// The build folder is the one above the program folder that holds coinwick-cli.
QString builtPackage() {
    QDir build = QFileInfo(QStringLiteral(COINWICK_CLI)).dir();
    build.cdUp();
    const QStringList debs = build.entryList(
        {QStringLiteral("coinwick_") + cw::GlobalState::version() + QStringLiteral("_*.deb")},
        QDir::Files);
    return debs.isEmpty() ? QString() : build.filePath(debs.front());
}

// Width and height from a PNG's header; 0x0 when it is no PNG.
QSize pngSize(const QByteArray& png) {
    if (png.size() < 24 || !png.startsWith("\x89PNG\r\n\x1a\n") || png.mid(12, 4) != "IHDR") {
        return {};
    }
    return {int(qFromBigEndian<quint32>(png.constData() + 16)),
            int(qFromBigEndian<quint32>(png.constData() + 20))};
}

struct PackageTest : ::testing::Test {
    QString deb;

    void SetUp() override {
        if (QStandardPaths::findExecutable(QStringLiteral("dpkg-deb")).isEmpty()) {
            GTEST_SKIP() << "no dpkg-deb here";
        }
        deb = builtPackage();
        if (deb.isEmpty()) GTEST_SKIP() << "the package target has not been built";
    }
};

TEST_F(PackageTest, HoldsTheProgramItsDataDesktopEntryIconsAndMetadata) {
    const Result list = run(QStringLiteral("dpkg-deb"), {QStringLiteral("-c"), deb});
    ASSERT_EQ(list.code, 0) << list.err.toStdString();
    QStringList expected = {
        "./usr/bin/coinwick",
        "./usr/bin/coinwick-cli",
        "./usr/lib/coinwick/coinwick-xls",
        "./usr/share/coinwick/db.kbk",
        "./usr/share/coinwick/1.mp3",
        "./usr/share/applications/org.coinwick.Coinwick.desktop",
        "./usr/share/metainfo/org.coinwick.Coinwick.metainfo.xml",
        "./usr/share/icons/hicolor/scalable/apps/coinwick.svg",
        "./usr/share/man/man1/coinwick.1.gz",
        "./usr/share/man/man1/coinwick-cli.1.gz",
        "./usr/share/doc/coinwick/copyright",
        "./usr/share/doc/coinwick/changelog.gz",
        "./usr/share/coinwick/help/index.html",
        "./usr/share/coinwick/help/images/main.png",
    };
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        expected << QStringLiteral("./usr/share/icons/hicolor/%1x%1/apps/coinwick.png").arg(size);
    }
    for (const QString& path : expected) {
        EXPECT_TRUE(list.out.contains(QLatin1Char(' ') + path + QLatin1Char('\n')))
            << path.toStdString();
    }
    // Nothing of the build's own (tests, the data maker, a build folder's Data/) goes along.
    EXPECT_FALSE(list.out.contains(QStringLiteral("makedb")));
    EXPECT_FALSE(list.out.contains(QStringLiteral("_tests")));
    EXPECT_FALSE(list.out.contains(QStringLiteral("/Data/")));
}

TEST_F(PackageTest, ControlFieldsNameTheVersionAndDependsFromTheLinkedLibraries) {
    const Result info = run(QStringLiteral("dpkg-deb"), {QStringLiteral("-I"), deb});
    ASSERT_EQ(info.code, 0) << info.err.toStdString();
    EXPECT_TRUE(info.out.contains(QStringLiteral(" Package: coinwick\n")));
    EXPECT_TRUE(info.out.contains(QStringLiteral(" Version: ") + cw::GlobalState::version() +
                                  QLatin1Char('\n')));
    EXPECT_TRUE(info.out.contains(QStringLiteral(" Section: utils\n")));
    EXPECT_TRUE(
        info.out.contains(QStringLiteral(" Maintainer: Coinwick developers <dev@coinwick.cn>\n")));
    const QStringList lines = info.out.split(QLatin1Char('\n'));
    // The description's extended lines (after dpkg-deb's own indent of one blank) fit in 80.
    bool inDescription = false;
    for (const QString& line : lines) {
        if (line.startsWith(QLatin1String(" Description:"))) {
            inDescription = true;
        } else if (!line.startsWith(QLatin1String("  "))) {
            inDescription = false;
        } else if (inDescription) {
            EXPECT_LE(line.size() - 1, 80) << line.toStdString();
        }
    }
    QString depends;
    for (const QString& line : lines) {
        if (line.trimmed().startsWith(QLatin1String("Depends:"))) depends = line;
    }
    ASSERT_FALSE(depends.isEmpty()) << info.out.toStdString();
    // Computed from the executables' libraries, plus what the program loads by name.
    for (const char* dep : {"libc6", "libqt6core6", "libqt6widgets6", "libqt6charts6",
                            "libqt6multimedia6", "libsqlcipher", "libxlsxwriter", "libzip",
                            "libfreexl", "fonts-wqy-microhei", "qt6-translations-l10n"}) {
        EXPECT_TRUE(depends.contains(QString::fromLatin1(dep)))
            << dep << " in " << depends.toStdString();
    }
}

TEST_F(PackageTest, TheUnpackedProgramFillsTheUsersFolderOnItsFirstStart) {
    QTemporaryDir root;
    const Result x = run(QStringLiteral("dpkg-deb"), {QStringLiteral("-x"), deb, root.path()});
    ASSERT_EQ(x.code, 0) << x.err.toStdString();

    const QString desktop = QString::fromUtf8(
        readFile(root.filePath("usr/share/applications/org.coinwick.Coinwick.desktop")));
    EXPECT_TRUE(desktop.contains(QStringLiteral("\nName=Coinwick\n")));
    EXPECT_TRUE(desktop.contains(QStringLiteral("\nName[zh_CN]=Coinwick记账软件\n")));
    EXPECT_TRUE(desktop.contains(QStringLiteral("\nCategories=Office;Finance;\n")));
    EXPECT_TRUE(desktop.contains(QStringLiteral("\nExec=coinwick\n")));
    EXPECT_TRUE(desktop.contains(QStringLiteral("\nIcon=coinwick\n")));
    const QString meta = QString::fromUtf8(
        readFile(root.filePath("usr/share/metainfo/org.coinwick.Coinwick.metainfo.xml")));
    EXPECT_TRUE(meta.contains(QStringLiteral("<release version=\"") + cw::GlobalState::version()));
    EXPECT_TRUE(meta.contains(QStringLiteral("org.coinwick.Coinwick.desktop")));
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        EXPECT_EQ(
            pngSize(readFile(root.filePath(
                QStringLiteral("usr/share/icons/hicolor/%1x%1/apps/coinwick.png").arg(size)))),
            QSize(size, size))
            << size;
    }

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), root.filePath("home"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), root.filePath("home/.local/share"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), root.path());
    const QString cli = root.filePath("usr/bin/coinwick-cli");
    const Result version = run(cli, {QStringLiteral("--version")}, env);
    EXPECT_EQ(version.out, QStringLiteral("coinwick-cli ") + cw::GlobalState::version() + '\n');

    const Result book = run(cli, {QStringLiteral("newbook"), QStringLiteral("我家")}, env);
    ASSERT_EQ(book.code, 0) << book.err.toStdString();
    const QString user = root.filePath("home/.local/share/Coinwick");
    EXPECT_TRUE(QFileInfo::exists(user + "/Data/db.kbk"));
    EXPECT_TRUE(QFileInfo::exists(user + "/Music/1.mp3"));
    EXPECT_FALSE(QFileInfo::exists(root.filePath("usr/bin/Data")));
    const Result books = run(cli, {QStringLiteral("books")}, env);
    EXPECT_TRUE(books.out.startsWith(QStringLiteral("我家\t"))) << books.out.toStdString();
    // The .xls helper is found in ../lib/coinwick beside the executable.
    const Result xls = run(
        cli,
        {QStringLiteral("--book"), QStringLiteral("我家"), QStringLiteral("import"),
         QStringLiteral("in"), QStringLiteral(COINWICK_SOURCE_DIR "/tests/data/import/income.xls")},
        env);
    EXPECT_EQ(xls.out, QStringLiteral("2\n")) << xls.err.toStdString();
}

}  // namespace

// What a distribution's reviewer runs first: no error may be left. The warnings that remain are
// explained in the README.
TEST_F(PackageTest, LintianFindsNoError) {
    if (QStandardPaths::findExecutable(QStringLiteral("lintian")).isEmpty()) {
        GTEST_SKIP() << "no lintian here";
    }
    const Result lint = run(QStringLiteral("lintian"), {deb});
    QStringList errors;
    for (const QString& line : lint.out.split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("E: "))) errors << line;
    }
    EXPECT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
    EXPECT_FALSE(lint.out.contains(QStringLiteral("no-manual-page")));
    EXPECT_FALSE(lint.out.contains(QStringLiteral("extended-description-line-too-long")));
}
