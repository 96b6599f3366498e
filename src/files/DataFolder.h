#pragma once

#include <QString>
#include <QStringList>

namespace cw {

// Which folder holds the data file, Backup/, Export/ and Music/. The program, the CLI and
// the exports all go through this one decision:
//   --home DIR                      that folder, as it is;
//   a writable Data/ beside the     the portable copy (also the build folder and the tests):
//   executable                      the executable's own folder;
//   otherwise                       the installed program: the user's data folder, filled on
//                                   the first start from the package's share folder.
class DataFolder {
  public:
    enum class Kind { Given, Portable, PerUser };

    // exeDir: the running executable's folder; given: the --home folder (empty when none);
    // perUserDir: the user's data folder of an installed program.
    static DataFolder choose(const QString& exeDir, const QString& given,
                             const QString& perUserDir);
    // The folder named on the command line, as "--home DIR" or "--home=DIR" (the last one
    // counts); other arguments are not looked at. args: without the program's own name.
    struct HomeArgument {
        QString dir;    // empty when none is given
        QString error;  // set when --home names no folder
    };
    static HomeArgument homeArgument(const QStringList& args);

    // The same for the running process; the user's folder is <user data>/Coinwick
    // (~/.local/share/Coinwick).
    static DataFolder forThisProcess(const QString& given = QString());

    // Where an installed copy keeps the delivered data file and chime, relative to the
    // executable so an unpacked package works from anywhere: <exeDir>/../share/coinwick.
    static QString shareDirFor(const QString& exeDir);

    const QString& dir() const { return dir_; }
    Kind kind() const { return kind_; }
    // The share folder the first start copies from (of the executable this was chosen for).
    const QString& shareDir() const { return shareDir_; }

    struct Prepared {
        bool ok = true;
        QString message;  // why the folder could not be made ready
        bool copiedDataFile = false;
    };
    // Makes the user's data folder ready: creates Data/, Backup/, Export/ and Music/, and
    // copies the delivered data file and the chime from the share folder when they are
    // missing. An existing file is never replaced. Nothing happens for the other kinds.
    Prepared prepare() const;

  private:
    DataFolder(QString dir, Kind kind, QString shareDir)
        : dir_(std::move(dir)), kind_(kind), shareDir_(std::move(shareDir)) {}

    QString dir_;
    Kind kind_;
    QString shareDir_;
};

}  // namespace cw
