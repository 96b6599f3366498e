#include "reports/ui/StatisticsScreens.h"

#include "app/ui/TfrmMain.h"
#include "reports/ReportCatalog.h"

namespace cw {

namespace {

const ReportDefinition& def(const char* screen) {
    return *ReportCatalog::byScreen(QString::fromLatin1(screen));
}

}  // namespace

TfrmPage1::TfrmPage1(AppContext& ctx, QWidget* parent)
    : ReportScreen(ctx, def("TfrmPage1"), parent) {}
TfrmPage2::TfrmPage2(AppContext& ctx, QWidget* parent)
    : ReportScreen(ctx, def("TfrmPage2"), parent) {}
TfrmE_I::TfrmE_I(AppContext& ctx, QWidget* parent) : ReportScreen(ctx, def("TfrmE_I"), parent) {}
TfrmE_O::TfrmE_O(AppContext& ctx, QWidget* parent) : ReportScreen(ctx, def("TfrmE_O"), parent) {}
TfrmA_Q::TfrmA_Q(AppContext& ctx, QWidget* parent) : ReportScreen(ctx, def("TfrmA_Q"), parent) {}

void registerStatisticsScreens(TfrmMain& main) {
    main.registerScreen(QStringLiteral("TfrmPage1"), TfrmMain::working<TfrmPage1>());
    main.registerScreen(QStringLiteral("TfrmPage2"), TfrmMain::working<TfrmPage2>());
    main.registerScreen(QStringLiteral("TfrmE_I"), TfrmMain::working<TfrmE_I>());
    main.registerScreen(QStringLiteral("TfrmE_O"), TfrmMain::working<TfrmE_O>());
    main.registerScreen(QStringLiteral("TfrmA_Q"), TfrmMain::working<TfrmA_Q>());
}

}  // namespace cw
