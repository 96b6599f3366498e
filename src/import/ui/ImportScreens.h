#pragma once

namespace cw {

class TfrmMain;

// The six import dialogs of the menu "导入【&D】".
void registerImportScreens(TfrmMain& main);

}  // namespace cw
