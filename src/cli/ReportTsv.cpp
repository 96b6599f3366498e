#include "cli/ReportTsv.h"

#include "cli/Tsv.h"
#include "reports/ReportTable.h"

namespace cw::tsv {

void table(QTextStream& out, const ReportTable& t) {
    QStringList fields;
    for (const ReportColumn& c : t.columns()) fields << c.title;
    row(out, fields);
    for (int r = 0; r < t.rowCount(); ++r) {
        fields.clear();
        for (int c = 0; c < t.columnCount(); ++c) fields << t.plainText(r, c);
        row(out, fields);
    }
    if (!t.totalsRow()) return;
    fields = {QStringLiteral("合计")};
    for (int c = 1; c < t.columnCount(); ++c) fields << t.totalPlainText(c);
    row(out, fields);
}

}  // namespace cw::tsv
