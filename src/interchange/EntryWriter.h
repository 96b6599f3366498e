#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "interchange/BookEntries.h"

class QIODevice;

namespace cw {

// Writes double entries in the syntax of one other program. The bytes gather in a buffer that
// goes to the device in large pieces, so a million postings cost few writes.
class EntryWriter {
  public:
    explicit EntryWriter(QIODevice& device) : device_(device) {}
    virtual ~EntryWriter() = default;
    EntryWriter(const EntryWriter&) = delete;
    EntryWriter& operator=(const EntryWriter&) = delete;

    // Before the first entry: the book's name, every account the entries will name, and the
    // day the accounts open (the day before the first entry).
    virtual void begin(const QString& book, const QStringList& accounts, const QString& openDate);
    virtual void entry(const BookEntry& e) = 0;
    // After the last entry; false when a write failed.
    virtual bool end();

    // "-1234.50", exact from the cents.
    static QString amount(qint64 cents);
    // Line breaks and tabs of a user's text as blanks, so a field stays on its line.
    static QString oneLine(const QString& text);

  protected:
    void put(const QString& text);
    void put(const QByteArray& bytes);
    bool flush();

  private:
    QIODevice& device_;
    QByteArray buffer_;
    bool failed_ = false;
};

}  // namespace cw
