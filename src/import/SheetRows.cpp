#include "import/SheetRows.h"

namespace cw {

void SheetRows::add(int rowNumber, const QStringList& cells) {
    bool blank = true;
    for (const QString& c : cells) {
        if (!c.trimmed().isEmpty()) {
            blank = false;
            break;
        }
    }
    if (blank) return;
    if (header.isEmpty()) {
        header = cells;
        return;
    }
    rows.push_back(cells);
    rowNumbers.push_back(rowNumber);
}

}  // namespace cw
