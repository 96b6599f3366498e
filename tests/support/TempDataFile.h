#pragma once

#include <QTemporaryDir>
#include <memory>

#include "storage/Clock.h"
#include "storage/GlobalState.h"
#include "storage/Database.h"
#include "storage/TfrmDM.h"

namespace cw::test {

// A fresh data file in a temporary program folder, written by the same maker as the
// delivered one, with the data services on it and an optional open book.
class TempDataFile {
  public:
    explicit TempDataFile(const QDate& today = QDate(2026, 12, 9));

    QString programDir() const { return dir_.path(); }
    QString dataPath() const;
    Database& db() { return *db_; }
    GlobalState& state() { return state_; }
    TfrmDM& dm() { return *dm_; }

    // Adds a book row and its settings row the way a new book starts, and opens it.
    void addBook(const QString& name, const QString& password = QString(),
                 const QString& px = QStringLiteral("5"),
                 const QString& jzpx = QStringLiteral("3"));
    void openBook(const QString& name);
    // Adds an account of the open book with an opening balance (no journal row).
    void addAccount(const QString& name, double balance = 0, const QString& member = QString(),
                    const QString& type = QStringLiteral("现金"));

    // Closes and reopens the connection, to see what reached the file. db() and dm() are new
    // objects afterwards: anything that held the old ones must be made again.
    void reopen();

    int count(const QString& table);

  private:
    QTemporaryDir dir_;
    GlobalState state_;
    std::unique_ptr<Database> db_;
    std::unique_ptr<TfrmDM> dm_;
    QDate today_;
};

}  // namespace cw::test
