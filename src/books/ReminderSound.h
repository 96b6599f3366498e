#pragma once

#include <QString>

namespace cw {

// The reminder sound in the program folder (Music/1.mp3) and its replacement by a file the
// user picks. The file is copied beside the current sound first and renamed over it when
// complete, so a failed copy leaves the old sound, and picking the current sound itself
// changes nothing.
class ReminderSound {
  public:
    static const QString kReplaced;
    static const QString kFailed;
    static const QString kChooseFile;

    struct Result {
        bool ok = false;
        QString message;
        QString cause;
    };

    explicit ReminderSound(QString programDir);

    QString currentFile() const;
    Result replace(const QString& newFile);

  private:
    QString programDir_;
};

}  // namespace cw
