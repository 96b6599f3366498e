#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "import/SheetLimits.h"
#include "import/bills/BillReader.h"
#include "import/statements/StatementProfile.h"

namespace cw {

// Every non-empty row of a statement file, preamble included, with its 1-based line or
// spreadsheet row number for messages.
struct StatementSheet {
    std::vector<QStringList> rows;
    std::vector<int> numbers;
};

// Reads bank and card statements: a .csv in UTF-8 or GBK, an .xls or an .xlsx (the format told
// by the file's bytes, never its name), then the rows under a header row as a profile maps them.
class StatementReader {
  public:
    // Throws SheetError with the user's message for a missing, foreign, damaged or oversized
    // file (text files within limits.billBytes and limits.billLineChars, workbooks within the
    // spreadsheet limits).
    static StatementSheet sheet(const QString& path, const SheetLimits& limits = {});
    // The rows under rows[headerRow] as a Bill of Source::Statement for `account`. A row whose
    // date cell holds no date ends the rows when it is a closing line (合计, 总计, 以下空白…)
    // and is otherwise refused with its row number, as is a row whose money cannot be read
    // (strictly, as the bills' amounts are), so nothing of a damaged statement is booked. Rows
    // with no money are kept (the import shows them as 金额为0). A statement listing the
    // newest row first is read the same; its closing balance is the balance column of the
    // latest row.
    static Bill read(const StatementSheet& sheet, const StatementProfile& profile, size_t headerRow,
                     const QString& account);
};

}  // namespace cw
