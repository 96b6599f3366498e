#include "books/ui/BookScreens.h"

#include "books/ui/TfrmB_Manage.h"
#include "books/ui/TfrmBackup.h"
#include "books/ui/TfrmMRX.h"
#include "books/ui/TfrmRecover.h"
#include "books/ui/TfrmSZ_PX.h"
#include "books/ui/TfrmSound.h"
#include "widgets/ScreenHost.h"

namespace cw {

void registerBookScreens(ScreenHost& host) {
    host.registerScreen(QStringLiteral("TfrmB_Manage"), ScreenHost::working<TfrmB_Manage>());
    host.registerScreen(QStringLiteral("TfrmBackup"), ScreenHost::modal<TfrmBackup>());
    host.registerScreen(QStringLiteral("TfrmRecover"), ScreenHost::modal<TfrmRecover>());
    host.registerScreen(QStringLiteral("TfrmSZ_PX"), ScreenHost::modal<TfrmSZ_PX>());
    host.registerScreen(QStringLiteral("TfrmMRX"), ScreenHost::modal<TfrmMRX>());
    host.registerScreen(QStringLiteral("TfrmSound"), ScreenHost::modal<TfrmSound>());
}

}  // namespace cw
