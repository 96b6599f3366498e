#pragma once

namespace cw {

class ScreenHost;

// The six import dialogs of the menu "导入【&D】".
void registerImportScreens(ScreenHost& host);

}  // namespace cw
