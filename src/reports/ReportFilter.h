#pragma once

#include <QDate>
#include <QString>
#include <map>

namespace cw {

// The filters a report or query screen offers. The CLI takes the same ones by their key
// words (from= to= account= member= category= contact= remark= type= by= sort=).
enum class FilterKey {
    Account,
    Member,
    Category,
    Contact,
    Remark,
    AccountType,
    // The fixed choices of the statistics and analysis screens: what to group by, how to sort.
    Dimension,
    Sort,
};

// The filter values of one run: the date range (always given; `datesTicked` says whether the
// screen's date check box was ticked, for the screens where the range only applies then) and
// the ticked name filters with the text chosen.
struct ReportFilter {
    QDate from;
    QDate to;
    bool datesTicked = true;
    std::map<FilterKey, QString> ticked;

    bool has(FilterKey key) const { return ticked.count(key) != 0; }
    QString value(FilterKey key) const {
        const auto it = ticked.find(key);
        return it == ticked.end() ? QString() : it->second;
    }
    void set(FilterKey key, const QString& text) { ticked[key] = text; }

    // The CLI's key word of a filter: "account".
    static QString keyword(FilterKey key);
};

}  // namespace cw
