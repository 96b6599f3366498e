#include "reports/ui/ReportScreens.h"

#include "app/ui/TfrmMain.h"
#include "reports/MonthCategoryReport.h"
#include "reports/ui/ExcelExport.h"
#include "reports/ui/StatisticsScreens.h"
#include "reports/ui/TfrmSZ_M.h"
#include "reports/ui/TfrmSZ_Y.h"
#include "storage/DbError.h"

namespace cw {

namespace {

// A menu entry that opens no window: the working window closes, the workbook is written.
TfrmMain::Screen monthCategory(const QString& screen) {
    TfrmMain::Screen s;
    s.kind = TfrmMain::Screen::Modal;
    s.make = [screen](TfrmMain& m) -> QWidget* {
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

void registerReportScreens(TfrmMain& main) {
    main.registerScreen(QStringLiteral("TfrmSZ_M"), TfrmMain::working<TfrmSZ_M>());
    main.registerScreen(QStringLiteral("TfrmSZ_Y"), TfrmMain::working<TfrmSZ_Y>());
    registerStatisticsScreens(main);
    for (const MonthCategoryReport::Spec& spec : MonthCategoryReport::all()) {
        main.registerScreen(spec.screen, monthCategory(spec.screen));
    }
}

}  // namespace cw
