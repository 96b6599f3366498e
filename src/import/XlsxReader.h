#pragma once

#include <QString>

#include "import/SheetRows.h"

namespace cw {

// Reads one worksheet of an .xlsx package (libzip + QXmlStreamReader). The sheet is found by
// its name through the workbook's relationships; its XML is streamed from the package, never
// unpacked whole, and each shared string is held once however many cells repeat it.
class XlsxReader {
  public:
    // An empty name reads the workbook's first sheet. Throws SheetError when the package is
    // damaged or has no sheet of that name.
    static SheetRows read(const QString& path, const QString& sheetName);

    // The displayed text of a number cell: a date or time format shows the serial as
    // yyyy-mm-dd (with " hh:mm:ss" when it has a time of day), any other the number itself.
    static QString numberText(double value, bool dateFormat, bool date1904);
    // Whether a number format code shows dates or times.
    static bool isDateFormat(const QString& code);
};

}  // namespace cw
