#include "storage/DataFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "storage/Database.h"
#include "storage/DbError.h"
#include "storage/Transaction.h"

namespace cw {

const char* DataFile::schemaSql() {
    static const char* sql =
#include "SchemaSql.inc"
        ;
    return sql;
}

QString DataFile::pathIn(const QString& programDir) {
    return QDir(programDir).filePath(relativePath());
}

void DataFile::make(const QString& path) {
    const QFileInfo target(path);
    QDir().mkpath(target.absolutePath());
    if (target.exists()) {
        throw DbError(QStringLiteral("数据文件 %1 已经存在，不会覆盖它").arg(target.absoluteFilePath()));
    }
    const QString temporary = path + QStringLiteral(".new");
    QFile::remove(temporary);
    try {
        auto db = Database::create(temporary);
        Transaction tx(*db);
        db->execScript(QString::fromUtf8(schemaSql()));
        tx.commit();
    } catch (...) {
        QFile::remove(temporary);
        QFile::remove(temporary + QStringLiteral("-journal"));
        throw;
    }
    // The complete file takes its name in one step; rename never replaces an existing file.
    if (!QFile::rename(temporary, path)) {
        QFile::remove(temporary);
        throw DbError(QStringLiteral("无法写入数据文件：") + path);
    }
}

void DataFile::upgrade(Database& db) {
    if (!db.query(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type='table' AND name=?"),
                  QStringLiteral("SBookSum"))
             .isEmpty())
        return;
    const QString schema = QString::fromUtf8(schemaSql());
    const qsizetype from = schema.indexOf(QLatin1String("-- BEGIN book totals"));
    const qsizetype to = schema.indexOf(QLatin1String("-- END book totals"));
    if (from < 0 || to < from) return;
    Transaction tx(db);
    db.execScript(schema.mid(from, to - from));
    db.execScript(QStringLiteral(
        "INSERT INTO SBookSum(BName, theT, theCents, theCount) "
        "SELECT BName, 'InTable', Sum(CAST(round(IMoney * 100) AS INTEGER)), Count(*) "
        "FROM InTable GROUP BY BName;"
        "INSERT INTO SBookSum(BName, theT, theCents, theCount) "
        "SELECT BName, 'OutTable', Sum(CAST(round(OMoney * 100) AS INTEGER)), Count(*) "
        "FROM OutTable GROUP BY BName;"));
    tx.commit();
}

}  // namespace cw
