#include "reports/ui/TfrmSZ_Y.h"

#include "reports/ReportCatalog.h"

namespace cw {

TfrmSZ_Y::TfrmSZ_Y(AppContext& ctx, QWidget* parent)
    : ReportScreen(ctx, *ReportCatalog::byScreen(QStringLiteral("TfrmSZ_Y")), parent) {}

}  // namespace cw
