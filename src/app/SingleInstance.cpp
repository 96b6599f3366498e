#include "app/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace cw {

namespace {

// The folder's real path, also before the first start has made it: the nearest existing
// folder above it is resolved (links and all) and the missing rest appended.
QString realPath(const QString& folder) {
    QFileInfo info(QDir::cleanPath(QFileInfo(folder).absoluteFilePath()));
    QStringList missing;
    while (!info.exists() && !info.isRoot()) {
        missing.prepend(info.fileName());
        info = QFileInfo(info.absolutePath());
    }
    QString base = info.canonicalFilePath();
    if (base.isEmpty()) base = info.absoluteFilePath();
    return QDir::cleanPath(missing.isEmpty() ? base : base + QLatin1Char('/') + missing.join('/'));
}

}  // namespace

QString SingleInstance::lockName(const QString& dataFolder) {
    const QString canonical = realPath(dataFolder);
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
