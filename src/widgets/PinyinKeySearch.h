#pragma once

class QComboBox;

namespace cw {

// Typing into a closed drop-down of names picks a name by its pinyin initials, the way the
// entry panels' name boxes find one: "gs" picks 工商银行, "lxsr" 利息收入. Letters typed within
// a second of each other add up; a name whose code starts with them wins over one that only
// contains them. A pick is an activation, as if the user had chosen it from the list, so a
// filter's tick follows it.
class PinyinKeySearch {
  public:
    static void attach(QComboBox* box, int pauseMs = 1000);
};

}  // namespace cw
