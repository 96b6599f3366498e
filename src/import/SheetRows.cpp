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
        header.squeeze();
        return;
    }
    // Kept at its size: a row grown cell by cell carries spare slots, and over a few hundred
    // thousand rows those outweigh the texts (which stay shared, never copied).
    rows.push_back(cells);
    rows.back().squeeze();
    rowNumbers.push_back(rowNumber);
}

}  // namespace cw
