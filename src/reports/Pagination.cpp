#include "reports/Pagination.h"

#include <algorithm>
#include <cmath>

#include "storage/Money.h"

namespace cw {

namespace {

// Heights are sums of millimetres measured on a device; a row that fills a page to the brim
// must not spill over by a rounding error.
constexpr double kSlackMm = 1e-9;

// A row's pieces, none taller than the room: those given, or one of rowMm.
std::vector<double> piecesOf(const std::vector<std::vector<double>>& given, int row, double rowMm,
                             double room) {
    const bool has = size_t(row) < given.size() && !given[size_t(row)].empty();
    std::vector<double> pieces;
    for (double h : has ? given[size_t(row)] : std::vector<double>{rowMm}) {
        for (; room > 0 && h > room + kSlackMm; h -= room) pieces.push_back(room);
        pieces.push_back(h);
    }
    return pieces;
}

}  // namespace

BandMetrics BandMetrics::a4(bool landscape) {
    BandMetrics m;
    m.pageHeightMm = (landscape ? 210.0 : 297.0) - 20.0;
    return m;
}

double Pagination::rowRoomMm(const PrintLayout& layout, const BandMetrics& m) {
    const double room = m.pageHeightMm - m.titleMm - m.infoMm - m.headerMm;
    return layout.footers ? room - m.pageFooterMm : room;
}

int Pagination::rowsPerPage(const PrintLayout& layout, const BandMetrics& m) {
    // A tiny page still takes one row at a time rather than none.
    return std::max(1, int(std::floor(rowRoomMm(layout, m) / m.rowMm + 1e-9)));
}

Pagination Pagination::paginate(const ReportTable& table, const PrintLayout& layout,
                                const BandMetrics& m,
                                const std::vector<std::vector<double>>& rowPiecesMm) {
    std::vector<int> columns;
    std::vector<bool> money;
    for (Field f : layout.summed) {
        columns.push_back(table.requireColumn(f));
        money.push_back(table.column(columns.back()).kind == ColumnKind::Money);
    }
    const auto sumRows = [&](int first, int count) {
        std::vector<double> sums;
        for (size_t k = 0; k < columns.size(); ++k) {
            qint64 units = 0;
            for (int r = first; r < first + count; ++r) {
                const double v = table.value(r, columns[k]).toDouble();
                units += money[k] ? Money::cents(v) : qint64(std::llround(v));
            }
            sums.push_back(money[k] ? double(units) / 100.0 : double(units));
        }
        return sums;
    };

    Pagination p;
    p.rowCount = table.rowCount();
    const double room = rowRoomMm(layout, m);
    double used = 0;  // on the last page
    for (int r = 0; r < p.rowCount; ++r) {
        const std::vector<double> pieces = piecesOf(rowPiecesMm, r, m.rowMm, room);
        // The first row of a page always goes on it, however tall.
        if (p.pages.empty() || used + pieces[0] > room + kSlackMm) {
            p.pages.push_back({r, 0, {}, false});
            used = 0;
        }
        ++p.pages.back().rowCount;
        used += pieces[0];
        for (size_t k = 1; k < pieces.size(); ++k) {
            p.pages.push_back({r + 1, 0, {}, false, r, int(k)});
            used = pieces[k];
        }
    }
    for (Page& page : p.pages) page.sums = sumRows(page.firstRow, page.rowCount);
    if (p.pages.empty()) p.pages.push_back({0, 0, sumRows(0, 0), false});
    if (layout.footers) {
        if (room - used + kSlackMm < m.footerMm)
            p.pages.push_back({p.rowCount, 0, sumRows(0, 0), false});
        p.pages.back().footer = true;
    }
    for (size_t k = 0; k < columns.size(); ++k) p.totals.push_back(table.total(columns[k]));
    return p;
}

}  // namespace cw
