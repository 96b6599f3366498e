#include "reports/ui/TfrmSZ_M.h"

#include "reports/ReportCatalog.h"

namespace cw {

TfrmSZ_M::TfrmSZ_M(AppContext& ctx, QWidget* parent)
    : ReportScreen(ctx, *ReportCatalog::byScreen(QStringLiteral("TfrmSZ_M")), parent) {}

}  // namespace cw
