#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "files/ProgramFolder.h"
#include "files/SingleInstance.h"
#include "support/Files.h"

using namespace cw;
using test::readFile;
using test::writeFile;

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

TEST(SingleInstanceTest, OneCopyPerDataFolderWhateverItsSpelling) {
    QTemporaryDir base;
    const QString folder = base.filePath("real"), link = base.filePath("link");
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(QFile::link(folder, link));
    SingleInstance first(folder);
    ASSERT_TRUE(first.acquire());
    EXPECT_EQ(first.lockPath(), folder + "/Data/coinwick.lock");
    // Through a link and "..", and from a second object of the same process: the same lock.
    SingleInstance viaLink(link + "/Data/..");
    EXPECT_FALSE(viaLink.acquire());
    // Another data folder is another lock.
    SingleInstance elsewhere(base.filePath("other"));
    EXPECT_TRUE(elsewhere.acquire());
    first.release();
    EXPECT_TRUE(viaLink.acquire());
}

TEST(SingleInstanceTest, TheLockGoesWithAProcessThatDiesAndAFileLeftBehindIsNoLock) {
    QTemporaryDir data;
    // What a crashed copy leaves: the lock file, held by no one.
    writeFile(data.filePath("Data/coinwick.lock"), "");
    const pid_t child = fork();
    if (child == 0) {
        SingleInstance dying(data.path());
        _exit(dying.acquire() ? 0 : 1);  // dies holding it
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    SingleInstance next(data.path());
    EXPECT_TRUE(next.acquire());
}
