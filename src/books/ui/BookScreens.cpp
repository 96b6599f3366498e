#include "books/ui/BookScreens.h"

#include "app/ui/TfrmMain.h"
#include "books/ui/TfrmB_Manage.h"
#include "books/ui/TfrmBackup.h"
#include "books/ui/TfrmMRX.h"
#include "books/ui/TfrmRecover.h"
#include "books/ui/TfrmSZ_PX.h"
#include "books/ui/TfrmSound.h"

namespace cw {

namespace {

template <typename Window>
TfrmMain::Screen dialog() {
    TfrmMain::Screen s;
    s.kind = TfrmMain::Screen::Modal;
    s.make = [](TfrmMain& m) -> QWidget* { return new Window(m.context(), &m); };
    return s;
}

}  // namespace

void registerBookScreens(TfrmMain& main) {
    TfrmMain::Screen manager;
    manager.kind = TfrmMain::Screen::Working;
    manager.make = [](TfrmMain& m) -> QWidget* {
        auto* w = new TfrmB_Manage(m.context(), &m);
        w->setDialogRunner([&m](QDialog& d) { return m.runDialog(d); });
        return w;
    };
    main.registerScreen(QStringLiteral("TfrmB_Manage"), manager);
    main.registerScreen(QStringLiteral("TfrmBackup"), dialog<TfrmBackup>());
    main.registerScreen(QStringLiteral("TfrmRecover"), dialog<TfrmRecover>());
    main.registerScreen(QStringLiteral("TfrmSZ_PX"), dialog<TfrmSZ_PX>());
    main.registerScreen(QStringLiteral("TfrmMRX"), dialog<TfrmMRX>());
    main.registerScreen(QStringLiteral("TfrmSound"), dialog<TfrmSound>());
}

}  // namespace cw
