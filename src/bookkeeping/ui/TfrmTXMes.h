#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace cw {

// The monthly reminder: a member's total of one kind has reached the threshold set for it.
// Three lines (the member, the two amounts, the user's own hint) and one button.
class TfrmTXMes : public QDialog {
    Q_OBJECT

  public:
    TfrmTXMes(const QString& caption, const QString& member, const QString& amounts,
              const QString& hint, QWidget* parent = nullptr);

    QLabel* memberLabel() const { return member_; }
    QLabel* amountsLabel() const { return amounts_; }
    QLabel* hintLabel() const { return hint_; }
    QPushButton* okButton() const { return ok_; }

  private:
    QLabel* member_;
    QLabel* amounts_;
    QLabel* hint_;
    QPushButton* ok_;
};

}  // namespace cw
