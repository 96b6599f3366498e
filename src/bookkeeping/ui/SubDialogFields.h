#pragma once

#include <QString>
#include <QStringList>

class QComboBox;
class QLineEdit;
class QWidget;

namespace cw {

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
};

}  // namespace cw
