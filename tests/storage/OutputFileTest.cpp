#include "storage/OutputFile.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>

#include "support/TempDataFile.h"

using namespace cw;

namespace {

struct OutputFileTest : ::testing::Test {
    test::TempDataFile f;
    QString home;

    void SetUp() override { home = f.programDir(); }
    QString at(const QString& relative) const { return home + QLatin1Char('/') + relative; }
    void link(const QString& target, const QString& name) const {
        ASSERT_TRUE(QFile::link(target, at(name)));
    }
};

// Whatever name leads there: the data file, its journal, anything in Data/, the data file
// under another name, and places that are no plain file.
TEST_F(OutputFileTest, RefusesEveryWayIntoTheDataFolder) {
    link(at("Data/db.kbk"), "link.pdf");
    link(at("Data"), "out");
    link(at("Data/none.png"), "dangling.png");
    ASSERT_EQ(::symlink("Data", QFile::encodeName(at("rel")).constData()), 0);
    ASSERT_TRUE(::link(QFile::encodeName(at("Data/db.kbk")).constData(),
                       QFile::encodeName(at("hard.kbk")).constData()) == 0);
    QDir().mkpath(at("sub"));
    for (const QString& target :
         {at("Data/db.kbk"), at("Data/db.kbk-journal"), at("Data/new.xlsx"),
          at("sub/../Data/x.pdf"), at("./Data/./db.kbk"), at("link.pdf"), at("out/new.pdf"),
          at("out/deeper/new.pdf"), at("nothere/../out/x.pdf"), at("dangling.png"),
          at("sub/../rel/x.png"), at("hard.kbk"), at("Data"), at("sub"),
          QStringLiteral("/dev/full")}) {
        SCOPED_TRACE(target.toStdString());
        const QString why = OutputFile::refusal(target, f.dataPath());
        EXPECT_TRUE(why.startsWith(QStringLiteral("无法写入文件："))) << why.toStdString();
        OutputFile out(target, f.dataPath());
        EXPECT_FALSE(out.open());
        EXPECT_EQ(out.errorString(), why);
    }
    // A link inside a linked folder is followed before ".." is taken: out/.. is home.
    EXPECT_EQ(OutputFile::resolve(at("out/../x.pdf")), QDir(home).canonicalPath() + "/x.pdf");
    EXPECT_TRUE(OutputFile::refusal(at("out/../x.pdf"), f.dataPath()).isEmpty());
    EXPECT_TRUE(OutputFile::refusal(at("Export/x.xlsx"), f.dataPath()).isEmpty());
    EXPECT_EQ(QDir(at("Data")).entryList(QDir::Files), QStringList{"db.kbk"});
}

}  // namespace
