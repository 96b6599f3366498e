#include "import/XlsReader.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include "import/XlsStream.h"

namespace cw {

namespace {

QString& helperOverride() {
    static QString path;
    return path;
}

XlsReader::Limits& currentLimits() {
    static XlsReader::Limits limits;
    return limits;
}

QString damaged() {
    return QStringLiteral("Excel文件已损坏，无法读取！");
}

QString programDir() {
    if (QCoreApplication::instance()) return QCoreApplication::applicationDirPath();
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
}

QStringList helperCandidates() {
    const QString dir = programDir();
    const QString name = QString::fromLatin1(XlsReader::kHelperName);
    return {dir + QLatin1Char('/') + name, QDir::cleanPath(dir + "/../lib/coinwick/" + name)};
}

// The helper's run: its output taken in as it comes, bounded in bytes and in wall time.
class HelperRun {
  public:
    HelperRun(const QString& helper, const QString& path, const QString& sheetName)
        : sheetName_(sheetName), stream_(sheetName), deadline_(currentLimits().wallSeconds * 1000) {
        process_.setProgram(helper);
        process_.setArguments({path});
        process_.setStandardErrorFile(QProcess::nullDevice());
        process_.start();
        if (!process_.waitForStarted(int(deadline_.remainingTime()))) {
            throw SheetError(QStringLiteral("无法启动读取.xls文件的程序 %1：%2")
                                 .arg(QDir::toNativeSeparators(helper), process_.errorString()));
        }
    }
    ~HelperRun() {
        if (process_.state() == QProcess::NotRunning) return;
        process_.kill();
        process_.waitForFinished();
    }

    SheetRows take() {
        while (process_.state() != QProcess::NotRunning || process_.bytesAvailable() > 0) {
            if (process_.bytesAvailable() == 0) {
                if (process_.waitForReadyRead(int(deadline_.remainingTime()))) continue;
                if (process_.state() == QProcess::NotRunning) continue;
                throw SheetError(damaged());  // out of time
            }
            takeIn(process_.read(1 << 20));
        }
        const bool cleanExit =
            process_.exitStatus() == QProcess::NormalExit && process_.exitCode() == 0;
        if (!cleanExit || !stream_.complete()) throw SheetError(damaged());
        return stream_.sheet();
    }

  private:
    void takeIn(const QByteArray& bytes) {
        received_ += bytes.size();
        const qint64 limit = currentLimits().outputBytes;
        if (received_ > limit) {
            throw SheetError(QStringLiteral("Excel文件内容过大（超过 %1 MB），无法读取！")
                                 .arg(limit / (1024 * 1024)));
        }
        const bool wasAsked = stream_.asked();
        if (!stream_.feed(bytes)) throw SheetError(damaged());
        if (wasAsked || !stream_.asked()) return;
        if (stream_.sheetIndex() < 0) {
            throw SheetError(QStringLiteral("Excel文件中找不到工作表 %1！").arg(sheetName_));
        }
        process_.write(QByteArray::number(stream_.sheetIndex()) + '\n');
        process_.closeWriteChannel();
    }
    QString sheetName_;
    QProcess process_;
    XlsStream stream_;
    QDeadlineTimer deadline_;
    qint64 received_ = 0;
};

}  // namespace

SheetRows XlsReader::read(const QString& path, const QString& sheetName) {
    const QString helper = helperPath();
    if (helper.isEmpty()) {
        throw SheetError(QStringLiteral("找不到读取.xls文件的程序 %1（已查找 %2），无法读取！")
                             .arg(QString::fromLatin1(kHelperName),
                                  QDir::toNativeSeparators(helperCandidates().join("、"))));
    }
    HelperRun run(helper, path, sheetName);
    return run.take();
}

QString XlsReader::helperPath() {
    if (!helperOverride().isEmpty()) return helperOverride();
    // Lets a packager or a test put another helper in place without rebuilding.
    const QString fromEnvironment = qEnvironmentVariable("COINWICK_XLS_HELPER");
    if (!fromEnvironment.isEmpty()) return fromEnvironment;
    for (const QString& candidate : helperCandidates()) {
        const QFileInfo info(candidate);
        if (info.isFile() && info.isExecutable()) return candidate;
    }
    return QString();
}

void XlsReader::setHelper(const QString& path) {
    helperOverride() = path;
}

void XlsReader::setLimits(const Limits& limits) {
    currentLimits() = limits;
}

XlsReader::Limits XlsReader::limits() {
    return currentLimits();
}

}  // namespace cw
