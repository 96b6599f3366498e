#include "app/ui/Screens.h"

#include "app/ui/TfrmMain.h"
#include "bookkeeping/ui/BookkeepingScreens.h"
#include "books/BookCreation.h"
#include "books/ui/BookScreens.h"
#include "books/ui/TfrmChangePass.h"
#include "books/ui/TfrmNewBook.h"
#include "books/ui/TfrmNewBook1.h"
#include "books/ui/TfrmOpenBook.h"
#include "import/ui/ImportScreens.h"
#include "notes/ui/NoteScreens.h"
#include "plans/ui/PlanScreens.h"
#include "reference/ui/ReferenceScreens.h"
#include "reports/ui/QueryScreens.h"
#include "reports/ui/ReportScreens.h"

namespace cw {

namespace {

template <typename Window>
ScreenHost::Screen modal(bool refreshOnClose = false) {
    ScreenHost::Screen s;
    s.kind = ScreenHost::Screen::Modal;
    s.refreshOnClose = refreshOnClose;
    s.make = [](ScreenHost& h) -> QWidget* { return new Window(h.context(), h.hostWindow()); };
    return s;
}

}  // namespace

void registerScreens(TfrmMain& main) {
    main.registerScreen(QStringLiteral("TfrmOpenBook"), modal<TfrmOpenBook>());
    main.registerScreen(QStringLiteral("TfrmChangePass"), modal<TfrmChangePass>());

    // The new-book windows lead on through further dialogs; those run the main window's way.
    ScreenHost::Screen first;
    first.kind = ScreenHost::Screen::Modal;
    first.refreshOnClose = true;
    first.make = [](ScreenHost& m) -> QWidget* {
        auto* d = new TfrmNewBook(m.context(), m.hostWindow());
        d->setDialogRunner([&m](QDialog& x) { return m.runDialog(x); });
        return d;
    };
    main.registerScreen(QStringLiteral("TfrmNewBook"), first);

    ScreenHost::Screen more = first;
    more.make = [](ScreenHost& m) -> QWidget* {
        const int count = BookCreation(m.context().dm).bookCount();
        auto* d = new TfrmNewBook1(m.context(), count, m.hostWindow());
        d->setDialogRunner([&m](QDialog& x) { return m.runDialog(x); });
        return d;
    };
    main.registerScreen(QStringLiteral("TfrmNewBook1"), more);

    registerReferenceScreens(main);
    registerBookkeepingScreens(main);
    registerBookScreens(main);
    registerReportScreens(main);
    registerQueryScreens(main);
    registerImportScreens(main);
    registerNoteScreens(main);
    registerPlanScreens(main);
}

}  // namespace cw
