#include "app/SingleInstance.h"

#include <QDir>
#include <QStandardPaths>

namespace cw {

SingleInstance::SingleInstance(const QString& lockDir) {
    QString dir = lockDir;
    if (dir.isEmpty()) dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) dir = QDir::tempPath();
    QDir().mkpath(dir);
    path_ = QDir(dir).filePath(QStringLiteral("coinwick-Account.lock"));
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
