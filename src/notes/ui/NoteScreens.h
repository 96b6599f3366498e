#pragma once

namespace cw {

class TfrmMain;

// 记事录入 and 记事查询 of the menu "工具".
void registerNoteScreens(TfrmMain& main);

}  // namespace cw
