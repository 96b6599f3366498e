#pragma once

#include <QString>
#include <vector>

#include "reports/ReportDefinition.h"

namespace cw {

class Database;

// The sort group "排序条件" of the query screens: one of the screen's sort items and the
// direction. An item the screen does not list sorts by its first item.
struct ReportSort {
    QString item;
    bool descending = false;
};

// A query screen: the report description its window, export, print and CLI share, and what
// only query screens have — the sort group and, for three of them, the records of the clicked
// row in a lower grid.
struct QueryDefinition {
    ReportDefinition report;  // its run sorts by the first sort item, ascending
    QStringList sortItems;    // empty: no sort group (the rows come in one fixed order)
    std::function<ReportOutcome(Database& db, const QString& book, const ReportFilter& filter,
                                const ReportSort& sort)>
        run;
    std::function<ReportTable(Database& db, qint64 id)> detail;  // empty: no lower grid
};

// The query screens over the postings: income and expense (收入查询, 支出查询), transfers,
// debts, credits and investments (转帐查询 … 投资查询, the last three with the records of the
// clicked row below), and the repayment, collection and return records (还债记录查询 …).
//
// Each is one description — its table, its filters with the column each one narrows, its
// columns, its sort items and its totals — run by the same code: a statement with every
// filter value bound, ordered by the chosen item (then by ID, so rows that tie keep their
// order). The screens are ReportScreen configured by definition(); the CLI's query verb runs
// the same definitions.
class QueryReports {
  public:
    // The definitions in menu order; cliName: in out transfer debt credit investment repay
    // collect return.
    static const std::vector<QueryDefinition>& all();
    // nullptr when there is none.
    static const QueryDefinition* byCliName(const QString& name);
    static const QueryDefinition* byScreen(const QString& screen);

    // The status texts: "笔数：" and each total with its label ("合计金额：" …), the totals
    // empty when nothing matched.
    static QString countLabel() { return QStringLiteral("笔数："); }
};

}  // namespace cw
