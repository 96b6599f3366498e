#include "plans/ui/PlanScreens.h"

#include "plans/ui/TfrmPlan_EX.h"
#include "plans/ui/TfrmPlan_New.h"
#include "plans/ui/TfrmPlan_Now.h"
#include "plans/ui/TfrmPlan_V.h"
#include "plans/ui/TfrmUWarn.h"
#include "widgets/ScreenHost.h"

namespace cw {

void registerPlanScreens(ScreenHost& host) {
    // A new series needs a member and an account to name.
    host.registerScreen(QStringLiteral("TfrmPlan_New"), ScreenHost::modal<TfrmPlan_New>(true));
    host.registerScreen(QStringLiteral("TfrmPlan_V"), ScreenHost::working<TfrmPlan_V>());
    // Executing moves balances: the dashboard follows when the window closes.
    host.registerScreen(QStringLiteral("TfrmPlan_EX"),
                        ScreenHost::working<TfrmPlan_EX>(false, true));
    host.registerScreen(QStringLiteral("TfrmPlan_Now"),
                        ScreenHost::modal<TfrmPlan_Now>(false, true));
    host.registerScreen(QStringLiteral("TfrmUWarn"), ScreenHost::working<TfrmUWarn>());
}

}  // namespace cw
