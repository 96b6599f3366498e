// A payment app's bill as the user hands it over: a .csv in UTF-8 or GBK, or a package.
#include "FuzzFiles.h"
#include "FuzzTargets.h"
#include "import/SheetRows.h"
#include "import/bills/BillReader.h"

namespace cw::fuzz {

int billFile(const std::uint8_t* data, std::size_t size) {
    try {
        (void)BillReader::read(scratchFile(QStringLiteral("bill.csv"), data, size));
    } catch (const SheetError&) {
    }
    return 0;
}

}  // namespace cw::fuzz
