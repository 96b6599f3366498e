#pragma once

#include <QTextStream>

namespace cw {

class ReportTable;

namespace tsv {

// A report as every report verb prints it: a header row of the screen's column titles, one
// row per report row (amounts plain, rounded to the cent), and, where the screen shows
// totals, a last row starting with 合计 and the totals under their columns.
void table(QTextStream& out, const ReportTable& table);

}  // namespace tsv
}  // namespace cw
