#include "notes/ui/NoteScreens.h"

#include "app/ui/TfrmMain.h"
#include "notes/ui/TfrmUThing_In.h"
#include "notes/ui/TfrmUThing_Q.h"

namespace cw {

void registerNoteScreens(TfrmMain& main) {
    main.registerScreen(QStringLiteral("TfrmUThing_In"), TfrmMain::modal<TfrmUThing_In>());
    main.registerScreen(QStringLiteral("TfrmUThing_Q"), TfrmMain::working<TfrmUThing_Q>());
}

}  // namespace cw
