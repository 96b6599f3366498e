#include "bookkeeping/ui/BookkeepingScreens.h"

#include "bookkeeping/ui/TfrmBorrow.h"
#include "bookkeeping/ui/TfrmChangeT.h"
#include "bookkeeping/ui/TfrmDebt.h"
#include "bookkeeping/ui/TfrmInTable.h"
#include "bookkeeping/ui/TfrmOutTable.h"
#include "bookkeeping/ui/TfrmTZ.h"
#include "widgets/ScreenHost.h"

namespace cw {

// Each opens after the member and account checks; postings move balances, so the dashboard
// follows when the screen closes.
void registerBookkeepingScreens(ScreenHost& host) {
    host.registerScreen(QStringLiteral("TfrmInTable"),
                        ScreenHost::working<TfrmInTable>(true, true));
    host.registerScreen(QStringLiteral("TfrmOutTable"),
                        ScreenHost::working<TfrmOutTable>(true, true));
    host.registerScreen(QStringLiteral("TfrmChangeT"),
                        ScreenHost::working<TfrmChangeT>(true, true));
    host.registerScreen(QStringLiteral("TfrmBorrow"), ScreenHost::working<TfrmBorrow>(true, true));
    host.registerScreen(QStringLiteral("TfrmDebt"), ScreenHost::working<TfrmDebt>(true, true));
    host.registerScreen(QStringLiteral("TfrmTZ"), ScreenHost::working<TfrmTZ>(true, true));
}

}  // namespace cw
