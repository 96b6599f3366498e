#pragma once

#include <QDialog>

#include "plans/PlanBook.h"
#include "widgets/AppContext.h"

class QButtonGroup;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace cw {

class DatePicker;
class NameComboBox;

// 新建计划: the plans of a series, in three steps: what to book, how often, from when to when.
class TfrmPlan_New : public QDialog {
    Q_OBJECT
  public:
    // More plans than this in one series are made only after the user says yes.
    static constexpr size_t kLargeSeries = 366;

    explicit TfrmPlan_New(AppContext& ctx, QWidget* parent = nullptr);

    QButtonGroup* kindButtons() const { return kinds_; }
    QLabel* nameLabel() const { return nameLabel_; }
    NameComboBox* nameCombo() const { return name_; }
    NameComboBox* accountCombo() const { return account_; }
    NameComboBox* memberCombo() const { return member_; }
    QLineEdit* amountEdit() const { return amount_; }
    QLineEdit* remarkEdit() const { return remark_; }
    QButtonGroup* ruleButtons() const { return rules_; }
    QSpinBox* everyDays() const { return everyDays_; }
    QSpinBox* monthlyDay() const { return monthlyDay_; }
    QSpinBox* yearlyMonth() const { return yearlyMonth_; }
    QSpinBox* yearlyDay() const { return yearlyDay_; }
    QSpinBox* everyMonths() const { return everyMonths_; }
    QSpinBox* everyMonthsDay() const { return everyMonthsDay_; }
    DatePicker* startDate() const { return start_; }
    DatePicker* endDate() const { return end_; }
    QPushButton* saveButton() const { return save_; }
    QPushButton* exitButton() const { return exit_; }

    QString kind() const;
    void ButSaveClick();

  private:
    void kindChosen();
    void ruleChosen();
    PlanSchedule schedule() const;
    void focusField(PlanBook::Field field);
    bool confirmLargeSeries(const PlanBook::Series& s);

    AppContext& ctx_;
    QButtonGroup* kinds_ = nullptr;
    QLabel* nameLabel_ = nullptr;
    NameComboBox* name_ = nullptr;
    NameComboBox* account_ = nullptr;
    NameComboBox* member_ = nullptr;
    QLineEdit* amount_ = nullptr;
    QLineEdit* remark_ = nullptr;
    QButtonGroup* rules_ = nullptr;
    QSpinBox* everyDays_ = nullptr;
    QSpinBox* monthlyDay_ = nullptr;
    QSpinBox* yearlyMonth_ = nullptr;
    QSpinBox* yearlyDay_ = nullptr;
    QSpinBox* everyMonths_ = nullptr;
    QSpinBox* everyMonthsDay_ = nullptr;
    DatePicker* start_ = nullptr;
    DatePicker* end_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* exit_ = nullptr;
};

}  // namespace cw
