#include "storage/StatementCache.h"

#include <sqlite3.h>

namespace cw {

sqlite3_stmt* StatementCache::take(const QString& sql) {
    return idle_.take(sql);
}

void StatementCache::give(const QString& sql, sqlite3_stmt* stmt) {
    sqlite3_reset(stmt);
    if (sqlite3_db_handle(stmt) != db_ || idle_.size() >= kMaxStatements || idle_.contains(sql)) {
        sqlite3_finalize(stmt);
        return;
    }
    sqlite3_clear_bindings(stmt);
    idle_.insert(sql, stmt);
}

void StatementCache::reset(sqlite3* db) {
    for (sqlite3_stmt* stmt : std::as_const(idle_)) sqlite3_finalize(stmt);
    idle_.clear();
    db_ = db;
}

}  // namespace cw
