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
        throw DbError(
            QStringLiteral("数据文件 %1 已经存在，不会覆盖它").arg(target.absoluteFilePath()));
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
    const auto lacks = [&db](const char* table) {
        return db
            .query(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type='table' AND name=?"),
                   QString::fromLatin1(table))
            .isEmpty();
    };
    const QString schema = QString::fromUtf8(schemaSql());
    // The schema text between "-- BEGIN name" and "-- END name"; empty when it is not there.
    const auto block = [&schema](const char* name) {
        const qsizetype from = schema.indexOf(QLatin1String("-- BEGIN ") + QLatin1String(name));
        const qsizetype to = schema.indexOf(QLatin1String("-- END ") + QLatin1String(name));
        return from < 0 || to < from ? QString() : schema.mid(from, to - from);
    };
    if (lacks("SBookSum")) {
        const QString totals = block("book totals");
        if (!totals.isEmpty()) {
            Transaction tx(db);
            db.execScript(totals);
            db.execScript(QStringLiteral(
                "INSERT INTO SBookSum(BName, theT, theCents, theCount) "
                "SELECT BName, 'InTable', Sum(CAST(round(IMoney * 100) AS INTEGER)), Count(*) "
                "FROM InTable GROUP BY BName;"
                "INSERT INTO SBookSum(BName, theT, theCents, theCount) "
                "SELECT BName, 'OutTable', Sum(CAST(round(OMoney * 100) AS INTEGER)), Count(*) "
                "FROM OutTable GROUP BY BName;"));
            tx.commit();
        }
    }
    // Older totals triggers made a book's row with INSERT OR IGNORE, which an import's
    // INSERT OR FAIL would turn into a failure once the row exists: they are made anew.
    const Query trigger =
        db.query(QStringLiteral("SELECT sql FROM sqlite_master WHERE type='trigger' AND name=?"),
                 QStringLiteral("InTable_Sum_Insert"));
    if (!trigger.isEmpty() &&
        trigger.value(0, 0).toString().contains(QLatin1String("OR IGNORE"), Qt::CaseInsensitive)) {
        const QString totals = block("book totals");
        const qsizetype first = totals.indexOf(QLatin1String("CREATE TRIGGER"));
        if (first >= 0) {
            Transaction tx(db);
            for (const char* t : {"InTable", "OutTable"}) {
                for (const char* event : {"Insert", "Delete", "Update"}) {
                    db.execScript(QStringLiteral("DROP TRIGGER IF EXISTS %1_Sum_%2;")
                                      .arg(QLatin1String(t), QLatin1String(event)));
                }
            }
            db.execScript(totals.mid(first));
            tx.commit();
        }
    }
    if (lacks("SBillDone")) {
        const QString bills = block("bill imports");
        if (!bills.isEmpty()) {
            Transaction tx(db);
            db.execScript(bills);
            tx.commit();
        }
    }
    if (lacks("SStatementProfile")) {
        const QString profiles = block("statement profiles");
        if (!profiles.isEmpty()) {
            Transaction tx(db);
            db.execScript(profiles);
            tx.commit();
        }
    }
}

}  // namespace cw
