#pragma once

#include <QDialog>

#include "widgets/AppContext.h"
#include "bookkeeping/SubPostingRules.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace cw {

class DatePicker;

// The settlement dialog of a debt, a credit or an investment: a repayment ("还债"), a
// collection ("收债") or a return of principal with its gain or loss ("收益"). It works on the
// parent it was opened for and stores through SubPostingRules::settle; a refused entry keeps
// the dialog open with the focus on the field to correct.
class TfrmBorrow_R : public QDialog {
    Q_OBJECT

  public:
    TfrmBorrow_R(AppContext& ctx, const PostingKind& kind, const SubPostingRules::Parent& parent,
                 QWidget* parent_widget = nullptr);

    DatePicker* datePicker() const { return date_; }
    QLineEdit* amountEdit() const { return amount_; }
    QLineEdit* profitEdit() const { return profit_; }  // returns only; nullptr otherwise
    QComboBox* accountBox() const { return account_; }
    QComboBox* memberBox() const { return member_; }
    QLineEdit* remarkEdit() const { return remark_; }
    QPushButton* settleButton() const { return settle_; }
    QPushButton* exitButton() const { return exit_; }

  public slots:
    // Checks, then stores; closes with Accepted when the settlement is stored.
    void ButSaveClick();

  private:
    AppContext& ctx_;
    const PostingKind& kind_;
    SubPostingRules::Parent parent_;
    DatePicker* date_ = nullptr;
    QLineEdit* amount_ = nullptr;
    QLineEdit* profit_ = nullptr;
    QComboBox* account_ = nullptr;
    QComboBox* member_ = nullptr;
    QLineEdit* remark_ = nullptr;
    QPushButton* settle_ = nullptr;
    QPushButton* exit_ = nullptr;
};

}  // namespace cw
