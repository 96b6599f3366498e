#include "import/ui/ImportScreens.h"

#include "import/bills/ui/BillImportDialog.h"
#include "import/ui/ImportDialog.h"
#include "widgets/ScreenHost.h"

namespace cw {

void registerImportScreens(ScreenHost& host) {
    for (const ImportKind& kind : ImportKind::all()) {
        ScreenHost::Screen s;
        s.kind = ScreenHost::Screen::Modal;
        s.refreshOnClose = true;
        s.make = [&kind](ScreenHost& m) -> QWidget* {
            return new ImportDialog(m.context(), kind, m.hostWindow());
        };
        host.registerScreen(kind.className, s);
    }
    host.registerScreen(QStringLiteral("TfrmD_Bill"),
                        ScreenHost::modal<BillImportDialog>(false, true));

    // The statement window maps unknown layouts in a dialog of its own, run the host's way.
    ScreenHost::Screen statements;
    statements.kind = ScreenHost::Screen::Modal;
    statements.refreshOnClose = true;
    statements.make = [](ScreenHost& m) -> QWidget* {
        auto* d =
            new BillImportDialog(m.context(), BillImportDialog::Files::Statements, m.hostWindow());
        d->setDialogRunner([&m](QDialog& x) { return m.runDialog(x); });
        return d;
    };
    host.registerScreen(QStringLiteral("TfrmD_Statement"), statements);
}

}  // namespace cw
