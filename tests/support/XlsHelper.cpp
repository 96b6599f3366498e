// The test executables are built outside the program folder, where the .xls reader looks for
// its helper: they use the helper this build made.
#include "import/XlsReader.h"

namespace {

const bool helperSet = [] {
    cw::XlsReader::setHelper(QStringLiteral(COINWICK_XLS_HELPER));
    return true;
}();

}  // namespace
