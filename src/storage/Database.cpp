#include "storage/Database.h"

#include <sqlite3.h>

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

#include "storage/DbError.h"
#include "storage/NameOrder.h"
#include "storage/OutputFile.h"
#include "storage/StatementCache.h"

namespace cw {

const QString Database::kFilePassword = QStringLiteral("qkt947");

namespace {

// Left(text, n): the first n characters of a text (characters, not bytes), as the
// month and year selections use it.
void leftFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const auto* s = reinterpret_cast<const unsigned char*>(sqlite3_value_text(argv[0]));
    const int bytes = sqlite3_value_bytes(argv[0]);
    const sqlite3_int64 n = sqlite3_value_int64(argv[1]);
    if (n <= 0) {
        sqlite3_result_text(ctx, "", 0, SQLITE_STATIC);
        return;
    }
    int pos = 0;
    sqlite3_int64 chars = 0;
    while (pos < bytes && chars < n) {
        ++pos;
        while (pos < bytes && (s[pos] & 0xC0) == 0x80) ++pos;  // skip continuation bytes
        ++chars;
    }
    sqlite3_result_text(ctx, reinterpret_cast<const char*>(s), pos, SQLITE_TRANSIENT);
}

QString textArgument(sqlite3_value* v) {
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(v)),
                             sqlite3_value_bytes(v));
}

// NameKey(name[, code]): the pinyin sort key of a name, so ORDER BY sorts names the way every
// list of the program does. Numbers (and NULL) pass through, so a column of amounts keyed
// alike still sorts by value.
void nameKeyFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) != SQLITE_TEXT) {
        sqlite3_result_value(ctx, argv[0]);
        return;
    }
    const QString code = argc > 1 ? textArgument(argv[1]) : QString();
    const QByteArray key = NameOrder::key(textArgument(argv[0]), code).toUtf8();
    sqlite3_result_text(ctx, key.constData(), int(key.size()), SQLITE_TRANSIENT);
}

// The page key is derived from the password once here rather than by the engine's slow
// key stretching: the program opens the file at every start and the password is the
// program's own, not a secret the user chose.
QByteArray rawKeyPragma(const QString& password) {
    const QByteArray hash =
        QCryptographicHash::hash(password.toUtf8(), QCryptographicHash::Sha256).toHex();
    return "PRAGMA key = \"x'" + hash + "'\";";
}

QString describe(const QString& path, const QString& cause) {
    return QStringLiteral("无法打开数据文件 %1：%2").arg(QFileInfo(path).absoluteFilePath(), cause);
}

}  // namespace

Database::Database(sqlite3* db, QString path)
    : db_(db), path_(std::move(path)), statements_(std::make_shared<StatementCache>(db)) {}

Database::~Database() {
    // Statements still out (none, normally) finalize themselves once the cache is gone.
    statements_.reset();
    if (db_) sqlite3_close_v2(db_);
}

std::unique_ptr<Database> Database::openHandle(const QString& path, const QString& password,
                                               bool create) {
    sqlite3* raw = nullptr;
    const int flags =
        SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0) | SQLITE_OPEN_NOMUTEX;
    const int rc = sqlite3_open_v2(QFileInfo(path).absoluteFilePath().toUtf8().constData(), &raw,
                                   flags, nullptr);
    std::unique_ptr<Database> db(new Database(raw, path));
    if (rc != SQLITE_OK) {
        throw DbError(
            describe(path, QString::fromUtf8(raw ? sqlite3_errmsg(raw) : sqlite3_errstr(rc))), rc);
    }
    // Another copy may be writing: wait for it rather than calling a busy file damaged.
    sqlite3_busy_timeout(raw, 5000);
    db->password_ = password;
    db->keyPragma_ = rawKeyPragma(password);
    if (sqlite3_exec(raw, db->keyPragma_.constData(), nullptr, nullptr, nullptr) != SQLITE_OK) {
        throw DbError(describe(path, QString::fromUtf8(sqlite3_errmsg(raw))));
    }
    return db;
}

std::unique_ptr<Database> Database::open(const QString& path, const QString& password) {
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile()) {
        throw DbError(describe(path, QStringLiteral("文件不存在")));
    }
    if (info.size() == 0) {
        // The engine would take an empty file for a new database and write into it.
        throw DbError(describe(path, QStringLiteral("文件是空的，不是 Coinwick 的数据文件")));
    }
    auto db = openHandle(path, password, false);
    // Reading the catalogue is the first access that decrypts a page: a wrong password or a
    // foreign file fails here, before anything could be written.
    char* err = nullptr;
    const int rc =
        sqlite3_exec(db->db_, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, &err);
    if (rc != SQLITE_OK) {
        const QString engine = QString::fromUtf8(err ? err : sqlite3_errstr(rc));
        sqlite3_free(err);
        const int primary = rc & 0xff;
        const QString cause = (primary == SQLITE_BUSY || primary == SQLITE_LOCKED)
                                  ? QStringLiteral("文件正被另一个程序使用（%1）")
                              : (primary == SQLITE_NOTADB)
                                  ? QStringLiteral("密码不对，或者不是 Coinwick 的数据文件（%1）")
                                  : QStringLiteral("文件已损坏（%1）");
        throw DbError(describe(path, cause.arg(engine)), rc);
    }
    db->loadColumns();
    if (!db->hasTable(QStringLiteral("SBase")) || !db->hasTable(QStringLiteral("SBook"))) {
        throw DbError(describe(path, QStringLiteral("不是 Coinwick 的数据文件（缺少账簿表）")));
    }
    db->configure();
    return db;
}

std::unique_ptr<Database> Database::create(const QString& path, const QString& password) {
    if (QFileInfo::exists(path)) {
        throw DbError(QStringLiteral("数据文件 %1 已经存在，不会覆盖它")
                          .arg(QFileInfo(path).absoluteFilePath()));
    }
    auto db = openHandle(path, password, true);
    db->configure();
    return db;
}

void Database::configure() {
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_timeout(db_, 5000);
    sqlite3_create_function_v2(db_, "Left", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                               &leftFunction, nullptr, nullptr, nullptr);
    for (int args = 1; args <= 2; ++args) {
        sqlite3_create_function_v2(db_, "NameKey", args, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
                                   nullptr, &nameKeyFunction, nullptr, nullptr, nullptr);
    }
    // One file holds every committed change: a rollback journal beside it only while a
    // write is under way, and a full sync at every commit.
    execScript(QStringLiteral(
        "PRAGMA journal_mode=DELETE; PRAGMA synchronous=FULL; PRAGMA temp_store=MEMORY;"
        "PRAGMA cache_size=-65536;"));
}

void Database::loadColumns() {
    columns_.clear();
    Statement tables(db_, QStringLiteral("SELECT name FROM sqlite_master WHERE type='table'"));
    QStringList names;
    while (tables.step()) names << tables.text(0);
    for (const QString& t : names) {
        QSet<QString> cols;
        // Table names come from the catalogue itself; quoted as identifiers all the same.
        QString quoted = t;
        quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
        Statement info(db_, QStringLiteral("PRAGMA table_info(\"%1\")").arg(quoted));
        const int nameColumn = info.columnIndex(QStringLiteral("name"));
        while (info.step()) cols.insert(info.text(nameColumn).toLower());
        columns_.insert(t.toLower(), cols);
    }
}

Statement Database::prepare(const QString& sql) {
    return Statement(db_, sql, statements_);
}

void Database::execScript(const QString& sql) {
    char* err = nullptr;
    const int rc = sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, &err);
    if (rc != SQLITE_OK) {
        const QString msg = QString::fromUtf8(err ? err : sqlite3_errstr(rc));
        sqlite3_free(err);
        throw DbError(msg, rc);
    }
    if (sql.contains(QLatin1String("CREATE"), Qt::CaseInsensitive)) loadColumns();
}

qint64 Database::lastInsertId() const {
    return sqlite3_last_insert_rowid(db_);
}

int Database::changes() const {
    return sqlite3_changes(db_);
}

bool Database::inTransaction() const {
    return sqlite3_get_autocommit(db_) == 0;
}

bool Database::hasTable(const QString& table) {
    return columns_.contains(table.toLower());
}

bool Database::hasColumn(const QString& table, const QString& column) {
    const auto it = columns_.constFind(table.toLower());
    return it != columns_.constEnd() && it->contains(column.toLower());
}

void Database::requireColumn(const QString& table, const QString& column) {
    if (!hasColumn(table, column)) {
        throw DbError(QStringLiteral("数据文件中没有 %1.%2").arg(table, column));
    }
}

void Database::backupTo(const QString& dest) {
    // Written beside the target under a temporary name, owner-only, and renamed at the end,
    // so the target is either the old copy or a whole new one, never half written; the books
    // are the household's own. Never into the data file's folder: a copy over the open file
    // would leave this connection on a deleted file.
    OutputFile file(dest, path_);
    if (!file.open()) throw DbError(file.errorString());
    const QString tmp = file.temporaryPath();
    sqlite3* out = nullptr;
    int rc =
        sqlite3_open_v2(QFile::encodeName(tmp).constData(), &out, SQLITE_OPEN_READWRITE, nullptr);
    auto failWith = [&](const QString& msg, int code) {
        sqlite3_close_v2(out);
        QFile::remove(tmp + QStringLiteral("-journal"));
        throw DbError(QStringLiteral("无法写入备份文件 %1：%2").arg(dest, msg), code);
    };
    if (rc == SQLITE_OK) {
        // The copy keeps the data file's own key, so it opens like the original.
        rc = sqlite3_exec(out, keyPragma_.constData(), nullptr, nullptr, nullptr);
    }
    if (rc != SQLITE_OK) failWith(QString::fromUtf8(sqlite3_errmsg(out)), rc);
    sqlite3_backup* b = sqlite3_backup_init(out, "main", db_, "main");
    if (!b) failWith(QString::fromUtf8(sqlite3_errmsg(out)), 0);
    rc = sqlite3_backup_step(b, -1);
    sqlite3_backup_finish(b);
    if (rc != SQLITE_DONE) failWith(QString::fromUtf8(sqlite3_errstr(rc)), rc);
    rc = sqlite3_close(out);
    out = nullptr;
    if (rc != SQLITE_OK) failWith(QString::fromUtf8(sqlite3_errstr(rc)), rc);
    if (!file.commit()) throw DbError(file.errorString());
}

bool Database::hasSchemaOf(const Database& other) const {
    for (auto it = other.columns_.constBegin(); it != other.columns_.constEnd(); ++it) {
        const auto mine = columns_.constFind(it.key());
        if (mine == columns_.constEnd() || !mine->contains(it.value())) return false;
    }
    return true;
}

void Database::copyFrom(const QString& source) {
    if (inTransaction()) throw DbError(QStringLiteral("数据文件正在写入，不能替换"));
    auto from = open(source, password_);
    // The engine copies only into a connection that is reading nothing; a list paged from
    // the old rows has no place among the new ones anyway.
    for (sqlite3_stmt* st = sqlite3_next_stmt(db_, nullptr); st; st = sqlite3_next_stmt(db_, st)) {
        if (sqlite3_stmt_busy(st)) sqlite3_reset(st);
    }
    statements_->clear();
    sqlite3_backup* b = sqlite3_backup_init(db_, "main", from->db_, "main");
    if (!b) throw DbError(QString::fromUtf8(sqlite3_errmsg(db_)), sqlite3_errcode(db_));
    const int rc = sqlite3_backup_step(b, -1);
    sqlite3_backup_finish(b);
    if (rc != SQLITE_DONE) {
        throw DbError(QStringLiteral("无法把 %1 复制到数据文件：%2")
                          .arg(QFileInfo(source).fileName(), QString::fromUtf8(sqlite3_errstr(rc))),
                      rc);
    }
    loadColumns();
}

}  // namespace cw
