#pragma once

#include <QDialog>
#include <QStringList>
#include <memory>

#include "widgets/AppContext.h"
#include "app/ui/TfrmMain.h"
#include "support/TempDataFile.h"
#include "ui/support/FakeMessages.h"

namespace cw::test {

// A data file with the main window over it, its message boxes scripted and its modal
// dialogs handed to a script instead of blocking.
class MainFixture {
  public:
    explicit MainFixture(const QDate& today = QDate(2026, 12, 9))
        : file(today),
          ctx{file.db(),           file.dm(), file.state(), messages, file.programDir(),
              Clock::fixed(today), {},        {},           {},       {}} {
        main = std::make_unique<TfrmMain>(ctx);
        main->setDialogRunner([this](QDialog& d) {
            dialogs << d.metaObject()->className();
            return onDialog ? onDialog(d) : int(QDialog::Rejected);
        });
    }

    TempDataFile file;
    FakeMessages messages;
    AppContext ctx;
    std::unique_ptr<TfrmMain> main;
    QStringList dialogs;                    // class names of the dialogs run, in order
    std::function<int(QDialog&)> onDialog;  // drives a dialog; default: closed at once
};

}  // namespace cw::test
