#include "notes/ui/NoteScreens.h"

#include "notes/ui/TfrmUThing_In.h"
#include "notes/ui/TfrmUThing_Q.h"
#include "widgets/ScreenHost.h"

namespace cw {

void registerNoteScreens(ScreenHost& host) {
    host.registerScreen(QStringLiteral("TfrmUThing_In"), ScreenHost::modal<TfrmUThing_In>());
    host.registerScreen(QStringLiteral("TfrmUThing_Q"), ScreenHost::working<TfrmUThing_Q>());
}

}  // namespace cw
