// A payment app's bill as the user hands it over (a .csv in UTF-8 or GBK, or a package), read
// and planned against an open book as the preview shows it: proposals, refunds matched to
// their purchases, what would be refused.
#include "FuzzFiles.h"
#include "FuzzTargets.h"
#include "import/SheetRows.h"
#include "import/bills/BillReader.h"
#include "support/TempDataFile.h"

namespace cw::fuzz {

int billFile(const std::uint8_t* data, std::size_t size) {
    try {
        preview(BillReader::read(scratchFile(QStringLiteral("bill.csv"), data, size)));
    } catch (const SheetError&) {
    }
    return 0;
}

}  // namespace cw::fuzz
