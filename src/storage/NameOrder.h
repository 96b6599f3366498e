#pragma once

#include <QString>
#include <QStringList>

namespace cw {

// The order of names wherever a list, drop-down or report sorts by name: pinyin order, as a
// Chinese reader looks a name up (补助津贴 bu, 经营所得 jing, 赡养费 shan, 网银 wang), not the
// order of the characters' code points.
//
// A name's sort key spells each Chinese character as its toneless syllable from the program's
// own pinyin table, so the order is the same on every machine whatever collation data the
// system carries. Syllables compare one by one (西安 xi·an before 先 xian). Latin letters sit
// among the syllables by their letter, case aside (ATM取款 under A), digits before letters;
// signs do not count; characters without a reading come after z. Names that spell alike
// fall back to their characters, so the order is total.
//
// The stored pinyin code decides polyphones: when a name's code was corrected by hand (重庆
// coded CQ), a character whose stored initial differs from the table's reading sorts under
// the stored initial. A code of another length than the table's is a free code, not a
// correction, and is not consulted.
class NameOrder {
  public:
    // The sort key of a name; code: the name's stored pinyin code, empty when none.
    static QString key(const QString& name, const QString& code = QString());
    static bool less(const QString& a, const QString& b);
    static void sort(QStringList& names);

    // The same key inside SQL: NameKey(name) or NameKey(name, code), registered on every
    // connection. For ORDER BY clauses: "NameKey(<nameColumn>, <codeColumn>)" or, without a
    // code column, "NameKey(<nameColumn>)".
    static QString sqlKey(const QString& nameColumn, const QString& codeColumn = QString());
};

}  // namespace cw
