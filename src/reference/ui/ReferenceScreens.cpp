#include "reference/ui/ReferenceScreens.h"

#include "app/ui/TfrmMain.h"
#include "reference/ui/ManagerScreen.h"

namespace cw {

void registerReferenceScreens(TfrmMain& main) {
    for (int k = 0; k < ReferenceList::KindCount; ++k) {
        const auto kind = ReferenceList::Kind(k);
        TfrmMain::Screen screen;
        screen.kind = TfrmMain::Screen::Working;
        // Balances change here (openings, adjustments), so the dashboard follows.
        screen.refreshOnClose = kind == ReferenceList::Accounts;
        screen.make = [kind](TfrmMain& m) -> QWidget* {
            auto* w = new ManagerScreen(m.context(), kind, &m);
            w->setDialogRunner([&m](QDialog& d) { return m.runDialog(d); });
            return w;
        };
        main.registerScreen(ManagerScreen::className(kind), screen);
    }
}

}  // namespace cw
