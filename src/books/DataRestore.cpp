#include "books/DataRestore.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "books/DataBackup.h"
#include "files/ProgramFolder.h"
#include "storage/DataFile.h"
#include "storage/DbError.h"
#include "storage/FileWriteLock.h"
#include "storage/TfrmDM.h"

namespace cw {

const QString DataRestore::kDone = QStringLiteral("数据恢复成功！");
const QString DataRestore::kFailed = QStringLiteral("数据恢复失败！");
const QString DataRestore::kChooseFile = QStringLiteral("请选择备份文件");
const QString DataRestore::kQuestion = QStringLiteral("确认要恢复数据吗?");
const QString DataRestore::kQuestionCaption = QStringLiteral("恢复数据");

DataRestore::DataRestore(TfrmDM& dm, QString programDir)
    : dm_(dm), programDir_(std::move(programDir)) {}

DataRestore::Result DataRestore::fail(const QString& cause) const {
    return {false, kFailed, cause, QString()};
}

QString DataRestore::check(const QString& file) {
    try {
        const auto candidate = Database::open(file);
        // Reads every page: a copy cut short or damaged on the way fails here, not later in
        // the middle of the household's work.
        const QStringList verdict =
            candidate->query(QStringLiteral("PRAGMA quick_check")).firstColumn();
        if (verdict != QStringList{QStringLiteral("ok")}) {
            return QStringLiteral("%1 已损坏：%2").arg(file, verdict.join(QLatin1Char(' ')));
        }
        // A backup made by an earlier version gets what this one keeps, as at start.
        DataFile::upgrade(*candidate);
        if (!candidate->hasSchemaOf(dm_.db())) {
            return QStringLiteral("%1 缺少 Coinwick 数据文件的表").arg(file);
        }
    } catch (const DbError& e) {
        return e.message();
    }
    return {};
}

QString DataRestore::safetyCopyPath() const {
    const ProgramFolder folder(programDir_);
    folder.ensureBackupFolder();
    const QString stamp =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd_HHmmss"));
    const QString base = folder.backupFolder() + QStringLiteral("/恢复前_") + stamp;
    QString path = base + QStringLiteral(".kbk");
    for (int n = 2; QFileInfo::exists(path); ++n) {
        path = base + QStringLiteral("_%1.kbk").arg(n);
    }
    return path;
}

DataRestore::Result DataRestore::restore(const QString& source) {
    if (source.isEmpty()) return {false, kChooseFile, QString(), QString()};
    Database& db = dm_.db();
    const QString live = db.path();
    const QString sourceCanonical = QFileInfo(source).canonicalFilePath();
    if (!sourceCanonical.isEmpty() && sourceCanonical == QFileInfo(live).canonicalFilePath()) {
        return fail(QStringLiteral("%1 就是正在使用的数据文件").arg(source));
    }
    if (!QFileInfo(source).isFile()) return fail(QStringLiteral("%1 不存在").arg(source));

    // It is a copy that is checked and then copied in: what goes in place is exactly what
    // passed, even if the chosen file changes meanwhile.
    const QString staged = live + QStringLiteral(".restore");
    QFile::remove(staged);
    if (!QFile::copy(source, staged)) {
        return fail(QStringLiteral("无法复制 %1").arg(source));
    }
    // A copy taken from a read-only medium could not be brought up to date by the check.
    QFile::setPermissions(staged, QFile::permissions(live));
    const QString cause = check(staged);
    if (!cause.isEmpty()) {
        QFile::remove(staged);
        return fail(cause);
    }

    Result r;
    try {
        // From the safety copy to the last restored page the file is ours alone: a writer
        // either finished before (its rows are in the safety copy) or finds the file busy
        // after, never writes into rows that are about to be replaced.
        FileWriteLock lock(db);
        r.safetyCopy = safetyCopyPath();
        db.backupTo(r.safetyCopy);
        db.copyFrom(staged);
    } catch (const DbError& e) {
        QFile::remove(staged);
        Result failed = fail(e.message());
        // A copy made before the failure stays: it is the file as it was.
        if (QFileInfo::exists(r.safetyCopy)) failed.safetyCopy = r.safetyCopy;
        return failed;
    }
    QFile::remove(staged);

    // Whatever book was open may not exist any more, or hold other rows.
    dm_.state().myBName.clear();
    DataBackup(dm_).loadAutoBackup();
    r.ok = true;
    r.message = kDone;
    return r;
}

}  // namespace cw
