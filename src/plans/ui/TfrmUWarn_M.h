#pragma once

#include <QDialog>

#include "plans/ReminderThresholds.h"
#include "widgets/AppContext.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace cw {

// 预警修改: changes the amount and hint of one threshold; kind and member stay.
class TfrmUWarn_M : public QDialog {
    Q_OBJECT
  public:
    TfrmUWarn_M(AppContext& ctx, const ReminderThresholds::Row& row, QWidget* parent = nullptr);

    QLabel* kindLabel() const { return kind_; }
    QLabel* memberLabel() const { return member_; }
    QLineEdit* amountEdit() const { return amount_; }
    QLineEdit* hintEdit() const { return hint_; }
    QPushButton* saveButton() const { return save_; }
    QPushButton* exitButton() const { return exit_; }

    void ButSaveClick();

  private:
    AppContext& ctx_;
    qint64 id_;
    QLabel* kind_ = nullptr;
    QLabel* member_ = nullptr;
    QLineEdit* amount_ = nullptr;
    QLineEdit* hint_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* exit_ = nullptr;
};

}  // namespace cw
