#pragma once

#include <QString>

class QWidget;

namespace cw {

class Messages;

// The two shapes every screen repeats around its checks and deletions.
class Dialogs {
  public:
    // A failed check: the message first, then the focus on the field to correct, its text
    // selected so the user can type over it.
    static void focusAndWarn(Messages& messages, QWidget* field, const QString& text,
                             const QString& caption = QString());
    // The deletion question, caption "删除", with No preselected. True for Yes.
    static bool askDelete(Messages& messages);
};

}  // namespace cw
