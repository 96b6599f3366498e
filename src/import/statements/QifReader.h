#pragma once

#include <QByteArray>
#include <QString>

#include "import/SheetLimits.h"
#include "import/bills/BillReader.h"

namespace cw {

// Reads the Quicken interchange format other ledgers export (GnuCash, KMyMoney, HomeBank,
// MoneyManager Ex): the bank, cash and card sections' transactions into a Bill of Source::Qif.
// Each split of a transaction is a row of its own; a category "[名称]" names the household's
// other account (transferAccount); `method` is the account a !Account block names, else empty.
// Dates are read in the order the file's dates show (day-month or month-day, two- or four-digit
// years, the ' of older exports); the category text is kept in `type`.
class QifReader {
  public:
    // Throws SheetError naming the line for a transaction whose date or amount cannot be read.
    static Bill parse(const QByteArray& bytes, const SheetLimits& limits = {});
    static Bill read(const QString& path, const SheetLimits& limits = {});
    // Whether the bytes begin as a QIF file does (a "!Type:", "!Account" or "!Option" line).
    static bool looksLike(const QByteArray& head);
};

}  // namespace cw
