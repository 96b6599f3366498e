#pragma once

#include <QString>

#include "import/SheetLimits.h"
#include "import/SheetRows.h"

namespace cw {

// Reads a worksheet of an .xls or .xlsx file, the format told by the file's first bytes (a
// zip package or a BIFF compound file), never by the extension or its case.
class SpreadsheetReader {
  public:
    static const QString& sheetName();  // "Sheet1"
    // Throws SheetError with the user's message for a missing, foreign or damaged file, or one
    // that goes past the limits.
    static SheetRows read(const QString& path, const QString& sheet = sheetName(),
                          const SheetLimits& limits = {});
};

}  // namespace cw
