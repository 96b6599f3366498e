#pragma once

#include <QWidget>

#include "plans/PlanBook.h"
#include "widgets/AppContext.h"

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableView;

namespace cw {

class DatePicker;
class NameComboBox;
class ReportTableModel;

// The two plan lists, 查看计划 and 执行计划: the filter panel "查询条件", the grid of open plans
// with its count and sum, and a third button (Excel or 执行) that waits for the first query.
// Neither runs a query when it opens.
class PlanListScreen : public QWidget {
    Q_OBJECT
  public:
    PlanListScreen(AppContext& ctx, const QString& caption, const QString& thirdButton,
                   QWidget* parent = nullptr);

    QButtonGroup* kindButtons() const { return kinds_; }
    QCheckBox* dateBox() const { return dateBox_; }
    DatePicker* fromDate() const { return from_; }
    DatePicker* toDate() const { return to_; }
    QCheckBox* nameBox() const { return nameBox_; }
    NameComboBox* nameCombo() const { return name_; }
    QCheckBox* accountBox() const { return accountBox_; }
    NameComboBox* accountCombo() const { return account_; }
    QCheckBox* memberBox() const { return memberBox_; }
    NameComboBox* memberCombo() const { return member_; }
    QCheckBox* remarkBox() const { return remarkBox_; }
    QLineEdit* remarkEdit() const { return remark_; }
    QPushButton* queryButton() const { return query_; }
    QPushButton* thirdButton() const { return third_; }
    QPushButton* exitButton() const { return exit_; }
    QTableView* grid() const { return grid_; }
    QLabel* countLabel() const { return count_; }
    QLabel* sumLabel() const { return sum_; }
    const ReportTable& table() const;
    QString kind() const;

    // Runs the query with the panel's conditions and remembers them for refreshes.
    void ButQueryClick();
    // Runs the remembered conditions again.
    void refresh();

  protected:
    PlanBook::Filter filter_;  // the conditions of the last query
    AppContext& ctx_;
    QProgressBar* progress_ = nullptr;
    QWidget* buttonColumn_ = nullptr;

  private:
    void kindChosen();

    QButtonGroup* kinds_ = nullptr;
    QCheckBox* dateBox_ = nullptr;
    DatePicker* from_ = nullptr;
    DatePicker* to_ = nullptr;
    QCheckBox* nameBox_ = nullptr;
    NameComboBox* name_ = nullptr;
    QCheckBox* accountBox_ = nullptr;
    NameComboBox* account_ = nullptr;
    QCheckBox* memberBox_ = nullptr;
    NameComboBox* member_ = nullptr;
    QCheckBox* remarkBox_ = nullptr;
    QLineEdit* remark_ = nullptr;
    QPushButton* query_ = nullptr;
    QPushButton* third_ = nullptr;
    QPushButton* exit_ = nullptr;
    QTableView* grid_ = nullptr;
    ReportTableModel* model_ = nullptr;
    QLabel* count_ = nullptr;
    QLabel* sum_ = nullptr;
};

}  // namespace cw
