#include "reports/ui/QueryScreens.h"

#include "app/ui/TfrmMain.h"
#include "reports/ui/QueryScreen.h"
#include "reports/ui/TfrmPage3.h"

namespace cw {

void registerQueryScreens(TfrmMain& main) {
    main.registerScreen(QStringLiteral("TfrmP_In"), TfrmMain::working<TfrmP_In>());
    main.registerScreen(QStringLiteral("TfrmP_Out"), TfrmMain::working<TfrmP_Out>());
    main.registerScreen(QStringLiteral("TfrmP_A"), TfrmMain::working<TfrmP_A>());
    main.registerScreen(QStringLiteral("TfrmP_B"), TfrmMain::working<TfrmP_B>());
    main.registerScreen(QStringLiteral("TfrmP_D"), TfrmMain::working<TfrmP_D>());
    main.registerScreen(QStringLiteral("TfrmTZ_Qu"), TfrmMain::working<TfrmTZ_Qu>());
    main.registerScreen(QStringLiteral("TfrmBR_Q"), TfrmMain::working<TfrmBR_Q>());
    main.registerScreen(QStringLiteral("TfrmDR_Q"), TfrmMain::working<TfrmDR_Q>());
    main.registerScreen(QStringLiteral("TfrmTR_Q"), TfrmMain::working<TfrmTR_Q>());
    main.registerScreen(QStringLiteral("TfrmPage3"), TfrmMain::working<TfrmPage3>());
}

}  // namespace cw
