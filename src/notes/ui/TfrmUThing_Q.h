#pragma once

#include <QWidget>
#include <functional>

#include "notes/NoteBook.h"
#include "widgets/AppContext.h"

class QCheckBox;
class QComboBox;
class QDialog;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTableView;

namespace cw {

class DatePicker;
class NameComboBox;
class ReportTableModel;

// 记事查询: finds the book's notes by date, member, title and text, sorts them, exports and
// prints them, and opens one for change or deletes it. No query runs when it opens.
class TfrmUThing_Q : public QWidget {
    Q_OBJECT
  public:
    explicit TfrmUThing_Q(AppContext& ctx, QWidget* parent = nullptr);

    // The note window and the print preview run through this (exec() unless set).
    void setDialogRunner(std::function<int(QDialog&)> runner) { runDialog_ = std::move(runner); }

    QCheckBox* dateBox() const { return dateBox_; }
    DatePicker* fromDate() const { return from_; }
    DatePicker* toDate() const { return to_; }
    QCheckBox* memberBox() const { return memberBox_; }
    NameComboBox* memberCombo() const { return member_; }
    QCheckBox* titleBox() const { return titleBox_; }
    QLineEdit* titleEdit() const { return title_; }
    QCheckBox* textBox() const { return textBox_; }
    QLineEdit* textEdit() const { return text_; }
    QComboBox* sortCombo() const { return sort_; }
    QComboBox* orderCombo() const { return order_; }
    QPushButton* queryButton() const { return query_; }
    QPushButton* excelButton() const { return excel_; }
    QPushButton* printButton() const { return print_; }
    QPushButton* exitButton() const { return exit_; }
    QTableView* grid() const { return grid_; }
    QLabel* countLabel() const { return count_; }
    QMenu* popupMenu() const { return popup_; }
    // The grid's rows, the full text (Detail) among them.
    const ReportTable& table() const;
    // The conditions of the last query, with the order it was run in.
    const NoteBook::Filter& lastFilter() const { return filter_; }

    void ButQueryClick();
    void ButExcelClick();
    void ButPrintClick();
    void modify();         // 修改 &M
    void deleteCurrent();  // 删除 &D

  private:
    NoteBook::Filter sortedNow(NoteBook::Filter f) const;
    void refresh();
    int currentRow() const;
    bool guarded(const std::function<void()>& action);

    AppContext& ctx_;
    std::function<int(QDialog&)> runDialog_;
    NoteBook::Filter filter_;
    QCheckBox* dateBox_ = nullptr;
    DatePicker* from_ = nullptr;
    DatePicker* to_ = nullptr;
    QCheckBox* memberBox_ = nullptr;
    NameComboBox* member_ = nullptr;
    QCheckBox* titleBox_ = nullptr;
    QLineEdit* title_ = nullptr;
    QCheckBox* textBox_ = nullptr;
    QLineEdit* text_ = nullptr;
    QComboBox* sort_ = nullptr;
    QComboBox* order_ = nullptr;
    QPushButton* query_ = nullptr;
    QPushButton* excel_ = nullptr;
    QPushButton* print_ = nullptr;
    QPushButton* exit_ = nullptr;
    QTableView* grid_ = nullptr;
    ReportTableModel* model_ = nullptr;
    QLabel* count_ = nullptr;
    QMenu* popup_ = nullptr;
};

}  // namespace cw
