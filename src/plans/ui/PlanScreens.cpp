#include "plans/ui/PlanScreens.h"

#include "app/ui/TfrmMain.h"
#include "plans/ui/TfrmPlan_EX.h"
#include "plans/ui/TfrmPlan_New.h"
#include "plans/ui/TfrmPlan_Now.h"
#include "plans/ui/TfrmPlan_V.h"
#include "plans/ui/TfrmUWarn.h"

namespace cw {

namespace {

template <typename Window>
TfrmMain::Screen screen(TfrmMain::Screen::Kind kind, bool checks, bool refreshOnClose) {
    TfrmMain::Screen s;
    s.kind = kind;
    s.checks = checks;
    s.refreshOnClose = refreshOnClose;
    s.make = [](TfrmMain& m) -> QWidget* { return new Window(m.context(), &m); };
    return s;
}

}  // namespace

void registerPlanScreens(TfrmMain& main) {
    using K = TfrmMain::Screen;
    // A new series needs a member and an account to name.
    main.registerScreen(QStringLiteral("TfrmPlan_New"),
                        screen<TfrmPlan_New>(K::Modal, true, false));
    main.registerScreen(QStringLiteral("TfrmPlan_V"), screen<TfrmPlan_V>(K::Working, false, false));
    // Executing moves balances: the dashboard follows when the window closes.
    main.registerScreen(QStringLiteral("TfrmPlan_EX"),
                        screen<TfrmPlan_EX>(K::Working, false, true));
    main.registerScreen(QStringLiteral("TfrmPlan_Now"),
                        screen<TfrmPlan_Now>(K::Modal, false, true));
    TfrmMain::Screen warn = screen<TfrmUWarn>(K::Working, false, false);
    warn.make = [](TfrmMain& m) -> QWidget* {
        auto* w = new TfrmUWarn(m.context(), &m);
        w->setDialogRunner([&m](QDialog& d) { return m.runDialog(d); });
        return w;
    };
    main.registerScreen(QStringLiteral("TfrmUWarn"), warn);
}

}  // namespace cw
