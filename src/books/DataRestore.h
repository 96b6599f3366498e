#pragma once

#include <QString>

namespace cw {

class TfrmDM;

// Putting a backup copy in place of the data file. Only a file that opens as this program's
// data file (its key, every table and column, no damaged page) is ever put in place, and the
// file it replaces is kept in Backup/ first. Both happen under the data file's write lock, and
// the checked copy is written into the data file itself (journalled), so every connection to
// it, in this process or another, goes on with the restored rows; the open book is closed,
// since the book and its rows may not be what they were.
class DataRestore {
  public:
    static const QString kDone;
    static const QString kFailed;
    static const QString kChooseFile;
    static const QString kQuestion;
    static const QString kQuestionCaption;

    struct Result {
        bool ok = false;
        QString message;     // what the dialog shows
        QString cause;       // why it failed, for the companion's error line
        QString safetyCopy;  // where the replaced file was kept
    };

    DataRestore(TfrmDM& dm, QString programDir);

    // Empty when file can stand in for the data file; otherwise why not. A file of an
    // earlier version is brought up to date first, so check only a copy.
    QString check(const QString& file);
    Result restore(const QString& source);

  private:
    Result fail(const QString& cause) const;
    QString safetyCopyPath() const;

    TfrmDM& dm_;
    QString programDir_;
};

}  // namespace cw
