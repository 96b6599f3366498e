#include "reports/Pagination.h"

#include <algorithm>
#include <cmath>

#include "storage/Money.h"

namespace cw {

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
                                const BandMetrics& m, const std::vector<double>& rowHeightsMm) {
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
    const auto heightOf = [&](int row) {
        const double h = size_t(row) < rowHeightsMm.size() ? rowHeightsMm[size_t(row)] : m.rowMm;
        return std::min(h, room);
    };
    double used = 0;  // on the last page
    for (int r = 0; r < p.rowCount; ++r) {
        const double h = heightOf(r);
        // The first row of a page always goes on it, however tall.
        if (p.pages.empty() || used + h > room + 1e-9) {
            p.pages.push_back({r, 0, {}, false});
            used = 0;
        }
        ++p.pages.back().rowCount;
        used += h;
    }
    for (Page& page : p.pages) page.sums = sumRows(page.firstRow, page.rowCount);
    if (p.pages.empty()) p.pages.push_back({0, 0, sumRows(0, 0), false});
    if (layout.footers) {
        if (room - used + 1e-9 < m.footerMm)
            p.pages.push_back({p.rowCount, 0, sumRows(0, 0), false});
        p.pages.back().footer = true;
    }
    for (size_t k = 0; k < columns.size(); ++k) p.totals.push_back(table.total(columns[k]));
    return p;
}

}  // namespace cw
