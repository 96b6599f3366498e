#pragma once

#include <vector>

#include "reports/PrintLayout.h"
#include "reports/ReportTable.h"

namespace cw {

// The heights of a printed report's bands, in millimetres, and the height the page leaves
// for them inside its margins.
struct BandMetrics {
    double pageHeightMm = 277;  // A4 portrait, 10 mm margins
    double titleMm = 9;
    double infoMm = 6;    // "页数 n" and the print date and time
    double headerMm = 7;  // the column headers
    double rowMm = 6;
    double footerMm = 7;      // "合计 n", once after the last row
    double pageFooterMm = 7;  // "本页合计 n", at the foot of every page

    // A4 with 10 mm margins, either way round.
    static BandMetrics a4(bool landscape);
};

// Which rows go on which page, with each page's count and sums and the report's totals, so
// the painter only draws what this says. The sums follow PrintLayout::summed.
struct Pagination {
    struct Page {
        int firstRow = 0;          // the first row that begins on this page
        int rowCount = 0;          // rows that begin on this page
        std::vector<double> sums;  // of the rows that begin on this page
        bool footer = false;       // the report's footer follows this page's rows
        // A row begun on an earlier page goes on at the top of this one, before firstRow:
        // the row and which of its pieces; -1 when the page starts with a row of its own.
        int continuedRow = -1;
        int continuedPiece = 0;
    };

    std::vector<Page> pages;
    int rowCount = 0;
    std::vector<double> totals;  // of every row

    // Every page has the page header and, when the layout has footers, the page footer; the
    // rows fill what is left. The footer goes under the last row, on a page of its own when
    // the last page has no room for it. An empty report is one page with no rows.
    //
    // rowPiecesMm gives each row's height where rows differ (wrapped text); empty, every row
    // is metrics.rowMm high. A row that fits a page is never cut: when the page is full it
    // goes whole onto the next. A row taller than a page comes in pieces (the painter cuts it
    // between lines of text; a piece taller than rowRoomMm() is cut at the page's room): its
    // first piece starts where a row would, each further piece tops the next page, and rows
    // after it follow its last piece. A row is counted and summed once, on the page where it
    // begins.
    static Pagination paginate(const ReportTable& table, const PrintLayout& layout,
                               const BandMetrics& metrics,
                               const std::vector<std::vector<double>>& rowPiecesMm = {});
    // Rows of metrics.rowMm that fit on one page between the header and the page footer.
    static int rowsPerPage(const PrintLayout& layout, const BandMetrics& metrics);
    // The height a page leaves for rows between its header and its page footer.
    static double rowRoomMm(const PrintLayout& layout, const BandMetrics& metrics);
};

}  // namespace cw
