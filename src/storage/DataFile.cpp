#include "storage/DataFile.h"

#include <QDir>
#include <QFileInfo>

#include "storage/Database.h"
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
    QDir().mkpath(QFileInfo(path).absolutePath());
    auto db = Database::create(path);
    Transaction tx(*db);
    db->execScript(QString::fromUtf8(schemaSql()));
    tx.commit();
}

}  // namespace cw
