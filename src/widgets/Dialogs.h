#pragma once

#include <QString>

class QWidget;

class QGridLayout;
class QHBoxLayout;
class QPushButton;

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
    // A field of an entry group on the next row of form (or on row), with its label and,
    // when given, its hint beside it so the hint is read before typing.
    static void addFieldRow(QGridLayout* form, const QString& label, QWidget* field,
                            const QString& hint = QString(), int row = -1);
    // The foot of an entry dialog: "保存" (what Enter presses) and the way out, at the right.
    static QHBoxLayout* saveRow(QWidget* dialog, QPushButton** save, QPushButton** exit,
                                const QString& exitText = QStringLiteral("退出"));
};

}  // namespace cw
