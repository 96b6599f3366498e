#pragma once

#include <QDialog>
#include <QWidget>
#include <functional>
#include <optional>

#include "reports/FundFlowLog.h"
#include "widgets/AppContext.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;

namespace cw {

class DatePicker;
class QueryGrid;

// "资金流动日志": the open book's fund-flow journal, filtered (日期, 账户名称, 家庭成员, 摘要,
// 收支类别, each applying only when ticked), sorted (排序), totalled in the status line, with
// Excel and 打印 of the rows shown. The grid reads its rows a page at a time, so a journal of
// millions of rows opens at once.
//
// "查询" keeps the filter as the window's condition and attaches the grid's pop-up menu: delete
// the current entry, delete every entry of the condition, edit an entry (TfrmPage3_M), and
// recompute the balance column of the account chosen in the account drop-down. Corrections
// touch the journal only. The account and member managers open it preset on one name.
class TfrmPage3 : public QWidget {
    Q_OBJECT

  public:
    using DialogRunner = std::function<int(QDialog&)>;

    explicit TfrmPage3(AppContext& ctx, QWidget* parent = nullptr);
    ~TfrmPage3() override;

    void setDialogRunner(DialogRunner runner) { runDialog_ = std::move(runner); }

    // Opens on one account (FilterKey::Account) or member (FilterKey::Member): ticks its
    // filter, shows the name, makes it the whole condition and refreshes.
    void preset(FilterKey key, const QString& name);

    // The filter as the fields show it, and the sort (none unless 排序 is ticked).
    ReportFilter fieldsFilter() const;
    std::optional<ReportSort> sort() const;
    const ReportFilter& condition() const { return condition_; }

    QueryGrid* grid() const { return grid_; }
    QMenu* popup() const { return popup_; }
    bool menuAttached() const { return menuAttached_; }
    QCheckBox* datesBox() const { return datesBox_; }
    DatePicker* fromPicker() const { return from_; }
    DatePicker* toPicker() const { return to_; }
    QCheckBox* box(FilterKey key) const;
    QComboBox* accountBox() const { return account_; }
    QComboBox* memberBox() const { return member_; }
    QComboBox* kindBox() const { return kind_; }
    QLineEdit* remarkEdit() const { return remark_; }
    QCheckBox* sortCheck() const { return sortCheck_; }
    QComboBox* sortBox() const { return sortBox_; }
    QPushButton* excelButton() const { return excel_; }
    QPushButton* printButton() const { return print_; }
    // The status line; its totals follow the rows once the event loop runs.
    QStringList statusTexts() const;

  public slots:
    void ButQueryClick();
    void ButExcelClick();
    void ButPrintClick();
    void ButExitClick();
    void DeleteOneClick();
    void DeleteAllClick();
    void EditClick();
    void RecomputeClick();

  private:
    void refresh();
    void showTotals();
    bool hasRows() const;
    qint64 currentId() const;

    AppContext& ctx_;
    DialogRunner runDialog_;
    ReportFilter condition_;
    bool menuAttached_ = false;
    int refreshes_ = 0;
    QCheckBox* datesBox_ = nullptr;
    DatePicker* from_ = nullptr;
    DatePicker* to_ = nullptr;
    QCheckBox* accountCheck_ = nullptr;
    QComboBox* account_ = nullptr;
    QCheckBox* memberCheck_ = nullptr;
    QComboBox* member_ = nullptr;
    QCheckBox* remarkCheck_ = nullptr;
    QLineEdit* remark_ = nullptr;
    QCheckBox* kindCheck_ = nullptr;
    QComboBox* kind_ = nullptr;
    QCheckBox* sortCheck_ = nullptr;
    QComboBox* sortBox_ = nullptr;
    QPushButton* excel_ = nullptr;
    QPushButton* print_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QueryGrid* grid_ = nullptr;
    QMenu* popup_ = nullptr;
    QList<QLabel*> status_;
};

// "修改日志": one journal entry's date, kind, note, amounts, account and member. "保存" writes
// them (an empty amount is 0; a non-number is refused with the field's message), says
// "资金流动日志 修改成功！" and closes; the balance stays as it was.
class TfrmPage3_M : public QDialog {
    Q_OBJECT

  public:
    TfrmPage3_M(AppContext& ctx, qint64 id, const FundFlowLog::EntryText& entry,
                QWidget* parent = nullptr);

    FundFlowLog::EntryText entry() const;
    DatePicker* dateEdit() const { return date_; }
    QLineEdit* typeEdit() const { return type_; }
    QLineEdit* remarkEdit() const { return remark_; }
    QLineEdit* inEdit() const { return in_; }
    QLineEdit* outEdit() const { return out_; }
    QComboBox* accountBox() const { return account_; }
    QComboBox* memberBox() const { return member_; }
    QPushButton* saveButton() const { return save_; }

  public slots:
    void ButSaveClick();

  private:
    AppContext& ctx_;
    qint64 id_;
    DatePicker* date_ = nullptr;
    QLineEdit* type_ = nullptr;
    QLineEdit* remark_ = nullptr;
    QLineEdit* in_ = nullptr;
    QLineEdit* out_ = nullptr;
    QComboBox* account_ = nullptr;
    QComboBox* member_ = nullptr;
    QPushButton* save_ = nullptr;
};

}  // namespace cw
