#pragma once

namespace cw {

class ScreenHost;

// Plugs book management, backup and restore and the preferences into the main window's
// menus: the book manager as a working window, the rest as modal dialogs.
void registerBookScreens(ScreenHost& host);

}  // namespace cw
