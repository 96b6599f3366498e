#pragma once

#include "plans/ui/PlanListScreen.h"

class QMenu;

namespace cw {

// 查看计划: lists, filters, exports and deletes open plans.
class TfrmPlan_V : public PlanListScreen {
    Q_OBJECT
  public:
    explicit TfrmPlan_V(AppContext& ctx, QWidget* parent = nullptr);

    // The grid's popup menu, attached after the first query.
    QMenu* popupMenu() const { return popup_; }
    void deleteCurrent();  // "删除选中计划 &D": no question
    void deleteAll();      // "全部删除 &A": the listed open plans, after a question
    void ButExcelClick();

  private:
    QMenu* popup_ = nullptr;
};

}  // namespace cw
