#include "storage/FileWriteLock.h"

#include "storage/Database.h"
#include "storage/DbError.h"

namespace cw {

FileWriteLock::FileWriteLock(Database& db) : db_(db) {
    if (db_.inTransaction()) throw DbError(QStringLiteral("数据文件正在写入，不能替换"));
    // The lock is taken in the normal mode, which lets go of the file while it waits, so a
    // writer that holds the file can still commit. Only once it is ours does the connection
    // switch to keeping it past the end of the (empty) transaction.
    db_.execScript(QStringLiteral("BEGIN EXCLUSIVE"));
    try {
        db_.execScript(QStringLiteral("PRAGMA locking_mode=EXCLUSIVE; COMMIT"));
    } catch (const DbError&) {
        db_.execScript(QStringLiteral("ROLLBACK; PRAGMA locking_mode=NORMAL"));
        throw;
    }
}

FileWriteLock::~FileWriteLock() {
    // Held this way the engine keeps its journal file (emptied) beside the data file. Going
    // through the persisting journal mode back to the deleting one removes it while the lock
    // is still ours, so it can never be another writer's journal; the next access then lets
    // go of the file.
    try {
        db_.execScript(
            QStringLiteral("PRAGMA locking_mode=NORMAL; PRAGMA journal_mode=PERSIST;"
                           "PRAGMA journal_mode=DELETE; SELECT count(*) FROM sqlite_master"));
    } catch (const DbError&) {
        // Nothing better to do in a destructor: the lock goes when the connection closes.
    }
}

}  // namespace cw
