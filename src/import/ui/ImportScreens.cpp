#include "import/ui/ImportScreens.h"

#include "app/ui/TfrmMain.h"
#include "import/bills/ui/BillImportDialog.h"
#include "import/ui/ImportDialog.h"

namespace cw {

void registerImportScreens(TfrmMain& main) {
    for (const ImportKind& kind : ImportKind::all()) {
        TfrmMain::Screen s;
        s.kind = TfrmMain::Screen::Modal;
        s.refreshOnClose = true;
        s.make = [&kind](TfrmMain& m) -> QWidget* {
            return new ImportDialog(m.context(), kind, &m);
        };
        main.registerScreen(kind.className, s);
    }
    main.registerScreen(QStringLiteral("TfrmD_Bill"),
                        TfrmMain::modal<BillImportDialog>(false, true));
}

}  // namespace cw
