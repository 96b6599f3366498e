// A QIF or OFX file another ledger or a bank wrote, read and planned against an open book as
// the preview shows it, into the account the user would pick for it.
#include "FuzzFiles.h"
#include "FuzzTargets.h"
#include "import/SheetRows.h"
#include "import/statements/OfxReader.h"
#include "import/statements/QifReader.h"
#include "support/TempDataFile.h"

namespace cw::fuzz {

namespace {

QByteArray bytesOf(const std::uint8_t* data, std::size_t size) {
    return QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
}

}  // namespace

int qifFile(const std::uint8_t* data, std::size_t size) {
    try {
        const QByteArray bytes = bytesOf(data, size);
        (void)QifReader::looksLike(bytes.left(4096));
        preview(QifReader::parse(bytes));
    } catch (const SheetError&) {
    }
    return 0;
}

int ofxFile(const std::uint8_t* data, std::size_t size) {
    try {
        const QByteArray bytes = bytesOf(data, size);
        (void)OfxReader::looksLike(bytes.left(4096));
        preview(OfxReader::parse(bytes));
    } catch (const SheetError&) {
    }
    return 0;
}

}  // namespace cw::fuzz
