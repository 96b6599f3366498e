#include "reports/ui/ReportScreens.h"

#include "reports/MonthCategoryReport.h"
#include "reports/ui/ExcelExport.h"
#include "reports/ui/StatisticsScreens.h"
#include "reports/ui/TfrmSZ_M.h"
#include "reports/ui/TfrmSZ_Y.h"
#include "storage/DbError.h"
#include "widgets/ScreenHost.h"

namespace cw {

namespace {

// A menu entry that opens no window: the working window closes, the workbook is written.
ScreenHost::Screen monthCategory(const QString& screen) {
    ScreenHost::Screen s;
    s.kind = ScreenHost::Screen::Modal;
    s.make = [screen](ScreenHost& m) -> QWidget* {
        mySumReport(m.context(), screen);
        return nullptr;
    };
    return s;
}

}  // namespace

void mySumReport(AppContext& ctx, const QString& menuScreen) {
    const MonthCategoryReport::Spec& spec = MonthCategoryReport::forScreen(menuScreen);
    Workbook workbook;
    try {
        workbook = MonthCategoryReport::build(ctx.db, ctx.state.myBName, spec);
    } catch (const DbError& e) {
        ctx.messages.warn(e.message());
        return;
    }
    ExcelExport::save(ctx, workbook);
}

void registerReportScreens(ScreenHost& host) {
    host.registerScreen(QStringLiteral("TfrmSZ_M"), ScreenHost::working<TfrmSZ_M>());
    host.registerScreen(QStringLiteral("TfrmSZ_Y"), ScreenHost::working<TfrmSZ_Y>());
    registerStatisticsScreens(host);
    for (const MonthCategoryReport::Spec& spec : MonthCategoryReport::all()) {
        host.registerScreen(spec.screen, monthCategory(spec.screen));
    }
}

}  // namespace cw
