#pragma once

#include <QString>

namespace cw {

class Database;

// A column of names put in pinyin order without sorting its rows. The distinct names of the
// column are few (categories, accounts, members); they are read one index seek each, ordered
// in memory by NameOrder and written into a temporary table (rankNo INTEGER PRIMARY KEY,
// rankName) that the engine walks in rank order, fetching each name's rows through the
// column's index. A million postings then sort by name as fast as they did by the stored text.
class NameRank {
  public:
    // Whether an index of `table` begins with (BName, column): only then are the distinct names
    // and each name's rows found by seeks rather than by reading the whole table.
    static bool indexed(Database& db, const QString& table, const QString& column);

    // The temporary table ("temp.NameRank_…") ranking every distinct `column` value of the
    // book's rows in `table`. Its name comes from the ranked names themselves, so a table once
    // written is never changed: a list still reading an older ranking reads it unchanged.
    static QString of(Database& db, const QString& table, const QString& column,
                      const QString& book);
};

}  // namespace cw
