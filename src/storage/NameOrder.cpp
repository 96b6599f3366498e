#include "storage/NameOrder.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "storage/PinyinCode.h"

namespace cw {

namespace {

// Between syllables: below every letter and digit, so a syllable that is the start of a longer
// one comes first (xi before xian).
constexpr char16_t kSyllableEnd = u' ';
// Between the spelled key and the name itself.
constexpr char16_t kTieBreak = u'\x01';
// A character without a reading: after every letter.
constexpr char16_t kUnread = u'{';

bool isAsciiAlnum(char32_t c) {
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// One character's initials (as the stored code has them) and its spelling (lower case).
struct Reading {
    QString initials;
    QString spelled;
};

// Names repeat the same few thousand characters; a sort keys every row of a long list, so each
// character is converted once per thread.
const Reading& readingOf(char32_t c) {
    // A node map: the references handed out stay valid while more characters are added.
    thread_local std::unordered_map<char32_t, Reading> known;
    auto it = known.find(c);
    if (it == known.end()) {
        const QString one = QString::fromUcs4(&c, 1);
        it = known
                 .emplace(
                     c, Reading{PinyinCode::convert(one, PinyinCode::UnknownAsQuestion, 16),
                                PinyinCode::convert(one, PinyinCode::WholeSyllable, 16).toLower()})
                 .first;
    }
    return it->second;
}

// One character of a name as the key sees it.
struct Letter {
    char32_t c;
    const Reading* reading;  // nullptr for ASCII
};

}  // namespace

QString NameOrder::key(const QString& name, const QString& code) {
    // The table's code of the name, built from the same readings; the stored code counts only
    // when it is that code with letters changed.
    std::vector<Letter> letters;
    letters.reserve(size_t(name.size()));
    QString table;
    for (const char32_t c : name.toUcs4()) {
        if (c < 0x80) {
            if (!isAsciiAlnum(c)) continue;
            letters.push_back({c, nullptr});
            table.append(QChar(char16_t(c)).toUpper());
            continue;
        }
        const Reading& r = readingOf(c);
        letters.push_back({c, &r});
        table.append(r.initials);
    }
    const QString stored = code.toUpper();
    const bool corrected = stored.size() == table.size() && stored != table;

    QString out;
    out.reserve(name.size() * 4 + 1);
    qsizetype pos = 0;  // where this character's initials start in the code
    for (const Letter& l : letters) {
        if (!l.reading) {
            out.append(QChar(char16_t(l.c)).toLower());
            ++pos;
            continue;
        }
        const auto& [initials, spelled] = *l.reading;
        if (initials == QLatin1String("?")) {
            out.append(kUnread).append(kSyllableEnd);
        } else if (QChar::script(l.c) == QChar::Script_Han && initials.size() == 1 &&
                   !spelled.isEmpty()) {
            const QChar mine = corrected ? stored.at(pos) : initials.at(0);
            // A polyphone the code corrected sorts under the code's initial.
            if (mine != initials.at(0) && mine.isLetter()) {
                out.append(mine.toLower());
            } else {
                out.append(spelled);
            }
            out.append(kSyllableEnd);
        } else {
            out.append(spelled);  // full-width letters, numbered signs, Greek: their letters
        }
        pos += initials.size();
    }
    return out + kTieBreak + name;
}

bool NameOrder::less(const QString& a, const QString& b) {
    return key(a) < key(b);
}

void NameOrder::sort(QStringList& names) {
    std::vector<std::pair<QString, QString>> keyed;
    keyed.reserve(names.size());
    for (const QString& n : names) keyed.emplace_back(key(n), n);
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& x, const auto& y) { return x.first < y.first; });
    for (qsizetype i = 0; i < names.size(); ++i) names[i] = keyed[size_t(i)].second;
}

QString NameOrder::sqlKey(const QString& nameColumn, const QString& codeColumn) {
    return codeColumn.isEmpty() ? QStringLiteral("NameKey(%1)").arg(nameColumn)
                                : QStringLiteral("NameKey(%1, %2)").arg(nameColumn, codeColumn);
}

}  // namespace cw
