#pragma once

#include "interchange/EntryWriter.h"

namespace cw {

// Comma-separated values, UTF-8 with a byte order mark so spreadsheet programs take the
// Chinese right: one row per leg, the legs of one entry sharing its 序号.
class CsvWriter : public EntryWriter {
  public:
    using EntryWriter::EntryWriter;
    void begin(const QString& book, const QStringList& accounts, const QString& openDate) override;
    void entry(const BookEntry& e) override;

    static QString field(const QString& text);

  private:
    qint64 number_ = 0;
};

}  // namespace cw
