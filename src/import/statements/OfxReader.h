#pragma once

#include <QByteArray>
#include <QString>

#include "import/SheetLimits.h"
#include "import/bills/BillReader.h"

namespace cw {

// Reads an OFX statement (the SGML form of version 1 and the XML form of version 2, bank and
// credit-card statements): each STMTTRN into a row of a Bill of Source::Ofx, its FITID as the
// row's number, NAME or PAYEE as counterparty, MEMO as note, the account's ACCTID in `method`,
// and LEDGERBAL as the closing balance.
class OfxReader {
  public:
    static Bill parse(const QByteArray& bytes, const SheetLimits& limits = {});
    static Bill read(const QString& path, const SheetLimits& limits = {});
    static bool looksLike(const QByteArray& head);
};

}  // namespace cw
