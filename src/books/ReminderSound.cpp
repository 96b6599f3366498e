#include "books/ReminderSound.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

#include "files/ProgramFolder.h"

namespace cw {

const QString ReminderSound::kReplaced = QStringLiteral("替换成功！");
const QString ReminderSound::kFailed = QStringLiteral("替换失败！");
const QString ReminderSound::kChooseFile = QStringLiteral("请打开声音文件！");

ReminderSound::ReminderSound(QString programDir) : programDir_(std::move(programDir)) {}

QString ReminderSound::currentFile() const {
    return ProgramFolder(programDir_).soundFile();
}

ReminderSound::Result ReminderSound::replace(const QString& newFile) {
    if (newFile.isEmpty()) return {false, kChooseFile, QString()};
    const QString current = currentFile();
    const auto failed = [](const QString& cause) { return Result{false, kFailed, cause}; };
    if (!QFileInfo(newFile).isFile()) return failed(QStringLiteral("%1 不存在").arg(newFile));
    const QString canonical = QFileInfo(newFile).canonicalFilePath();
    if (canonical == QFileInfo(current).canonicalFilePath()) return {true, kReplaced, QString()};

    QDir().mkpath(QFileInfo(current).absolutePath());
    const QString staged = current + QStringLiteral(".part");
    QFile::remove(staged);
    if (!QFile::copy(newFile, staged)) {
        return failed(QStringLiteral("无法复制 %1").arg(newFile));
    }
    QFile::setPermissions(staged, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                      QFileDevice::ReadGroup | QFileDevice::ReadOther);
    if (std::rename(QFile::encodeName(staged).constData(),
                    QFile::encodeName(current).constData()) != 0) {
        QFile::remove(staged);
        return failed(QStringLiteral("无法写入 %1").arg(current));
    }
    return {true, kReplaced, QString()};
}

}  // namespace cw
