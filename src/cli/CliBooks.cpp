// The book and data-file verbs of coinwick-cli: backup, restore, renamebook and deletebook.
// They run the operations of the book manager and of the backup and restore dialogs.
#include <QFileInfo>

#include "books/BookManager.h"
#include "books/DataBackup.h"
#include "books/DataRestore.h"
#include "cli/Cli.h"
#include "files/SingleInstance.h"
#include "storage/Database.h"
#include "storage/TfrmDM.h"

namespace cw {

namespace {

const QString kProgramRunning =
    QStringLiteral("Coinwick 已经打开了！请先退出 Coinwick 再执行这个操作。");

QString withCause(const QString& message, const QString& cause) {
    return cause.isEmpty() ? message : message + cause;
}

}  // namespace

int Cli::cmdBackup(const QStringList& args) {
    if (args.size() != 1) return usage(QStringLiteral("backup takes a file or a folder"));
    if (!openData()) return Refused;
    DataBackup backup(*dm_);
    // A folder gets the day's copy, named as the dialog names it.
    const QString target = QFileInfo(args[0]).isDir() ? backup.targetIn(args[0]) : args[0];
    const DataBackup::Result r = backup.backup(target);
    if (!r.ok) return refuse(withCause(r.message, r.cause));
    out_ << target << '\n';
    return Done;
}

int Cli::cmdRestore(const QStringList& args) {
    if (args.size() != 1) return usage(QStringLiteral("restore takes a backup file"));
    // The running program would go on with the file it opened and write over the restore;
    // holding its lock also keeps it from starting halfway.
    SingleInstance instance(home_);
    if (!instance.acquire()) return refuse(kProgramRunning);
    if (!openData()) return Refused;
    const DataRestore::Result r = DataRestore(*dm_, home_).restore(args[0]);
    if (!r.ok) return refuse(withCause(r.message, r.cause));
    out_ << r.safetyCopy << '\n';
    return Done;
}

int Cli::cmdRenameBook(const QStringList& args) {
    if (args.size() != 2) return usage(QStringLiteral("renamebook takes the old and the new name"));
    // The program holds its open book by name and would go on writing rows under the old one.
    SingleInstance instance(home_);
    if (!instance.acquire()) return refuse(kProgramRunning);
    if (!openData() || !openBook()) return Refused;
    const BookManager::Result r = BookManager(*dm_).rename(args[0], args[1]);
    if (!r.ok()) return refuse(r.message);
    out_ << args[1] << '\n';
    return Done;
}

int Cli::cmdDeleteBook(const QStringList& args) {
    if (args.size() != 1) return usage(QStringLiteral("deletebook takes a name"));
    SingleInstance instance(home_);
    if (!instance.acquire()) return refuse(kProgramRunning);
    if (!openData() || !openBook()) return Refused;
    const BookManager::Result r = BookManager(*dm_).remove(args[0]);
    if (!r.ok()) return refuse(r.message);
    out_ << args[0] << '\n';
    return Done;
}

}  // namespace cw
