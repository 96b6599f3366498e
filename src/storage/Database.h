#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <memory>

#include "storage/Query.h"
#include "storage/Statement.h"

struct sqlite3;

namespace cw {

class StatementCache;

// The one connection to the password-protected data file. The file keeps every committed
// change at all times (rollback journal, full sync), so copying that single file is a
// complete copy of the data.
class Database {
  public:
    // The password of the data file itself (not of a book).
    static const QString kFilePassword;

    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Opens an existing data file. Throws DbError naming the file and the cause when it is
    // missing, damaged, not a data file or keyed with another password; writes nothing then.
    static std::unique_ptr<Database> open(const QString& path,
                                          const QString& password = kFilePassword);
    // Creates a new, empty encrypted file (refuses to overwrite an existing one).
    static std::unique_ptr<Database> create(const QString& path,
                                            const QString& password = kFilePassword);

    const QString& path() const { return path_; }

    Statement prepare(const QString& sql);

    // Runs one statement with its bound values; returns the number of rows changed.
    template <typename... Args>
    int exec(const QString& sql, const Args&... args) {
        Statement st = prepare(sql);
        st.bindAll(args...);
        st.run();
        return changes();
    }

    // Reads a whole result with its bound values.
    template <typename... Args>
    Query query(const QString& sql, const Args&... args) {
        Statement st = prepare(sql);
        st.bindAll(args...);
        return Query(st);
    }

    // Runs several statements of fixed text (schema scripts); no values.
    void execScript(const QString& sql);

    qint64 lastInsertId() const;
    int changes() const;
    bool inTransaction() const;

    // Table and column names cannot be bound; callers that take them as arguments check
    // them against the file's own tables first.
    bool hasTable(const QString& table);
    bool hasColumn(const QString& table, const QString& column);
    void requireColumn(const QString& table, const QString& column);

    // A consistent copy of the whole file to dest (overwritten), taken with the engine's
    // backup so it never catches a write half done. Refuses to write over this file itself.
    void backupTo(const QString& dest);

    // True when this file has every table and column that other has.
    bool hasSchemaOf(const Database& other) const;

    // Copies the data file at source (keyed as this one) into this file, page by page through
    // the engine's backup: the file stays the same file, so every connection to it sees the
    // new rows, and the write is journalled like any other, so a copy cut short leaves the old
    // rows. The caller holds the file (FileWriteLock). Rows still being read from this
    // connection start again from the top. Throws DbError when the copy fails.
    void copyFrom(const QString& source);
    bool isOpen() const { return db_ != nullptr; }

    sqlite3* handle() const { return db_; }

  private:
    Database(sqlite3* db, QString path);
    static std::unique_ptr<Database> openHandle(const QString& path, const QString& password,
                                                bool create);
    void configure();
    void loadColumns();

    sqlite3* db_ = nullptr;
    QString path_;
    QString password_;
    QByteArray keyPragma_;
    QHash<QString, QSet<QString>> columns_;  // table → columns, compared case-insensitively
    std::shared_ptr<StatementCache> statements_;
};

}  // namespace cw
