#pragma once

namespace cw {

class ScreenHost;

// Plugs the posting screens into the menu "记账【&W】" and the toolbar: income, expense and
// transfers. Each is a working window opened after the member and account checks; closing
// one recomputes the dashboard.
void registerBookkeepingScreens(ScreenHost& host);

}  // namespace cw
