#include "app/ui/Screens.h"

#include "app/ui/TfrmMain.h"

namespace cw {

void registerScreens(TfrmMain& main) {
    (void)main;
}

}  // namespace cw
