#include "files/ProgramFolder.h"

#include <QDir>
#include <QFile>

#include "storage/DataFile.h"
#include "storage/OutputFile.h"

namespace cw {

QString ProgramFolder::path(const QString& relative) const {
    return QDir(dir_).filePath(relative);
}

QString ProgramFolder::dataFile() const {
    return DataFile::pathIn(dir_);
}

QString ProgramFolder::soundFile() const {
    return path(QStringLiteral("Music/1.mp3"));
}

QString ProgramFolder::backupFolder() const {
    return path(QStringLiteral("Backup"));
}

QString ProgramFolder::exitBackupFile(const QString& today) const {
    return path(QStringLiteral("Backup/") + today + QStringLiteral(".kbk"));
}

void ProgramFolder::updaterHousekeeping() const {
    const QString fresh = path(QStringLiteral("Update/Update.exe"));
    if (QFile::exists(fresh)) {
        QFile::remove(path(QStringLiteral("Update.exe")));
        QFile::copy(fresh, path(QStringLiteral("Update.exe")));
    }
    for (const char* leftover :
         {"Update/Update.exe", "Update/Update.zip", "Update/Account.zip", "Update/InDate.zip",
          "Update/AccountUp.zip", "AccountUp.exe", "AccountUp.zip"}) {
        QFile::remove(path(QString::fromUtf8(leftover)));
    }
}

void ProgramFolder::ensureBackupFolder() const {
    // The copies hold every book: only their owner may look into the folder.
    OutputFile::makePrivateFolder(backupFolder());
}

}  // namespace cw
