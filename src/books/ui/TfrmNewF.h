#pragma once

#include "books/ui/WizardStep.h"

class QLineEdit;

namespace cw {

class DatePicker;

// The members step of the first-book wizard: the new book needs at least one member
// before its accounts can be given owners.
class TfrmNewF : public WizardStep {
    Q_OBJECT
  public:
    explicit TfrmNewF(AppContext& ctx, QWidget* parent = nullptr);

    QLineEdit* nameEdit() const { return name_; }
    QLineEdit* relationEdit() const { return relation_; }
    QLineEdit* birthdayText() const { return birthdayText_; }
    DatePicker* birthdayPicker() const { return birthday_; }
    QLineEdit* remarkEdit() const { return remark_; }
    QPushButton* nextButton() const { return forwardButton(); }

  public slots:
    void ButNextClick() { ButForwardClick(); }

  protected:
    Query rows() override;
    void showRow(int row) override;
    void clearEntry() override;
    BookCreation::Result saveEntry() override;
    QWidget* fieldFor(BookCreation::Field focus) const override;
    void deleteRow(qint64 id) override;
    void leadOn() override;
    void modeChanged(bool adding) override;

  private:
    QLineEdit* name_;
    QLineEdit* relation_;
    QLineEdit* birthdayText_;
    DatePicker* birthday_;
    QLineEdit* remark_;
};

}  // namespace cw
