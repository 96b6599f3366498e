#include "storage/Transaction.h"

#include "storage/Database.h"

namespace cw {

Transaction::Transaction(Database& db) : db_(db) {
    if (!db_.inTransaction()) {
        db_.execScript(QStringLiteral("BEGIN IMMEDIATE"));
        owner_ = true;
    }
}

Transaction::~Transaction() {
    if (owner_ && !done_) {
        try {
            db_.execScript(QStringLiteral("ROLLBACK"));
        } catch (...) {
            // The engine may already have rolled back after a failing statement.
        }
    }
}

void Transaction::commit() {
    if (owner_ && !done_) db_.execScript(QStringLiteral("COMMIT"));
    done_ = true;
}

}  // namespace cw
