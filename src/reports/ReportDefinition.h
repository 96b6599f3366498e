#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>
#include <utility>
#include <vector>

#include "reports/ReportFilter.h"
#include "reports/ReportTable.h"

namespace cw {

class Database;
class TfrmDM;

// What a run gives back: the table, or the screen's message when it refuses the filter
// ("日期选择错误，请重新选择！"), in which case nothing else changes.
struct ReportOutcome {
    ReportTable table;
    QString refusal;
    bool ok() const { return refusal.isEmpty(); }
    static ReportOutcome refused(const QString& message) { return {ReportTable(), message}; }
};

// One report or query screen, described once and used by the screen (ReportScreen), the CLI
// verb (`coinwick-cli report <cliName> from= to= account= … xlsx= pdf=`) and the tests:
// its filters, its run, its status texts, and the names of its spreadsheet layout
// (ExportLayout::forScreen(screen)) and printed layout (PrintLayout::named(printLayout)).
//
// A new report is one entry in ReportCatalog::all() (reports/ReportCatalog.cpp), written with
// designated initialisers; ReportScreen shows it and the CLI runs it without further code.
struct ReportDefinition {
    // A check box and its field. With names the field is a drop-down of them (filled when the
    // screen opens); without, a line to type into.
    struct FilterField {
        FilterKey key;
        QString label;  // the check box: "账户名称"
        std::function<QStringList(TfrmDM& dm)> names = {};
    };

    QString cliName;  // "monthly"
    QString screen;   // the screen's class name: "TfrmSZ_M"
    QString caption;  // "收支月报表"
    QString datesLabel = QStringLiteral("统计日期");
    // The two dates a screen opens with, from today.
    std::function<std::pair<QDate, QDate>(const QDate& today)> defaultDates;
    // Changing a date ticks the date check box.
    bool datesTickOnChange = true;
    std::vector<FilterField> filters;  // the name filters, in screen order
    QString runCaption = QStringLiteral("统计");
    // The run itself, on the open book.
    std::function<ReportOutcome(Database& db, const QString& book, const ReportFilter& filter)> run;
    // The texts of the status line under the grid.
    std::function<QStringList(const ReportTable& table)> statusTexts;
    QString printLayout;  // "Print/theSZ_M.rf3"; empty when the screen has no 打印
};

}  // namespace cw
