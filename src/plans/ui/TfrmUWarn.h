#pragma once

#include <QWidget>
#include <functional>
#include <vector>

#include "plans/ReminderThresholds.h"
#include "widgets/AppContext.h"

class QButtonGroup;
class QDialog;
class QGroupBox;
class QLineEdit;
class QMenu;
class QPushButton;
class QTableWidget;

namespace cw {

class NameComboBox;

// 提醒设置: the monthly reminder thresholds of the book. New ones are added here; existing
// ones change through 预警修改 or the popup's 启用 / 停用.
class TfrmUWarn : public QWidget {
    Q_OBJECT
  public:
    explicit TfrmUWarn(AppContext& ctx, QWidget* parent = nullptr);

    void setDialogRunner(std::function<int(QDialog&)> runner) { runDialog_ = std::move(runner); }

    QTableWidget* grid() const { return grid_; }
    QButtonGroup* kindButtons() const { return kinds_; }
    NameComboBox* memberCombo() const { return member_; }
    QLineEdit* amountEdit() const { return amount_; }
    QLineEdit* hintEdit() const { return hint_; }
    QPushButton* newButton() const { return new_; }
    QPushButton* saveButton() const { return save_; }
    QPushButton* cancelButton() const { return cancel_; }
    QPushButton* deleteButton() const { return delete_; }
    QPushButton* exitButton() const { return exit_; }
    QMenu* popupMenu() const { return popup_; }
    bool adding() const { return adding_; }

    void myRef();
    void ButNewClick();
    void ButSaveClick();
    void ButCancelClick();
    void ButDelClick();
    void setState(const QString& state);  // 启用 &S / 停用 &E
    void modify();                        // 修改 &M

  private:
    void setMode(bool adding);
    void showRow(int row);
    int currentRow() const;

    AppContext& ctx_;
    std::function<int(QDialog&)> runDialog_;
    std::vector<ReminderThresholds::Row> rows_;
    bool adding_ = false;
    QTableWidget* grid_ = nullptr;
    QGroupBox* entry_ = nullptr;
    QButtonGroup* kinds_ = nullptr;
    NameComboBox* member_ = nullptr;
    QLineEdit* amount_ = nullptr;
    QLineEdit* hint_ = nullptr;
    QPushButton* new_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* delete_ = nullptr;
    QPushButton* exit_ = nullptr;
    QMenu* popup_ = nullptr;
};

}  // namespace cw
