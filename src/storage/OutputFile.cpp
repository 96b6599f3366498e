#include "storage/OutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>

namespace cw {

// The temporary file's device: every write goes straight to the descriptor, and the first
// failure (a full disk, a size limit) is kept, so commit() refuses a file that lost bytes
// even when the writer on top never looked at a return value.
class OutputDevice : public QIODevice {
  public:
    explicit OutputDevice(int fd) : fd_(fd) {
        QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }
    int failure() const { return failure_; }

    bool seek(qint64 pos) override {
        if (::lseek(fd_, off_t(pos), SEEK_SET) != off_t(pos)) {
            remember(errno);
            return false;
        }
        return QIODevice::seek(pos);
    }
    qint64 size() const override {
        struct stat st;
        return ::fstat(fd_, &st) == 0 ? qint64(st.st_size) : 0;
    }

  protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 len) override {
        if (failure_) return -1;
        qint64 done = 0;
        while (done < len) {
            const ssize_t n = ::write(fd_, data + done, size_t(len - done));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                remember(n < 0 ? errno : ENOSPC);
                return -1;
            }
            done += n;
        }
        return len;
    }

  private:
    void remember(int error) {
        if (!failure_) failure_ = error ? error : EIO;
    }

    int fd_;
    int failure_ = 0;
};

namespace {

constexpr int kMaxLinks = 40;  // as the system gives up on a loop of links

QString systemText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

QString message(const QString& target, const QString& why) {
    QString text = QStringLiteral("无法写入文件：") + QDir::toNativeSeparators(target);
    if (!why.isEmpty()) text += QStringLiteral("（") + why + QStringLiteral("）");
    return text;
}

std::deque<QByteArray> parts(const QByteArray& path) {
    std::deque<QByteArray> out;
    for (const QByteArray& p : path.split('/')) out.push_back(p);
    return out;
}

QByteArray readLink(const QByteArray& path) {
    QByteArray buffer(PATH_MAX, '\0');
    const ssize_t n = ::readlink(path.constData(), buffer.data(), size_t(buffer.size()));
    return n > 0 ? buffer.left(n) : QByteArray();
}

QByteArray parentOf(const QByteArray& path) {
    return path.left(std::max<qsizetype>(0, path.lastIndexOf('/')));
}

bool sameNode(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// True when path or a folder above it is the folder with the node folder.
bool underNode(QByteArray path, const struct stat& folder) {
    for (;; path = parentOf(path)) {
        struct stat st;
        if (::stat(path.isEmpty() ? "/" : path.constData(), &st) == 0 && sameNode(st, folder)) {
            return true;
        }
        if (path.isEmpty()) return false;
    }
}

bool inside(const QString& path, const QString& folder) {
    return path == folder || path.startsWith(folder + QLatin1Char('/'));
}

// Why the books would suffer from a write at resolved; empty when they would not.
QString dataCause(const QString& resolved, const QString& dataFile) {
    const QString file = OutputFile::resolve(dataFile);
    const QString folder = OutputFile::resolve(QFileInfo(dataFile).absolutePath());
    const QByteArray target = QFile::encodeName(resolved);
    struct stat t, d;
    const bool exists = ::stat(target.constData(), &t) == 0;
    if (resolved == file || resolved == file + QStringLiteral("-journal") ||
        (exists && ::stat(QFile::encodeName(file).constData(), &d) == 0 && sameNode(t, d))) {
        return QStringLiteral("这就是正在使用的数据文件");
    }
    struct stat f;
    if (inside(resolved, folder) ||
        (::stat(QFile::encodeName(folder).constData(), &f) == 0 && underNode(target, f))) {
        return QStringLiteral("它在数据文件夹 %1 里，那里只放数据文件")
            .arg(QDir::toNativeSeparators(folder));
    }
    return {};
}

QString cause(const QString& target, const QString& dataFile) {
    const QString resolved = OutputFile::resolve(target);
    if (!dataFile.isEmpty()) {
        if (QString why = dataCause(resolved, dataFile); !why.isEmpty()) return why;
    }
    struct stat st;
    if (::stat(QFile::encodeName(resolved).constData(), &st) == 0 && !S_ISREG(st.st_mode)) {
        return S_ISDIR(st.st_mode) ? QStringLiteral("这是一个文件夹")
                                   : QStringLiteral("这不是普通文件");
    }
    return {};
}

// The new name must survive a power cut as well as the bytes.
void syncFolder(const QString& folder) {
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

OutputFile::OutputFile(QString target, QString dataFile)
    : target_(std::move(target)), dataFile_(std::move(dataFile)) {}

OutputFile::~OutputFile() {
    discard();
}

QString OutputFile::resolve(const QString& path) {
    QByteArray start = QFile::encodeName(path);
    if (!start.startsWith('/')) start = QFile::encodeName(QDir::currentPath()) + '/' + start;
    std::deque<QByteArray> todo = parts(start);
    QByteArray done;  // empty for the root
    int links = 0;
    while (!todo.empty()) {
        const QByteArray part = todo.front();
        todo.pop_front();
        if (part.isEmpty() || part == ".") continue;
        if (part == "..") {
            done = parentOf(done);
            continue;
        }
        const QByteArray next = done + '/' + part;
        // Every part is looked at, also after one that is missing: the file goes where the
        // resolved path leads, so the check must see where that is.
        struct stat st;
        if (::lstat(next.constData(), &st) == 0 && S_ISLNK(st.st_mode) && links++ < kMaxLinks) {
            const QByteArray link = readLink(next);
            if (link.startsWith('/')) done.clear();
            const std::deque<QByteArray> more = parts(link);
            todo.insert(todo.begin(), more.begin(), more.end());
            continue;
        }
        done = next;
    }
    return done.isEmpty() ? QStringLiteral("/") : QFile::decodeName(done);
}

QString OutputFile::refusal(const QString& target, const QString& dataFile) {
    const QString why = cause(target, dataFile);
    return why.isEmpty() ? QString() : message(target, why);
}

bool OutputFile::makePrivateFolder(const QString& path) {
    const QFileInfo info(path);
    // A link put there by the user points where the user wants; its folder is theirs.
    if (info.isSymLink()) return info.isDir();
    const QByteArray name = QFile::encodeName(info.absoluteFilePath());
    if (!info.exists()) {
        QDir().mkpath(info.absolutePath());
        ::mkdir(name.constData(), S_IRWXU);
    }
    if (!QFileInfo(path).isDir()) return false;
    // A folder made by an earlier version was open to everyone.
    ::chmod(name.constData(), S_IRWXU);
    return true;
}

bool OutputFile::open() {
    discard();
    committed_ = false;
    error_.clear();
    if (const QString why = cause(target_, dataFile_); !why.isEmpty()) return fail(why);
    resolved_ = resolve(target_);
    // Beside the target, so the rename stays on one disk and replaces it in one step.
    QByteArray pattern =
        QFile::encodeName(QFileInfo(resolved_).path()) + QByteArray("/.coinwick-XXXXXX");
    fd_ = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd_ < 0) return fail(systemText(errno));
    temporary_ = QFile::decodeName(pattern);
    ::fchmod(fd_, S_IRUSR | S_IWUSR);
    device_ = std::make_unique<OutputDevice>(fd_);
    return true;
}

QIODevice* OutputFile::device() {
    return device_.get();
}

bool OutputFile::commit() {
    if (fd_ < 0) return false;
    if (device_->failure()) return fail(systemText(device_->failure()));
    if (::fsync(fd_) != 0) return fail(systemText(errno));
    const int closed = ::close(fd_);
    fd_ = -1;
    if (closed != 0) return fail(systemText(errno));
    if (::rename(QFile::encodeName(temporary_).constData(),
                 QFile::encodeName(resolved_).constData()) != 0) {
        return fail(systemText(errno));
    }
    committed_ = true;
    syncFolder(QFileInfo(resolved_).path());
    return true;
}

bool OutputFile::write(const QString& target, const QString& dataFile,
                       const std::function<bool(QIODevice&)>& fill, QString* error) {
    OutputFile out(target, dataFile);
    if (out.open() && fill(*out.device()) && out.commit()) return true;
    if (out.error_.isEmpty()) {
        // The writer gave up; a failed write says why better than it can.
        out.fail(out.device_ && out.device_->failure() ? systemText(out.device_->failure())
                                                       : QString());
    }
    if (error) *error = out.error_;
    return false;
}

bool OutputFile::fail(const QString& why) {
    error_ = message(target_, why);
    discard();
    return false;
}

void OutputFile::discard() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!committed_ && !temporary_.isEmpty()) QFile::remove(temporary_);
    temporary_.clear();
}

}  // namespace cw
