#include "storage/NameRank.h"

#include <QCryptographicHash>
#include <algorithm>
#include <utility>
#include <vector>

#include "storage/Database.h"
#include "storage/NameOrder.h"
#include "storage/Transaction.h"

namespace cw {

namespace {

// The book's distinct names of a column, one seek each: the next name is the least one above
// the last, which the (BName, column) index finds without reading the rows between.
QStringList distinctNames(Database& db, const QString& table, const QString& column,
                          const QString& book) {
    const QString next = QStringLiteral("SELECT min(%1) FROM %2 WHERE BName=?1").arg(column, table);
    Statement st = db.prepare(
        QStringLiteral("WITH RECURSIVE d(n) AS (SELECT (%1) UNION ALL SELECT (%1 AND %2>d.n) "
                       "FROM d WHERE d.n IS NOT NULL) SELECT n FROM d WHERE n IS NOT NULL")
            .arg(next, column));
    st.bind(1, book);
    QStringList names;
    while (st.step()) names << st.text(0);
    return names;
}

// In the order the engine gives ORDER BY NameKey(column): the keys' UTF-8 bytes compared.
QStringList ranked(const QStringList& names) {
    std::vector<std::pair<QByteArray, QString>> keyed;
    keyed.reserve(size_t(names.size()));
    for (const QString& n : names) keyed.emplace_back(NameOrder::key(n).toUtf8(), n);
    std::sort(keyed.begin(), keyed.end());
    QStringList out;
    out.reserve(names.size());
    for (auto& k : keyed) out << std::move(k.second);
    return out;
}

QString tableName(const QStringList& names) {
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (const QString& n : names) {
        hash.addData(n.toUtf8());
        hash.addData(QByteArrayView("\0", 1));
    }
    return QStringLiteral("NameRank_") + QString::fromLatin1(hash.result().toHex().left(20));
}

bool exists(Database& db, const QString& name) {
    Statement st = db.prepare(
        QStringLiteral("SELECT 1 FROM sqlite_temp_master WHERE type='table' AND name=?"));
    st.bind(1, name);
    return st.step();
}

void write(Database& db, const QString& name, const QStringList& names) {
    // One commit for all the names; the file's own pages are not touched.
    Transaction tx(db);
    db.exec(QStringLiteral("CREATE TEMP TABLE %1 (rankNo INTEGER PRIMARY KEY, rankName TEXT)")
                .arg(name));
    Statement insert = db.prepare(
        QStringLiteral("INSERT INTO temp.%1 (rankNo, rankName) VALUES (?, ?)").arg(name));
    for (qsizetype i = 0; i < names.size(); ++i) {
        insert.bind(1, qint64(i + 1)).bind(2, names[i]);
        insert.run();
        insert.reset();
    }
    tx.commit();
}

}  // namespace

bool NameRank::indexed(Database& db, const QString& table, const QString& column) {
    QStringList indexes;
    Statement list = db.prepare(QStringLiteral("PRAGMA index_list(%1)").arg(table));
    while (list.step()) indexes << list.text(1);
    for (const QString& index : indexes) {
        Statement info = db.prepare(QStringLiteral("PRAGMA index_info(\"%1\")").arg(index));
        QStringList columns;
        while (info.step() && columns.size() < 2) columns << info.text(2);
        if (columns.size() == 2 &&
            columns[0].compare(QLatin1String("BName"), Qt::CaseInsensitive) == 0 &&
            columns[1].compare(column, Qt::CaseInsensitive) == 0) {
            return true;
        }
    }
    return false;
}

QString NameRank::of(Database& db, const QString& table, const QString& column,
                     const QString& book) {
    const QStringList names = ranked(distinctNames(db, table, column, book));
    const QString name = tableName(names);
    if (!exists(db, name)) write(db, name, names);
    return QStringLiteral("temp.") + name;
}

}  // namespace cw
