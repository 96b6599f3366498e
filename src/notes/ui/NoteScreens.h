#pragma once

namespace cw {

class ScreenHost;

// 记事录入 and 记事查询 of the menu "工具".
void registerNoteScreens(ScreenHost& host);

}  // namespace cw
