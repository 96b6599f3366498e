#include "bookkeeping/ui/BookkeepingScreens.h"

#include "app/ui/TfrmMain.h"
#include "bookkeeping/ui/TfrmBorrow.h"
#include "bookkeeping/ui/TfrmChangeT.h"
#include "bookkeeping/ui/TfrmDebt.h"
#include "bookkeeping/ui/TfrmInTable.h"
#include "bookkeeping/ui/TfrmOutTable.h"
#include "bookkeeping/ui/TfrmTZ.h"

namespace cw {

// Each opens after the member and account checks; postings move balances, so the dashboard
// follows when the screen closes.
void registerBookkeepingScreens(TfrmMain& main) {
    main.registerScreen(QStringLiteral("TfrmInTable"), TfrmMain::working<TfrmInTable>(true, true));
    main.registerScreen(QStringLiteral("TfrmOutTable"),
                        TfrmMain::working<TfrmOutTable>(true, true));
    main.registerScreen(QStringLiteral("TfrmChangeT"), TfrmMain::working<TfrmChangeT>(true, true));
    main.registerScreen(QStringLiteral("TfrmBorrow"), TfrmMain::working<TfrmBorrow>(true, true));
    main.registerScreen(QStringLiteral("TfrmDebt"), TfrmMain::working<TfrmDebt>(true, true));
    main.registerScreen(QStringLiteral("TfrmTZ"), TfrmMain::working<TfrmTZ>(true, true));
}

}  // namespace cw
