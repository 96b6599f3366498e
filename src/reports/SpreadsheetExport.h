#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <functional>

#include "reports/ExportLayout.h"
#include "reports/ReportTable.h"
#include "reports/Workbook.h"

namespace cw {

// The one export procedure behind every "Excel" button: a ReportTable and the screen's
// ExportLayout make a Workbook (title merged over the columns, 宋体 16 bold; headers; one row
// per report row with its running number; the totals row; borders; page set-up and footer).
//
// The workbook reads its data rows from the table while it is written (see Workbook::Body):
// the table must outlive it. Money shows as 1,234.50, ratios with two decimals, percentages
// as fractions under 0.00%, all of them numbers.
//
// A screen's export is three calls (the screens wrap them in ExcelExport, which also shows
// the progress and opens the file):
//     Workbook wb = SpreadsheetExport::build(ExportLayout::forScreen("TfrmP_In"), table,
//                                            {book, from, to});
//     QString path = SpreadsheetExport::fileFor(programDir, wb.caption(), now);
//     XlsxWriter().write(wb, path);
class SpreadsheetExport {
  public:
    // Called every few hundred rows while the rows are written: rows so far, rows in all.
    using Progress = std::function<void(int done, int total)>;

    struct Title {
        QString book;
        QDate from;  // the screen's two date fields, for layouts with a range note
        QDate to;
    };

    // Throws std::out_of_range when the table lacks a field the layout names.
    static Workbook build(const ExportLayout& layout, const ReportTable& table, const Title& title,
                          const Progress& progress = {});
    // The workbook would outlive a temporary table.
    static Workbook build(const ExportLayout&, ReportTable&&, const Title&,
                          const Progress& = {}) = delete;

    // The number format of a column kind's cells ("" for General), and the value a cell holds.
    static QString numberFormat(ColumnKind kind);
    static QVariant cellValue(const QVariant& value, ColumnKind kind);

    // The footer of every exported page: program, web address, page n of m.
    static QString footer();

    // Where an export lands: <programDir>/Export/<title>_<yyyyMMdd_HHmmss>.xlsx, characters a
    // file name cannot hold replaced by "_", and a number added when that name is taken.
    static QString fileFor(const QString& programDir, const QString& title, const QDateTime& at);
    static QString exportFolder(const QString& programDir);
    // A title as a file name that stays in its folder: no separators, no leading dot.
    static QString safeFileName(const QString& title);
};

}  // namespace cw
