#include "import/statements/StatementReader.h"

namespace cw {

StatementSheet StatementReader::sheet(const QString&, const SheetLimits&) {
    return {};
}
Bill StatementReader::read(const StatementSheet&, const StatementProfile&, size_t,
                           const QString& account) {
    Bill bill;
    bill.source = Bill::Source::Statement;
    bill.account = account;
    return bill;
}

}  // namespace cw
