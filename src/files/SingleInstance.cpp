#include "files/SingleInstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>

namespace cw {

namespace {

// Folders the lock makes before the first start has filled the data folder are the
// household's own, as that start would make them.
void makeOwnerOnly(const QString& folder) {
    QStringList missing;
    for (QFileInfo info(folder); !info.exists() && !info.isRoot();
         info = QFileInfo(info.absolutePath())) {
        missing.prepend(info.absoluteFilePath());
    }
    for (const QString& dir : missing) {
        QDir().mkdir(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
}

}  // namespace

SingleInstance::SingleInstance(const QString& dataFolder)
    : path_(QDir(dataFolder).filePath(QStringLiteral("Data/coinwick.lock"))) {}

SingleInstance::~SingleInstance() {
    release();
}

bool SingleInstance::acquire() {
    if (fd_ >= 0) return true;
    // The first start of an installed copy takes the lock before its folder is filled.
    makeOwnerOnly(QFileInfo(path_).absolutePath());
    const QByteArray name = QFile::encodeName(path_);
    int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    // A lock file made by another user can still be locked through a read-only descriptor.
    if (fd < 0) fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    // Without a lock file nothing can be guarded; the data file itself refuses what this
    // process may not write.
    if (fd < 0) return true;
    // flock, not fcntl: its lock belongs to this open file, so the kernel drops it with the
    // process and a second object of the same process does not share it.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        ::close(fd);
        return false;
    }
    // The file is never removed: a new file under the same name would be a second lock.
    fd_ = fd;
    return true;
}

void SingleInstance::release() {
    if (fd_ < 0) return;
    ::close(fd_);  // closing the descriptor lets go of the lock
    fd_ = -1;
}

}  // namespace cw
