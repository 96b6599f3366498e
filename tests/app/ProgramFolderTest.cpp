#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSysInfo>
#include <QTemporaryDir>

#include "app/ProgramFolder.h"
#include "app/SingleInstance.h"
#include "support/Files.h"

using namespace cw;
using test::readFile;
using test::writeFile;

namespace {}  // namespace

TEST(ProgramFolderTest, UpdaterHousekeepingPutsTheNewUpdaterInPlaceAndRemovesLeftovers) {
    QTemporaryDir dir;
    const ProgramFolder folder(dir.path());
    writeFile(folder.path("Update.exe"), "old");
    writeFile(folder.path("Update/Update.exe"), "new");
    for (const char* f : {"Update/Update.zip", "Update/Account.zip", "Update/InDate.zip",
                          "Update/AccountUp.zip", "AccountUp.exe", "AccountUp.zip"}) {
        writeFile(folder.path(QString::fromUtf8(f)), "x");
    }
    writeFile(folder.path("Update/AccountUp.exe"), "kept");
    folder.updaterHousekeeping();
    EXPECT_EQ(readFile(folder.path("Update.exe")), QByteArray("new"));
    for (const char* f :
         {"Update/Update.exe", "Update/Update.zip", "Update/Account.zip", "Update/InDate.zip",
          "Update/AccountUp.zip", "AccountUp.exe", "AccountUp.zip"}) {
        EXPECT_FALSE(QFile::exists(folder.path(QString::fromUtf8(f)))) << f;
    }
    EXPECT_TRUE(QFile::exists(folder.path("Update/AccountUp.exe")));
    folder.updaterHousekeeping();  // nothing left to do: no error, nothing changes
    EXPECT_EQ(readFile(folder.path("Update.exe")), QByteArray("new"));
}

TEST(ProgramFolderTest, BackupFolderAndExitCopyName) {
    QTemporaryDir dir;
    const ProgramFolder folder(dir.path());
    EXPECT_FALSE(QDir(folder.backupFolder()).exists());
    folder.ensureBackupFolder();
    EXPECT_TRUE(QDir(folder.backupFolder()).exists());
    // The copies hold every book: nobody but the owner looks in, also into an older folder.
    EXPECT_EQ(QFile::permissions(folder.backupFolder()) & 0x0077, QFileDevice::Permissions());
    QFile::setPermissions(folder.backupFolder(), QFileDevice::Permissions(0x7755));
    folder.ensureBackupFolder();
    EXPECT_EQ(QFile::permissions(folder.backupFolder()) & 0x0077, QFileDevice::Permissions());
    EXPECT_EQ(folder.exitBackupFile("2026-12-09"), dir.path() + "/Backup/2026-12-09.kbk");
    EXPECT_EQ(folder.dataFile(), dir.path() + "/Data/db.kbk");
    EXPECT_EQ(folder.soundFile(), dir.path() + "/Music/1.mp3");
}

TEST(SingleInstanceTest, ASecondCopyOnTheSameDataFolderIsRefusedUntilTheFirstEnds) {
    QTemporaryDir runtime, data;
    SingleInstance first(data.path(), runtime.path());
    ASSERT_TRUE(first.acquire());
    // Another spelling of the same folder is the same folder.
    SingleInstance second(data.path() + "/./", runtime.path());
    EXPECT_FALSE(second.acquire());
    first.release();
    EXPECT_TRUE(second.acquire());
}

TEST(SingleInstanceTest, CopiesOnDifferentDataFoldersRunSideBySide) {
    // A portable copy and an installed one, or two users' folders: separate locks.
    QTemporaryDir runtime, portable, installed;
    SingleInstance a(portable.path(), runtime.path());
    SingleInstance b(installed.path(), runtime.path());
    EXPECT_TRUE(a.acquire());
    EXPECT_TRUE(b.acquire());
    EXPECT_NE(a.lockPath(), b.lockPath());
}

TEST(SingleInstanceTest, TheLockOfAFolderIsTheSameBeforeAndAfterTheFirstStartMadeIt) {
    // The user's folder does not exist yet when the first start takes the lock, and may lie
    // under a linked folder.
    QTemporaryDir root;
    ASSERT_TRUE(QDir(root.path()).mkdir("real"));
    ASSERT_TRUE(QFile::link(root.filePath("real"), root.filePath("link")));
    const QString folder = root.filePath("link/Coinwick");
    const QString before = SingleInstance::lockName(folder);
    ASSERT_TRUE(QDir().mkpath(folder));
    EXPECT_EQ(SingleInstance::lockName(folder), before);
    EXPECT_EQ(SingleInstance::lockName(root.filePath("real/Coinwick")), before);
    EXPECT_NE(SingleInstance::lockName(root.filePath("real")), before);
}

TEST(SingleInstanceTest, ALockLeftByADeadProcessIsTakenOver) {
    QTemporaryDir runtime, data;
    const QString path = runtime.filePath(SingleInstance::lockName(data.path()));
    // A lock file naming a process that no longer exists.
    writeFile(path, "999999\n" + QCoreApplication::applicationName().toUtf8() + "\n" +
                        QSysInfo::machineHostName().toUtf8() + "\n");
    SingleInstance instance(data.path(), runtime.path());
    EXPECT_EQ(instance.lockPath(), path);
    EXPECT_TRUE(instance.acquire());
}
