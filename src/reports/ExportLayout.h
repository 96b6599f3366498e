#pragma once

#include <QString>
#include <vector>

#include "reports/ReportField.h"
#include "reports/Workbook.h"

namespace cw {

// How one screen's result goes into a workbook: the title suffix, whether the title carries
// the date range, the columns after "序号" (field, header, width in characters), what the
// totals row holds and how the page is set up. Every screen with an "Excel" button has its
// entry in all(), whether or not the screen is built yet; SpreadsheetExport fills a Workbook
// from a ReportTable with it.
struct ExportLayout {
    struct Column {
        Field field;
        // Empty: the report column's own title (the plan list names its column after the
        // screen's check box).
        QString header;
        double width = 10;
        bool wrap = false;  // every cell of the column wraps its text
    };

    // One cell of the totals row (column counted from 1, "序号" being column 1).
    struct Total {
        enum class Source {
            RowCount,    // the number of data rows
            Sum,         // the column's total, a number
            SumDisplay,  // the column's total as the screen shows it, "12,345.60"
        };
        int column;
        Source source;
        Field field = Field::ID;
    };

    enum class Margins {
        None,
        AllFour,     // every margin 300/7 points
        BottomOnly,  // the bottom margin 360/7 points
    };
    static constexpr double kAllFourMargin = 300.0 / 7.0;
    static constexpr double kBottomMargin = 360.0 / 7.0;

    QString screen;  // the screen's class name: "TfrmSZ_M"
    QString suffix;  // "-收支月报表"
    bool rangeNote = false;
    std::vector<Column> columns = {};
    double firstWidth = 4;  // the "序号" column
    bool totalsRow = true;  // false: no totals row, borders end at the last data row
    std::vector<Total> totals = {};
    Workbook::Orientation orientation = Workbook::Orientation::Default;
    Margins margins = Margins::None;
    // The short form of the analysis screens: title and rows only, no merge, fonts, widths
    // or borders.
    bool reduced = false;

    // The last column, "序号" included, and its letter (L of the "A1:L1" ranges).
    int lastColumn() const { return int(columns.size()) + 1; }
    QString lastLetter() const { return Workbook::columnLetters(lastColumn()); }

    static const std::vector<ExportLayout>& all();
    // The layout of a screen; throws std::out_of_range for a screen without one.
    static const ExportLayout& forScreen(const QString& screen);
};

}  // namespace cw
