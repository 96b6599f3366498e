#include "import/statements/QifReader.h"

namespace cw {

Bill QifReader::parse(const QByteArray&, const SheetLimits&) {
    return Bill{};
}
Bill QifReader::read(const QString&, const SheetLimits&) {
    return Bill{};
}
bool QifReader::looksLike(const QByteArray&) {
    return false;
}

}  // namespace cw
