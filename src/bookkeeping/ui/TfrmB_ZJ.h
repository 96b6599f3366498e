#pragma once

#include <QDialog>

#include "widgets/AppContext.h"
#include "bookkeeping/SubPostingRules.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace cw {

class DatePicker;

// The increase and decrease dialog of a debt, a credit or an investment: the parent shown
// read-only above, the change entered below, stored through SubPostingRules::change. A
// refused entry keeps the dialog open with the focus on the field to correct.
class TfrmB_ZJ : public QDialog {
    Q_OBJECT

  public:
    using Change = SubPostingRules::Change;

    TfrmB_ZJ(AppContext& ctx, const PostingKind& kind, Change change,
             const SubPostingRules::Parent& parent, QWidget* parent_widget = nullptr);

    DatePicker* datePicker() const { return date_; }
    QLineEdit* amountEdit() const { return amount_; }
    QComboBox* accountBox() const { return account_; }
    QComboBox* memberBox() const { return member_; }
    QLineEdit* remarkEdit() const { return remark_; }
    QPushButton* saveButton() const { return save_; }
    QPushButton* exitButton() const { return exit_; }

    // The caption of the dialog and of its lower group: "增加债务金额".
    static QString captionOf(const PostingKind& kind, Change change);

  public slots:
    void ButSaveClick();

  private:
    AppContext& ctx_;
    const PostingKind& kind_;
    Change change_;
    SubPostingRules::Parent parent_;
    DatePicker* date_ = nullptr;
    QLineEdit* amount_ = nullptr;
    QComboBox* account_ = nullptr;
    QComboBox* member_ = nullptr;
    QLineEdit* remark_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* exit_ = nullptr;
};

}  // namespace cw
