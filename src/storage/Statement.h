#pragma once

#include <QString>
#include <QVariant>
#include <cstdint>
#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace cw {

class StatementCache;

// One prepared statement. Values are always bound, never pasted into the text, so a
// quote or a percent sign in a name is stored and found exactly as typed.
// Move-only; when the object goes away the statement goes back to the connection's cache of
// prepared statements (or is finalized when it came from none, or the cache is gone).
class Statement {
  public:
    Statement(sqlite3* db, const QString& sql, std::weak_ptr<StatementCache> cache = {});
    ~Statement();
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&& other) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // Positional binding, 1-based like the engine.
    Statement& bind(int index, const QString& value);
    Statement& bind(int index, const char* value);
    Statement& bind(int index, double value);
    Statement& bind(int index, int value);
    Statement& bind(int index, qint64 value);
    Statement& bind(int index, bool value);
    Statement& bind(int index, std::nullptr_t);
    Statement& bind(int index, const QVariant& value);

    template <typename... Args>
    Statement& bindAll(const Args&... args) {
        int index = 0;
        (bind(++index, args), ...);
        return *this;
    }
    // A LIKE pattern, for a condition written with ESCAPE '\', that finds the text anywhere
    // as typed: %, _ and the escape itself match themselves, not as wildcards.
    static QString containing(const QString& text) {
        QString escaped = text;
        escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
        escaped.replace(QLatin1Char('%'), QLatin1String("\\%"));
        escaped.replace(QLatin1Char('_'), QLatin1String("\\_"));
        return QLatin1Char('%') + escaped + QLatin1Char('%');
    }
    // Binds the values in order from the first parameter on: for statements whose conditions
    // are put together as they are needed.
    Statement& bindList(const QVariantList& values) {
        for (int i = 0; i < values.size(); ++i) bind(i + 1, values[i]);
        return *this;
    }

    // Advances to the next row; false when the statement is done.
    bool step();
    // Runs a statement that returns no rows to its end.
    void run();
    void reset();

    int columnCount() const;
    QString columnName(int column) const;
    int columnIndex(const QString& name) const;  // -1 when absent
    bool isNull(int column) const;
    QString text(int column) const;
    double number(int column) const;
    qint64 integer(int column) const;
    QVariant value(int column) const;

  private:
    [[noreturn]] void fail(int rc) const;

    void release();

    sqlite3* db_ = nullptr;
    sqlite3_stmt* stmt_ = nullptr;
    std::weak_ptr<StatementCache> cache_;
    QString sql_;  // the cache's key
};

}  // namespace cw
