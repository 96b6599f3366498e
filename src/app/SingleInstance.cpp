#include "app/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace cw {

QString SingleInstance::lockName(const QString& dataFolder) {
    const QFileInfo info(dataFolder);
    QString canonical = info.canonicalFilePath();
    if (canonical.isEmpty()) canonical = QDir::cleanPath(info.absoluteFilePath());
    const QByteArray hash =
        QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return QStringLiteral("coinwick-") + QString::fromLatin1(hash) + QStringLiteral(".lock");
}

SingleInstance::SingleInstance(const QString& dataFolder, const QString& lockDir) {
    QString dir = lockDir;
    if (dir.isEmpty()) dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) dir = QDir::tempPath();
    QDir().mkpath(dir);
    path_ = QDir(dir).filePath(lockName(dataFolder));
    lock_ = std::make_unique<QLockFile>(path_);
    // A lock is stale only when its process is gone, however long the program has run.
    lock_->setStaleLockTime(0);
}

SingleInstance::~SingleInstance() {
    release();
}

bool SingleInstance::acquire() {
    return lock_->tryLock(0);
}

void SingleInstance::release() {
    if (lock_ && lock_->isLocked()) lock_->unlock();
}

}  // namespace cw
