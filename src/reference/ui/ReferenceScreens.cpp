#include "reference/ui/ReferenceScreens.h"

#include "reference/ui/ManagerScreen.h"
#include "widgets/ScreenHost.h"

namespace cw {

void registerReferenceScreens(ScreenHost& host) {
    for (int k = 0; k < ReferenceList::KindCount; ++k) {
        const auto kind = ReferenceList::Kind(k);
        ScreenHost::Screen screen;
        screen.kind = ScreenHost::Screen::Working;
        // Balances change here (openings, adjustments), so the dashboard follows.
        screen.refreshOnClose = kind == ReferenceList::Accounts;
        screen.make = [kind](ScreenHost& m) -> QWidget* {
            auto* w = new ManagerScreen(m.context(), kind, m.hostWindow());
            w->setDialogRunner([&m](QDialog& d) { return m.runDialog(d); });
            return w;
        };
        host.registerScreen(ManagerScreen::className(kind), screen);
    }
}

}  // namespace cw
