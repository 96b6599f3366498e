#pragma once

#include <QString>

namespace cw {

class Database;

// Writes the open book for other bookkeeping programs: a hledger/ledger journal, a beancount
// file, QIF or CSV. Every posting becomes one entry of two legs; the accounts open with the
// balance they had before the first exported day (权益:期初余额), so that after the last
// exported day each account stands where the book has it: the money accounts at their
// balance, debts, credits and investments at what is outstanding.
class LedgerExport {
  public:
    enum class Format { Ledger, Beancount, Qif, Csv };

    // "ledger", "beancount", "qif", "csv"; false for anything else.
    static bool parseFormat(const QString& word, Format* format);

    LedgerExport(Database& db, QString book);

    // from and to (yyyy-mm-dd, both days included) may be empty for an open end. today dates
    // the opening balances when nothing falls in the range. The file goes through OutputFile
    // (never into the data folder, never half written); false with the reason in error.
    bool write(Format format, const QString& target, const QString& from, const QString& to,
               const QString& today, QString* error);

    // Entries written by the last write, opening balances included.
    qint64 entries() const { return entries_; }

  private:
    Database& db_;
    QString book_;
    qint64 entries_ = 0;
};

}  // namespace cw
