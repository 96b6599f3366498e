#pragma once

#include "interchange/EntryWriter.h"

namespace cw {

// A plain-text journal as hledger and ledger read it: a transaction per entry with the member
// and the remark as comment tags, both amounts written out, in CNY.
class JournalWriter : public EntryWriter {
  public:
    using EntryWriter::EntryWriter;
    void begin(const QString& book, const QStringList& accounts, const QString& openDate) override;
    void entry(const BookEntry& e) override;
};

}  // namespace cw
