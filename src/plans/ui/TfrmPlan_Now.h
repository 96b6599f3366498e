#pragma once

#include <QDialog>

#include "widgets/AppContext.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTableView;

namespace cw {

class ReportTableModel;

// 到今天未执行的计划: every open plan dated today or earlier, latest first, executed all at once.
// Shown at start when plans are due and from "今日计划 &D".
class TfrmPlan_Now : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmPlan_Now(AppContext& ctx, QWidget* parent = nullptr);

    QTableView* grid() const { return grid_; }
    QLabel* countLabel() const { return count_; }
    QLabel* sumLabel() const { return sum_; }
    QPushButton* executeButton() const { return execute_; }
    QPushButton* exitButton() const { return exit_; }
    QProgressBar* progressBar() const { return progress_; }

    void ButExecuteClick();

  private:
    void load();

    AppContext& ctx_;
    QTableView* grid_ = nullptr;
    ReportTableModel* model_ = nullptr;
    QLabel* count_ = nullptr;
    QLabel* sum_ = nullptr;
    QPushButton* execute_ = nullptr;
    QPushButton* exit_ = nullptr;
    QProgressBar* progress_ = nullptr;
};

}  // namespace cw
