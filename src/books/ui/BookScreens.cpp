#include "books/ui/BookScreens.h"

#include "app/ui/TfrmMain.h"
#include "books/ui/TfrmB_Manage.h"
#include "books/ui/TfrmBackup.h"
#include "books/ui/TfrmMRX.h"
#include "books/ui/TfrmRecover.h"
#include "books/ui/TfrmSZ_PX.h"
#include "books/ui/TfrmSound.h"

namespace cw {

void registerBookScreens(TfrmMain& main) {
    main.registerScreen(QStringLiteral("TfrmB_Manage"), TfrmMain::working<TfrmB_Manage>());
    main.registerScreen(QStringLiteral("TfrmBackup"), TfrmMain::modal<TfrmBackup>());
    main.registerScreen(QStringLiteral("TfrmRecover"), TfrmMain::modal<TfrmRecover>());
    main.registerScreen(QStringLiteral("TfrmSZ_PX"), TfrmMain::modal<TfrmSZ_PX>());
    main.registerScreen(QStringLiteral("TfrmMRX"), TfrmMain::modal<TfrmMRX>());
    main.registerScreen(QStringLiteral("TfrmSound"), TfrmMain::modal<TfrmSound>());
}

}  // namespace cw
