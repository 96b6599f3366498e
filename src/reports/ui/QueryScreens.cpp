#include "reports/ui/QueryScreens.h"

#include "app/ui/TfrmMain.h"
#include "reports/ui/QueryScreen.h"
#include "reports/ui/TfrmPage3.h"

namespace cw {

namespace {

template <typename Window>
TfrmMain::Screen working() {
    TfrmMain::Screen s;
    s.kind = TfrmMain::Screen::Working;
    s.make = [](TfrmMain& m) -> QWidget* {
        auto* w = new Window(m.context(), &m);
        w->setDialogRunner([&m](QDialog& d) { return m.runDialog(d); });
        return w;
    };
    return s;
}

}  // namespace

void registerQueryScreens(TfrmMain& main) {
    main.registerScreen(QStringLiteral("TfrmP_In"), working<TfrmP_In>());
    main.registerScreen(QStringLiteral("TfrmP_Out"), working<TfrmP_Out>());
    main.registerScreen(QStringLiteral("TfrmP_A"), working<TfrmP_A>());
    main.registerScreen(QStringLiteral("TfrmP_B"), working<TfrmP_B>());
    main.registerScreen(QStringLiteral("TfrmP_D"), working<TfrmP_D>());
    main.registerScreen(QStringLiteral("TfrmTZ_Qu"), working<TfrmTZ_Qu>());
    main.registerScreen(QStringLiteral("TfrmBR_Q"), working<TfrmBR_Q>());
    main.registerScreen(QStringLiteral("TfrmDR_Q"), working<TfrmDR_Q>());
    main.registerScreen(QStringLiteral("TfrmTR_Q"), working<TfrmTR_Q>());
    main.registerScreen(QStringLiteral("TfrmPage3"), working<TfrmPage3>());
}

}  // namespace cw
