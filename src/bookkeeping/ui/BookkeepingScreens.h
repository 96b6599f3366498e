#pragma once

namespace cw {

class TfrmMain;

// Plugs the posting screens into the menu "记账【&W】" and the toolbar: income, expense and
// transfers. Each is a working window opened after the member and account checks; closing
// one recomputes the dashboard.
void registerBookkeepingScreens(TfrmMain& main);

}  // namespace cw
