#pragma once

#include <QString>

#include "import/SheetLimits.h"
#include "import/SheetRows.h"

struct zip;

namespace cw {

// Reads one worksheet of an .xlsx package (libzip + QXmlStreamReader). The sheet is found by
// its name through the workbook's relationships; its XML is streamed from the package, never
// unpacked whole, and each shared string is held once however many cells repeat it.
class XlsxReader {
  public:
    // An empty name reads the workbook's first sheet. Throws SheetError when the package is
    // damaged, has no sheet of that name, is an OpenDocument spreadsheet, or goes past a limit.
    static SheetRows read(const QString& path, const QString& sheetName,
                          const SheetLimits& limits = {});

    // Whether a package is an OpenDocument file (.ods and its kin), which this reader does not
    // read; the message that says so, naming the formats the caller does read.
    static bool isOpenDocument(const QString& path);
    static bool isOpenDocument(struct zip* archive);
    static QString openDocumentRefused(const QString& supported);
    // 0 → "A", 26 → "AA": a column as the spreadsheet program names it.
    static QString columnName(int column);

    // The displayed text of a number cell: a date or time format shows the serial as
    // yyyy-mm-dd (with " hh:mm:ss" when it has a time of day), any other the number itself.
    static QString numberText(double value, bool dateFormat, bool date1904);
    // Whether a number format code shows dates or times.
    static bool isDateFormat(const QString& code);
};

}  // namespace cw
