#pragma once

#include <QString>

namespace cw {

// The order clauses of the book's two sort codes. Every clause ends on ID so rows that tie
// (same count, same name, same date) keep their order of entry, and "unordered" is the
// order of entry written out rather than left to the engine.
class SortClause {
  public:
    // Names sort in pinyin order (NameOrder) and need the table's thePY column.
    // Drop-down lists: "1" usage ascending, "2" name ascending, "3" usage descending,
    // "4" name descending, "5" or anything else unordered.
    static QString lists(const QString& code, const QString& nameColumn);
    // Family lists know only the name orders "2" and "4".
    static QString family(const QString& code);
    // Posting lists: "1" entry order, "2" date, "3" entry order descending, "4" date descending.
    static QString postings(const QString& code, const QString& dateColumn);
};

}  // namespace cw
