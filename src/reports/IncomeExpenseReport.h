#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

#include "reports/ReportDefinition.h"
#include "reports/ReportTable.h"

namespace cw {

class Database;

// The monthly and yearly income/expense reports: for every calendar month (year) from the
// first date's to the last date's, inclusive, the income total and count, the expense total
// and count, the balance and expense as a share of income, each period summed whole.
//
// A run reads two grouped statements (income, expense) over the date range and keeps its
// rows in the returned table only: nothing is written to the data file, so no book's lines
// are ever left where another book could read them.
class IncomeExpenseReport {
  public:
    enum class Period { Month, Year };

    static QString reversedDatesMessage() { return QStringLiteral("日期选择错误，请重新选择！"); }

    // The period labels of the range: "2023-12", "2024-01" … or "2023", "2024".
    static QStringList periods(Period period, const QDate& from, const QDate& to);
    static std::vector<ReportColumn> columns(Period period);
    // Refuses a range whose first date is later than its last with reversedDatesMessage().
    // Account and Member in the filter narrow both income and expense.
    static ReportOutcome run(Database& db, const QString& book, Period period,
                             const ReportFilter& filter);

    // The dates the screens open with: the twelve months up to the end of this month, or
    // last year and this year.
    static std::pair<QDate, QDate> defaultDates(Period period, const QDate& today);
    // 数量, 收入合计, 收入笔数, 支出合计, 支出笔数, 结余合计.
    static QStringList statusTexts(const ReportTable& table);

    // The screens' descriptions, for the catalog.
    static ReportDefinition definition(Period period);
};

}  // namespace cw
