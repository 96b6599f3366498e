#include "storage/Statement.h"

#include <sqlite3.h>

#include <QRegularExpression>

#include "storage/DbError.h"
#include "storage/Money.h"
#include "storage/StatementCache.h"

namespace cw {

namespace {

// LEFT is a keyword of the engine (LEFT JOIN), so the registered Left function can only be
// called by its quoted name. Statements keep the familiar Left(date, 7) and are adapted here.
QString adaptDialect(const QString& sql) {
    if (!sql.contains(QLatin1String("left"), Qt::CaseInsensitive)) return sql;
    static const QRegularExpression call(QStringLiteral("\\bLeft\\s*\\("),
                                         QRegularExpression::CaseInsensitiveOption);
    QString out = sql;
    out.replace(call, QStringLiteral("\"Left\"("));
    return out;
}

}  // namespace

Statement::Statement(sqlite3* db, const QString& sql, std::weak_ptr<StatementCache> cache)
    : db_(db), cache_(std::move(cache)) {
    if (const auto c = cache_.lock()) {
        sql_ = sql;
        stmt_ = c->take(sql);
        if (stmt_) return;
    }
    const QByteArray utf8 = adaptDialect(sql).toUtf8();
    const int rc = sqlite3_prepare_v2(db_, utf8.constData(), int(utf8.size()), &stmt_, nullptr);
    if (rc != SQLITE_OK) {
        const QString msg = QString::fromUtf8(sqlite3_errmsg(db_));
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
        throw DbError(msg + QStringLiteral("\n") + sql, rc);
    }
}

void Statement::release() {
    if (!stmt_) return;
    if (const auto c = cache_.lock())
        c->give(sql_, stmt_);
    else
        sqlite3_finalize(stmt_);
    stmt_ = nullptr;
}

Statement::~Statement() {
    release();
}

Statement::Statement(Statement&& other) noexcept
    : db_(other.db_),
      stmt_(other.stmt_),
      cache_(std::move(other.cache_)),
      sql_(std::move(other.sql_)) {
    other.stmt_ = nullptr;
}

Statement& Statement::operator=(Statement&& other) noexcept {
    if (this != &other) {
        release();
        db_ = other.db_;
        stmt_ = other.stmt_;
        cache_ = std::move(other.cache_);
        sql_ = std::move(other.sql_);
        other.stmt_ = nullptr;
    }
    return *this;
}

void Statement::fail(int rc) const {
    QString msg = QString::fromUtf8(sqlite3_errmsg(db_));
    if (stmt_) msg += QStringLiteral("\n") + QString::fromUtf8(sqlite3_sql(stmt_));
    throw DbError(msg, rc);
}

Statement& Statement::bind(int index, const QString& value) {
    const QByteArray utf8 = value.toUtf8();
    const int rc =
        sqlite3_bind_text(stmt_, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    if (rc != SQLITE_OK) fail(rc);
    return *this;
}

Statement& Statement::bind(int index, const char* value) {
    return bind(index, QString::fromUtf8(value));
}

Statement& Statement::bind(int index, double value) {
    const int rc = sqlite3_bind_double(stmt_, index, value);
    if (rc != SQLITE_OK) fail(rc);
    return *this;
}

Statement& Statement::bind(int index, int value) {
    return bind(index, qint64(value));
}

Statement& Statement::bind(int index, qint64 value) {
    const int rc = sqlite3_bind_int64(stmt_, index, value);
    if (rc != SQLITE_OK) fail(rc);
    return *this;
}

Statement& Statement::bind(int index, bool value) {
    return bind(index, qint64(value ? 1 : 0));
}

Statement& Statement::bind(int index, std::nullptr_t) {
    const int rc = sqlite3_bind_null(stmt_, index);
    if (rc != SQLITE_OK) fail(rc);
    return *this;
}

Statement& Statement::bind(int index, const QVariant& value) {
    if (!value.isValid() || value.isNull()) return bind(index, nullptr);
    switch (value.typeId()) {
        case QMetaType::Double:
        case QMetaType::Float:
            return bind(index, value.toDouble());
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::UInt:
        case QMetaType::ULongLong:
            return bind(index, value.toLongLong());
        case QMetaType::Bool:
            return bind(index, value.toBool());
        default:
            return bind(index, value.toString());
    }
}

bool Statement::step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    fail(rc);
}

void Statement::run() {
    while (step()) {
    }
}

void Statement::reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

int Statement::columnCount() const {
    return sqlite3_column_count(stmt_);
}

QString Statement::columnName(int column) const {
    return QString::fromUtf8(sqlite3_column_name(stmt_, column));
}

int Statement::columnIndex(const QString& name) const {
    const int n = columnCount();
    for (int i = 0; i < n; ++i) {
        if (columnName(i).compare(name, Qt::CaseInsensitive) == 0) return i;
    }
    return -1;
}

bool Statement::isNull(int column) const {
    return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

QString Statement::text(int column) const {
    switch (sqlite3_column_type(stmt_, column)) {
        case SQLITE_NULL:
            return QString();
        case SQLITE_FLOAT:
            return Money::plain(sqlite3_column_double(stmt_, column));
        default: {
            const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
            return QString::fromUtf8(p, sqlite3_column_bytes(stmt_, column));
        }
    }
}

double Statement::number(int column) const {
    if (sqlite3_column_type(stmt_, column) == SQLITE_TEXT) return text(column).toDouble();
    return sqlite3_column_double(stmt_, column);
}

qint64 Statement::integer(int column) const {
    return sqlite3_column_int64(stmt_, column);
}

QVariant Statement::value(int column) const {
    switch (sqlite3_column_type(stmt_, column)) {
        case SQLITE_NULL:
            return QVariant();
        case SQLITE_INTEGER:
            return QVariant(qint64(sqlite3_column_int64(stmt_, column)));
        case SQLITE_FLOAT:
            return QVariant(sqlite3_column_double(stmt_, column));
        default:
            return QVariant(text(column));
    }
}

}  // namespace cw
