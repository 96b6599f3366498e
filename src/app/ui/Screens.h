#pragma once

namespace cw {

class TfrmMain;

// Plugs every screen of the program into the main window's menus and toolbar.
void registerScreens(TfrmMain& main);

}  // namespace cw
