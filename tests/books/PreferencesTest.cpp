#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "books/Preferences.h"
#include "books/ReminderSound.h"
#include "support/TempDataFile.h"

using namespace cw;

namespace {

const QString kHome = QStringLiteral("我家");
const QString kOther = QStringLiteral("别家");

struct PreferencesTest : ::testing::Test {
    test::TempDataFile f;
    void SetUp() override {
        f.addBook(kOther, QString(), QStringLiteral("1"), QStringLiteral("1"));
        f.addBook(kHome);
    }
};

TEST_F(PreferencesTest, SortOrdersAreStoredForTheOpenBookOnly) {
    Preferences prefs(f.dm());
    ASSERT_TRUE(prefs.sortOrders().has_value());
    EXPECT_EQ(prefs.sortOrders()->lists, 5);
    EXPECT_EQ(prefs.sortOrders()->postings, 3);

    EXPECT_TRUE(prefs.saveSortOrders({2, 4}));
    EXPECT_EQ(prefs.sortOrders()->lists, 2);
    EXPECT_EQ(prefs.sortOrders()->postings, 4);
    // Read at the next login, not now.
    EXPECT_EQ(f.state().myPX, QStringLiteral("5"));
    f.openBook(kHome);
    EXPECT_EQ(f.state().myPX, QStringLiteral("2"));
    EXPECT_EQ(f.state().myJZPX, QStringLiteral("4"));
    f.openBook(kOther);
    EXPECT_EQ(f.state().myPX, QStringLiteral("1"));
    EXPECT_EQ(f.state().myJZPX, QStringLiteral("1"));
}

TEST_F(PreferencesTest, SortCodesOutsideTheChoicesAreRefused) {
    Preferences prefs(f.dm());
    for (const Preferences::SortOrders bad :
         {Preferences::SortOrders{0, 1}, Preferences::SortOrders{6, 1},
          Preferences::SortOrders{1, 0}, Preferences::SortOrders{1, 5}}) {
        EXPECT_FALSE(prefs.saveSortOrders(bad));
    }
    EXPECT_EQ(prefs.sortOrders()->lists, 5);
    EXPECT_EQ(prefs.sortOrders()->postings, 3);
}

TEST_F(PreferencesTest, DefaultsAreStoredAndTakeEffectAtOnce) {
    Preferences prefs(f.dm());
    Preferences::Defaults d;
    d.member = QStringLiteral("爸爸");
    d.account = QStringLiteral("O'钱包");
    d.income = QStringLiteral("工资");
    d.expense = QStringLiteral("食品");
    d.investment = QStringLiteral("基金");
    d.contact = QString();
    d.monthIncome = true;
    d.openCredits = true;
    d.showPlans = true;
    prefs.saveDefaults(d);

    const GlobalState& s = f.state();
    EXPECT_EQ(s.myFName, d.member);
    EXPECT_EQ(s.myAName, d.account);
    EXPECT_EQ(s.myIName, d.income);
    EXPECT_EQ(s.myOName, d.expense);
    EXPECT_EQ(s.myTName, d.investment);
    EXPECT_EQ(s.myPName, QString());
    EXPECT_TRUE(s.myD_I);
    EXPECT_FALSE(s.myD_O);
    EXPECT_FALSE(s.myD_C);
    EXPECT_FALSE(s.myD_B);
    EXPECT_TRUE(s.myD_D);
    EXPECT_FALSE(s.myD_T);
    EXPECT_FALSE(s.myTX_M);
    EXPECT_TRUE(s.myTX_T);

    f.reopen();
    EXPECT_EQ(Preferences(f.dm()).defaults(), std::optional(d));
    // Flags are stored as 1 and 0.
    const Query q =
        f.db().query(QStringLiteral("SELECT D_I, D_O, TX_M, TX_T FROM SMRX WHERE BName=?"), kHome);
    EXPECT_EQ(q.integer("D_I"), 1);
    EXPECT_EQ(q.integer("D_O"), 0);
    EXPECT_EQ(q.integer("TX_M"), 0);
    EXPECT_EQ(q.integer("TX_T"), 1);
    // The other book keeps its own.
    f.openBook(kOther);
    const auto other = Preferences(f.dm()).defaults();
    ASSERT_TRUE(other.has_value());
    EXPECT_TRUE(other->member.isEmpty());
    EXPECT_TRUE(other->playSound);
}

TEST_F(PreferencesTest, ABookWithoutItsSettingsRowHasNoStoredDefaults) {
    f.db().exec(QStringLiteral("DELETE FROM SMRX WHERE BName=?"), kHome);
    EXPECT_FALSE(Preferences(f.dm()).defaults().has_value());
}

struct ReminderSoundTest : ::testing::Test {
    test::TempDataFile f;
    QString current;
    QString picked;
    void SetUp() override {
        current = f.programDir() + QStringLiteral("/Music/1.mp3");
        QDir().mkpath(f.programDir() + QStringLiteral("/Music"));
        write(current, "old sound");
        picked = f.programDir() + QStringLiteral("/新 声音.mp3");
        write(picked, "new sound");
    }
    static void write(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray soundNow() const {
        QFile file(current);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

TEST_F(ReminderSoundTest, ReplacingCopiesThePickedFileOverTheCurrentSound) {
    ReminderSound sound(f.programDir());
    EXPECT_EQ(sound.currentFile(), current);
    const ReminderSound::Result r = sound.replace(picked);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.message, QStringLiteral("替换成功！"));
    EXPECT_EQ(soundNow(), "new sound");
    EXPECT_TRUE(QFile::exists(picked));
    EXPECT_EQ(QDir(f.programDir() + QStringLiteral("/Music")).entryList(QDir::Files),
              QStringList{QStringLiteral("1.mp3")});
}

TEST_F(ReminderSoundTest, OnlyARealReplacementIsReportedAsOne) {
    ReminderSound sound(f.programDir());
    EXPECT_EQ(sound.replace(QString()).message, QStringLiteral("请打开声音文件！"));
    const ReminderSound::Result missing = sound.replace(f.programDir() + QStringLiteral("/无.mp3"));
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.message, QStringLiteral("替换失败！"));
    EXPECT_FALSE(sound.replace(f.programDir()).ok);  // a folder
    EXPECT_EQ(soundNow(), "old sound");

    // The current sound picked as the new one stays as it is.
    EXPECT_TRUE(sound.replace(current).ok);
    EXPECT_EQ(soundNow(), "old sound");
}

TEST_F(ReminderSoundTest, AMissingMusicFolderIsMade) {
    QDir(f.programDir() + QStringLiteral("/Music")).removeRecursively();
    EXPECT_TRUE(ReminderSound(f.programDir()).replace(picked).ok);
    EXPECT_EQ(soundNow(), "new sound");
}

}  // namespace
