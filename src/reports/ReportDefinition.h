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
class Workbook;

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
        // The drop-down also takes typed text, at most maxLength characters (0: no limit); a
        // change of its text ticks the box.
        bool editable = false;
        int maxLength = 0;
    };

    // A drop-down of fixed items (统计的项, 排序). Nothing can be typed into it, so no other
    // text ever reaches a run. Its check box can only be unticked when `optional`; a choice
    // that always applies shows a ticked, disabled box.
    struct Choice {
        FilterKey key;
        QString label;
        QStringList items;
        QString initial;
        bool optional = false;
    };

    QString cliName = {};  // "monthly"
    QString screen = {};   // the screen's class name: "TfrmSZ_M"
    QString caption = {};  // "收支月报表"
    QString datesLabel = QStringLiteral("统计日期");
    // The two dates a screen opens with, from today.
    std::function<std::pair<QDate, QDate>(const QDate& today)> defaultDates = {};
    // Changing a date ticks the date check box.
    bool datesTickOnChange = true;
    std::vector<FilterField> filters = {};  // the name filters, in screen order
    std::vector<Choice> choices = {};       // after the name filters
    bool hasDates = true;                   // false: no date line at all (the account query)
    bool datesInitiallyTicked = true;
    QString runCaption = QStringLiteral("统计");
    // The run itself, on the open book.
    std::function<ReportOutcome(Database& db, const QString& book, const ReportFilter& filter)>
        run = {};
    // The texts of the status line under the grid.
    std::function<QStringList(const ReportTable& table)> statusTexts = {};
    QString printLayout = {};  // "Print/theSZ_M.rf3"; empty when the screen has no 打印

    // Two-sided tables (收入 | 支出, 债务 | 债权): the run tags each row with its side in
    // Field::Side, the screen shows one grid per side, each from sideTable(all, index), with
    // the status texts of sideStatus under it.
    QStringList sides = {};
    std::function<ReportTable(const ReportTable& all, int side)> sideTable = {};
    std::function<QStringList(const ReportTable& side)> sideStatus = {};
    // Charts (bar, line, pie) of the table's Item and Amount beside the grid, under this title.
    QString chartTitle = {};
    // A workbook of the screen's own block layout instead of ExportLayout::forScreen(screen).
    std::function<Workbook(Database& db, const QString& book, const ReportFilter& filter,
                           const ReportTable& table)>
        workbook = {};
};

}  // namespace cw
