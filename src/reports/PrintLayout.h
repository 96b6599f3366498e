#pragma once

#include <QString>
#include <vector>

#include "reports/ReportField.h"
#include "reports/ReportTable.h"

namespace cw {

// A printed report: its title, the columns after "序号" (header → field, width in mm), the
// fields it sums and the page's orientation. The bands are the same for every layout: page
// header (title, "页数 n", print date and time, column headers), one data row per report
// row, the footer "合计 n" with the sums of the whole report, and the page footer "本页合计 n"
// with that page's sums and the web address. The first column prints the row's ID.
//
// The ten screens with "打印" have their layouts in all(); a screen without one can print its
// table as it stands with fromTable(). ReportPainter (reports/render) paints them.
struct PrintLayout {
    struct Column {
        Field field;
        QString header;  // may be empty (the ratio of the monthly report has no header)
        double widthMm;
        // Long text wraps inside the column and its row grows (remarks and notes); otherwise
        // text is cut to the column's width. Dates and numbers are never cut: their column
        // widens into the page's spare width or a wrapping column's, and past that their
        // font shrinks.
        bool wrap = false;
    };

    static constexpr double kIdWidthMm = 8;

    QString name;              // "Print/theSZ_M.rf3"
    QString title;             // "收支月统计表", or the words after the book's name
    bool bookInTitle = false;  // the title is the book's name followed by `title`
    bool landscape = true;     // A4 landscape, else portrait
    std::vector<Column> columns = {};
    std::vector<Field> summed = {};  // in the footers, under their columns
    bool footers = true;             // false: no footer and no page footer (the notes)

    QString titleFor(const QString& book) const { return bookInTitle ? book + title : title; }

    static const std::vector<PrintLayout>& all();
    // Throws std::out_of_range for a name without a layout.
    static const PrintLayout& named(const QString& name);
    // The table's own columns, titles and widths; its summed columns summed.
    static PrintLayout fromTable(const ReportTable& table, const QString& title, bool landscape);
};

}  // namespace cw
