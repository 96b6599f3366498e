#pragma once

#include <QString>

#include "import/SheetRows.h"

namespace cw {

// Reads one worksheet of a BIFF .xls file through FreeXL, cells as their displayed text.
class XlsReader {
  public:
    // Throws SheetError when the file is damaged or has no sheet of that name.
    static SheetRows read(const QString& path, const QString& sheetName);
};

}  // namespace cw
