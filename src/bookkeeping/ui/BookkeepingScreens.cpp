#include "bookkeeping/ui/BookkeepingScreens.h"

#include "app/ui/TfrmMain.h"
#include "bookkeeping/ui/TfrmBorrow.h"
#include "bookkeeping/ui/TfrmChangeT.h"
#include "bookkeeping/ui/TfrmDebt.h"
#include "bookkeeping/ui/TfrmInTable.h"
#include "bookkeeping/ui/TfrmOutTable.h"
#include "bookkeeping/ui/TfrmTZ.h"

namespace cw {

namespace {

template <typename Window>
TfrmMain::Screen posting() {
    TfrmMain::Screen s;
    s.kind = TfrmMain::Screen::Working;
    s.checks = true;
    // Postings move balances, so the dashboard follows when the screen closes.
    s.refreshOnClose = true;
    s.make = [](TfrmMain& m) -> QWidget* {
        auto* w = new Window(m.context(), &m);
        w->setDialogRunner([&m](QDialog& d) { return m.runDialog(d); });
        return w;
    };
    return s;
}

}  // namespace

void registerBookkeepingScreens(TfrmMain& main) {
    main.registerScreen(QStringLiteral("TfrmInTable"), posting<TfrmInTable>());
    main.registerScreen(QStringLiteral("TfrmOutTable"), posting<TfrmOutTable>());
    main.registerScreen(QStringLiteral("TfrmChangeT"), posting<TfrmChangeT>());
    main.registerScreen(QStringLiteral("TfrmBorrow"), posting<TfrmBorrow>());
    main.registerScreen(QStringLiteral("TfrmDebt"), posting<TfrmDebt>());
    main.registerScreen(QStringLiteral("TfrmTZ"), posting<TfrmTZ>());
}

}  // namespace cw
