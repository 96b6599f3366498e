#pragma once

#include "books/ui/WizardStep.h"

class QComboBox;
class QLineEdit;

namespace cw {

class MoneyEdit;

// The accounts step of the first-book wizard: each account with the amount it holds
// today, booked as its opening in the journal. "完成" leads to the login.
class TfrmNewA : public WizardStep {
    Q_OBJECT
  public:
    explicit TfrmNewA(AppContext& ctx, QWidget* parent = nullptr);

    QComboBox* typeBox() const { return type_; }
    QComboBox* memberBox() const { return member_; }
    QLineEdit* nameEdit() const { return name_; }
    MoneyEdit* amountEdit() const { return amount_; }
    QLineEdit* remarkEdit() const { return remark_; }
    QPushButton* finishButton() const { return forwardButton(); }

  public slots:
    void ButFinishClick() { ButForwardClick(); }

  protected:
    Query rows() override;
    void showRow(int row) override;
    void clearEntry() override;
    BookCreation::Result saveEntry() override;
    QWidget* fieldFor(BookCreation::Field focus) const override;
    QString deleteRefusal(qint64 id) override;
    void deleteRow(qint64 id) override;
    void leadOn() override;

  private:
    QComboBox* type_;
    QComboBox* member_;
    QLineEdit* name_;
    MoneyEdit* amount_;
    QLineEdit* remark_;
};

}  // namespace cw
