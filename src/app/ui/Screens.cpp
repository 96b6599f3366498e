#include "app/ui/Screens.h"

#include "app/ui/TfrmMain.h"
#include "books/ui/TfrmChangePass.h"
#include "books/ui/TfrmOpenBook.h"

namespace cw {

namespace {

template <typename Window>
TfrmMain::Screen modal(bool refreshOnClose = false) {
    TfrmMain::Screen s;
    s.kind = TfrmMain::Screen::Modal;
    s.refreshOnClose = refreshOnClose;
    s.make = [](TfrmMain& main) -> QWidget* { return new Window(main.context(), &main); };
    return s;
}

}  // namespace

void registerScreens(TfrmMain& main) {
    main.registerScreen(QStringLiteral("TfrmOpenBook"), modal<TfrmOpenBook>());
    main.registerScreen(QStringLiteral("TfrmChangePass"), modal<TfrmChangePass>());
}

}  // namespace cw
