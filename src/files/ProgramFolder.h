#pragma once

#include <QString>

namespace cw {

// The program folder and the files the program keeps in it: the data file, the backup
// folder, the reminder sound and the updater's leftovers.
class ProgramFolder {
  public:
    explicit ProgramFolder(QString dir) : dir_(std::move(dir)) {}

    const QString& dir() const { return dir_; }
    QString path(const QString& relative) const;
    QString dataFile() const;
    QString soundFile() const;
    QString backupFolder() const;
    // Backup/ + today + ".kbk", the copy written on exit.
    QString exitBackupFile(const QString& today) const;

    // Moves a freshly downloaded updater into place and removes the updater's leftovers.
    // Failures are ignored: start-up goes on whatever happens here.
    void updaterHousekeeping() const;
    // Creates Backup/ when it is missing, owner-only (and closes an older one to others).
    void ensureBackupFolder() const;

  private:
    QString dir_;
};

}  // namespace cw
