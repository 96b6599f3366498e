#pragma once

#include <QString>
#include <QStringList>
#include <functional>

#include "bookkeeping/SubPostingRules.h"

class QComboBox;
class QLineEdit;
class QWidget;

namespace cw {

class DatePicker;
class Messages;

// The field shapes the sub-dialogs of debts, credits and investments share.
class SubDialogFields {
  public:
    // An amount field of at most 10 characters taking digits and "." (and "-" when signed).
    static QLineEdit* amount(QWidget* parent, bool signed_);
    // A pick-list of `names`, showing `preset` when it is one of them, else nothing.
    static QComboBox* pickList(QWidget* parent, const QStringList& names, const QString& preset);
    // A remark field of at most 50 characters.
    static QLineEdit* remark(QWidget* parent);
    // The picked name; "" when nothing is picked.
    static QString picked(const QComboBox* box);

    // The entry fields of a sub-dialog; profit only in the investment return.
    struct Widgets {
        DatePicker* date = nullptr;
        QLineEdit* amount = nullptr;
        QLineEdit* profit = nullptr;
        QComboBox* account = nullptr;
        QComboBox* member = nullptr;
        QLineEdit* remark = nullptr;
    };
    static SubPostingRules::Entry entryOf(const Widgets& w);
    static QWidget* widgetFor(const Widgets& w, SubPostingRules::Field field);
    // Runs the dialog's checks, then its one write. A refusal shows its message and focuses
    // the field to correct; true when the write went through.
    static bool submit(Messages& messages, const Widgets& w,
                       const std::function<SubPostingRules::Verdict()>& validate,
                       const std::function<void()>& write);
};

}  // namespace cw
