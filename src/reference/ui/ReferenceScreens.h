#pragma once

namespace cw {

class ScreenHost;

// Plugs the reference managers into the menu "基础设置【&B】": members, contacts, accounts
// and the three category lists. Closing the account manager recomputes the dashboard.
void registerReferenceScreens(ScreenHost& host);

}  // namespace cw
