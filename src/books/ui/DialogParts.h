#pragma once

#include <QString>

class QBoxLayout;
class QDialog;
class QLineEdit;
class QPushButton;

namespace cw {

// The parts the backup, restore, rename and preference dialogs share.
class DialogParts {
  public:
    struct Foot {
        QPushButton* action;
        QPushButton* exit;
    };
    // The row at the dialog's foot: the action button (the default one unless told) and
    // "退出", which closes the dialog as cancelled.
    static Foot addFoot(QDialog& dialog, QBoxLayout* into, const QString& action,
                        bool actionIsDefault = true);

    struct PathRow {
        QLineEdit* path;
        QPushButton* choose;
    };
    // A labelled path field with its "选择路径" button beside it.
    static PathRow addPathRow(QDialog& dialog, QBoxLayout* into, const QString& label);
};

}  // namespace cw
