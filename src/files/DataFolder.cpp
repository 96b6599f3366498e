#include "files/DataFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "storage/DataFile.h"
#include "storage/OutputFile.h"

namespace cw {

namespace {

// Copies from to to unless to exists; the copy goes under a temporary name first, so an
// interrupted start never leaves a half file under the real name.
bool copyIfMissing(const QString& from, const QString& to, QFileDevice::Permissions perms,
                   QString* why) {
    if (QFileInfo::exists(to)) return true;
    if (!QFileInfo::exists(from)) {
        *why = QStringLiteral("找不到安装的文件：") + QDir::toNativeSeparators(from);
        return false;
    }
    const QString part = to + QStringLiteral(".part");
    QFile::remove(part);
    if (!QFile::copy(from, part) || !QFile::setPermissions(part, perms)) {
        QFile::remove(part);
        *why = QStringLiteral("无法写入：") + QDir::toNativeSeparators(to);
        return false;
    }
    // rename() refuses an existing target, so a file that appeared meanwhile stays.
    if (!QFile::rename(part, to)) {
        QFile::remove(part);
        if (QFileInfo::exists(to)) return true;
        *why = QStringLiteral("无法写入：") + QDir::toNativeSeparators(to);
        return false;
    }
    return true;
}

}  // namespace

DataFolder DataFolder::choose(const QString& exeDir, const QString& given,
                              const QString& perUserDir) {
    const QString share = shareDirFor(exeDir);
    if (!given.isEmpty()) return DataFolder(given, Kind::Given, share);
    const QFileInfo data(QDir(exeDir).filePath(QStringLiteral("Data")));
    if (data.isDir() && data.isWritable()) return DataFolder(exeDir, Kind::Portable, share);
    return DataFolder(perUserDir, Kind::PerUser, share);
}

DataFolder::HomeArgument DataFolder::homeArgument(const QStringList& args) {
    const QString option = QStringLiteral("--home");
    HomeArgument home;
    for (qsizetype i = 0; i < args.size(); ++i) {
        QString value;
        if (args[i] == option) {
            value = i + 1 < args.size() ? args[++i] : QString();
        } else if (args[i].startsWith(option + QLatin1Char('='))) {
            value = args[i].mid(option.size() + 1);
        } else {
            continue;
        }
        // Left empty, the default folder would be opened without a word: the user asked
        // for another one.
        if (value.isEmpty()) {
            home.error = QStringLiteral("--home 后面要写数据文件夹");
            return home;
        }
        home.dir = value;
    }
    return home;
}

DataFolder DataFolder::forThisProcess(const QString& given) {
    // Named here rather than taken from the application name, so the program and the CLI
    // (another executable) agree: ~/.local/share/Coinwick.
    const QString perUser =
        QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
            .filePath(QStringLiteral("Coinwick"));
    return choose(QCoreApplication::applicationDirPath(), given, perUser);
}

QString DataFolder::shareDirFor(const QString& exeDir) {
    return QDir::cleanPath(QDir(exeDir).filePath(QStringLiteral("../share/coinwick")));
}

DataFolder::Prepared DataFolder::prepare() const {
    Prepared r;
    if (kind_ != Kind::PerUser) return r;
    const QDir dir(dir_);
    for (const char* sub : {"Data", "Backup", "Export", "Music"}) {
        // The household's books, their copies and exports: for its user alone.
        if (!OutputFile::makePrivateFolder(dir.filePath(QString::fromLatin1(sub)))) {
            r.ok = false;
            r.message = QStringLiteral("无法建立数据文件夹：") +
                        QDir::toNativeSeparators(dir.filePath(QString::fromLatin1(sub)));
            return r;
        }
    }
    const QString dataFile = DataFile::pathIn(dir_);
    const bool hadDataFile = QFileInfo::exists(dataFile);
    // The books are the household's own: readable by its user alone.
    if (!copyIfMissing(QDir(shareDir_).filePath(QStringLiteral("db.kbk")), dataFile,
                       QFileDevice::ReadOwner | QFileDevice::WriteOwner, &r.message)) {
        r.ok = false;
        return r;
    }
    r.copiedDataFile = !hadDataFile;
    // A missing chime only silences the reminder; the start goes on.
    QString ignored;
    copyIfMissing(QDir(shareDir_).filePath(QStringLiteral("1.mp3")),
                  dir.filePath(QStringLiteral("Music/1.mp3")),
                  QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                      QFileDevice::ReadOther,
                  &ignored);
    return r;
}

}  // namespace cw
