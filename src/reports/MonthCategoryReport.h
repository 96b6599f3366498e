#pragma once

#include <QString>
#include <functional>
#include <vector>

#include "reports/Workbook.h"

namespace cw {

class Database;

// The month-by-category workbooks of the menus 收入月报表 and 支出月报表: one row per month
// that has a posting in the book, one column per category (or account, or member), a totals
// column and a totals row. One grouped statement reads every cell at once.
class MonthCategoryReport {
  public:
    struct Spec {
        QString screen;   // the menu's screen name: "InMonthByCategory"
        QString cliName;  // the CLI's report name: "income-by-category"
        QString title;    // "收入月报表-按收入类别"
        QString table;    // "InTable"
        QString dateColumn;
        QString amountColumn;
        QString groupColumn;
    };

    using Progress = std::function<void(int done, int total)>;

    // The six menu entries.
    static const std::vector<Spec>& all();
    // Throws std::out_of_range for a name that is not one of them.
    static const Spec& forScreen(const QString& screen);

    // The workbook titled book + "-" + title.
    static Workbook build(Database& db, const QString& book, const Spec& spec,
                          const Progress& progress = {});

    // The last column of the title, fonts and borders for c categories: H while the data end
    // before it, else the totals column.
    static QString lastLetter(int categories);
};

}  // namespace cw
