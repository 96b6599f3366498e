#include "reports/ui/QueryScreens.h"

#include "reports/ui/QueryScreen.h"
#include "reports/ui/TfrmPage3.h"
#include "widgets/ScreenHost.h"

namespace cw {

void registerQueryScreens(ScreenHost& host) {
    host.registerScreen(QStringLiteral("TfrmP_In"), ScreenHost::working<TfrmP_In>());
    host.registerScreen(QStringLiteral("TfrmP_Out"), ScreenHost::working<TfrmP_Out>());
    host.registerScreen(QStringLiteral("TfrmP_A"), ScreenHost::working<TfrmP_A>());
    host.registerScreen(QStringLiteral("TfrmP_B"), ScreenHost::working<TfrmP_B>());
    host.registerScreen(QStringLiteral("TfrmP_D"), ScreenHost::working<TfrmP_D>());
    host.registerScreen(QStringLiteral("TfrmTZ_Qu"), ScreenHost::working<TfrmTZ_Qu>());
    host.registerScreen(QStringLiteral("TfrmBR_Q"), ScreenHost::working<TfrmBR_Q>());
    host.registerScreen(QStringLiteral("TfrmDR_Q"), ScreenHost::working<TfrmDR_Q>());
    host.registerScreen(QStringLiteral("TfrmTR_Q"), ScreenHost::working<TfrmTR_Q>());
    host.registerScreen(QStringLiteral("TfrmPage3"), ScreenHost::working<TfrmPage3>());
}

}  // namespace cw
