#pragma once

#include <QString>

namespace cw {

class ScreenHost;

// Plugs the query screens and the fund-flow log into the menu "报表中心【&R】".
void registerQueryScreens(ScreenHost& host);

}  // namespace cw
