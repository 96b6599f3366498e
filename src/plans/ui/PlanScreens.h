#pragma once

namespace cw {

class TfrmMain;

// Plugs the plan windows and the reminder manager into the main window.
void registerPlanScreens(TfrmMain& main);

}  // namespace cw
