#pragma once

#include <QString>

namespace cw {

class TfrmDM;

// Copies of the whole data file: to a place the user picks, and the setting that has the
// program copy it into Backup/ on exit. Every copy is taken with the engine's backup, so it
// is consistent even while the file is open and being written, and it is written under a
// temporary name and renamed when complete: an existing copy of the same name is replaced
// by a whole new one or stays as it was.
class DataBackup {
  public:
    static const QString kDone;
    static const QString kFailed;
    static const QString kEmptyPath;
    static const QString kYes;  // the stored setting, "是" or "否"
    static const QString kNo;

    struct Result {
        bool ok = false;
        QString message;  // what the dialog shows
        QString cause;    // why a copy failed, for the companion's error line
    };

    explicit DataBackup(TfrmDM& dm);

    // The copies are named after the day: yyyy-mm-dd.kbk.
    static QString fileName(const QString& today);
    // folder/yyyy-mm-dd.kbk for today (as read at start).
    QString targetIn(const QString& folder) const;

    // Copies the data file to path, replacing a file of that name. An empty path is refused.
    Result backup(const QString& path);

    // The automatic copy on exit, as stored.
    bool autoBackup() const;
    // Stores the setting and the state the exit step reads.
    void setAutoBackup(bool on);
    // Reads the stored setting into the state.
    void loadAutoBackup();

  private:
    TfrmDM& dm_;
};

}  // namespace cw
