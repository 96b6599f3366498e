#pragma once

#include <QHash>
#include <QString>

struct sqlite3;
struct sqlite3_stmt;

namespace cw {

// Prepared statements kept for their next use. Preparing a statement costs more than running
// one of the small statements a posting is made of, and an import or a plan run makes the
// same four or five for every row; kept here, each is prepared once per connection. One idle
// statement is kept per text, up to a bound; a statement comes back reset with its values
// cleared, so it holds no lock while it waits.
class StatementCache {
  public:
    explicit StatementCache(sqlite3* db) : db_(db) {}
    ~StatementCache() { clear(); }
    StatementCache(const StatementCache&) = delete;
    StatementCache& operator=(const StatementCache&) = delete;

    // An idle statement of that text, or nullptr.
    sqlite3_stmt* take(const QString& sql);
    // Keeps a statement the caller is done with, or finalizes it (another of the same text is
    // kept already, the cache is full, or it belongs to a connection closed since).
    void give(const QString& sql, sqlite3_stmt* stmt);
    // Finalizes every idle statement and serves the given connection from now on.
    void reset(sqlite3* db);
    void clear() { reset(db_); }

    static constexpr int kMaxStatements = 256;

  private:
    sqlite3* db_;
    QHash<QString, sqlite3_stmt*> idle_;
};

}  // namespace cw
