#pragma once

#include "plans/ui/PlanListScreen.h"

class QProgressBar;

namespace cw {

// 执行计划: lists open plans and executes the listed ones whose date has come; later ones stay.
class TfrmPlan_EX : public PlanListScreen {
    Q_OBJECT
  public:
    explicit TfrmPlan_EX(AppContext& ctx, QWidget* parent = nullptr);

    QProgressBar* progressBar() const { return progress_; }
    void ButExecuteClick();
};

}  // namespace cw
