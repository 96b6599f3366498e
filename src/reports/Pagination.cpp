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

namespace {

// What a page leaves for rows (and the footer) between its header and its page footer.
double roomMm(const PrintLayout& layout, const BandMetrics& m) {
    const double room = m.pageHeightMm - m.titleMm - m.infoMm - m.headerMm;
    return layout.footers ? room - m.pageFooterMm : room;
}

}  // namespace

int Pagination::rowsPerPage(const PrintLayout& layout, const BandMetrics& m) {
    // A tiny page still takes one row at a time rather than none.
    return std::max(1, int(std::floor(roomMm(layout, m) / m.rowMm + 1e-9)));
}

Pagination Pagination::paginate(const ReportTable& table, const PrintLayout& layout,
                                const BandMetrics& m) {
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
    const int perPage = rowsPerPage(layout, m);
    for (int first = 0; first < p.rowCount; first += perPage) {
        const int count = std::min(perPage, p.rowCount - first);
        p.pages.push_back({first, count, sumRows(first, count), false});
    }
    if (p.pages.empty()) p.pages.push_back({0, 0, sumRows(0, 0), false});
    if (layout.footers) {
        const Page& last = p.pages.back();
        const bool room = roomMm(layout, m) - last.rowCount * m.rowMm + 1e-9 >= m.footerMm;
        if (!room) p.pages.push_back({p.rowCount, 0, sumRows(0, 0), false});
        p.pages.back().footer = true;
    }
    for (size_t k = 0; k < columns.size(); ++k) p.totals.push_back(table.total(columns[k]));
    return p;
}

}  // namespace cw
