#pragma once

namespace cw {

class ScreenHost;

// Plugs the plan windows and the reminder manager into the main window.
void registerPlanScreens(ScreenHost& host);

}  // namespace cw
