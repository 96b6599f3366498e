#include "plans/ui/PlanScreens.h"

#include "app/ui/TfrmMain.h"
#include "plans/ui/TfrmPlan_EX.h"
#include "plans/ui/TfrmPlan_New.h"
#include "plans/ui/TfrmPlan_Now.h"
#include "plans/ui/TfrmPlan_V.h"
#include "plans/ui/TfrmUWarn.h"

namespace cw {

void registerPlanScreens(TfrmMain& main) {
    // A new series needs a member and an account to name.
    main.registerScreen(QStringLiteral("TfrmPlan_New"), TfrmMain::modal<TfrmPlan_New>(true));
    main.registerScreen(QStringLiteral("TfrmPlan_V"), TfrmMain::working<TfrmPlan_V>());
    // Executing moves balances: the dashboard follows when the window closes.
    main.registerScreen(QStringLiteral("TfrmPlan_EX"), TfrmMain::working<TfrmPlan_EX>(false, true));
    main.registerScreen(QStringLiteral("TfrmPlan_Now"), TfrmMain::modal<TfrmPlan_Now>(false, true));
    main.registerScreen(QStringLiteral("TfrmUWarn"), TfrmMain::working<TfrmUWarn>());
}

}  // namespace cw
