#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "import/SheetLimits.h"
#include "import/bills/BillReader.h"
#include "import/statements/StatementProfile.h"
#include "import/statements/StatementReader.h"

namespace cw {

// A statement file as the import opens it: a QIF or OFX file is read whole; a table (.csv,
// .xls, .xlsx) is read as rows and recognised by one of the profiles, or left for the user to
// map when none holds its header.
class StatementFile {
  public:
    enum class Format { Table, Qif, Ofx };
    // Told by the file's first bytes.
    static Format formatOf(const QString& path);

    struct Opened {
        Format format = Format::Table;
        // A QIF or OFX file, or a table a profile recognised: read, its account still to be set.
        std::optional<Bill> bill;
        // A table: its rows, the profile that recognised it (-1 for none) and its header row.
        StatementSheet sheet;
        int profile = -1;
        size_t headerRow = 0;
        // Why the recognised profile could not read the rows (a row it cannot take): the rows
        // are kept, so the user can map the file otherwise.
        QString refusal;
    };
    // Reads the file; `profiles` are tried on a table in order. Throws SheetError.
    static Opened open(const QString& path, const std::vector<StatementProfile>& profiles,
                       const SheetLimits& limits = {});
};

}  // namespace cw
