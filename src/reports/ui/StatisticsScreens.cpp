#include "reports/ui/StatisticsScreens.h"

#include "reports/ReportCatalog.h"
#include "widgets/ScreenHost.h"

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

void registerStatisticsScreens(ScreenHost& host) {
    host.registerScreen(QStringLiteral("TfrmPage1"), ScreenHost::working<TfrmPage1>());
    host.registerScreen(QStringLiteral("TfrmPage2"), ScreenHost::working<TfrmPage2>());
    host.registerScreen(QStringLiteral("TfrmE_I"), ScreenHost::working<TfrmE_I>());
    host.registerScreen(QStringLiteral("TfrmE_O"), ScreenHost::working<TfrmE_O>());
    host.registerScreen(QStringLiteral("TfrmA_Q"), ScreenHost::working<TfrmA_Q>());
}

}  // namespace cw
