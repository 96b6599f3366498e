#include "plans/ui/TfrmPlan_EX.h"

#include <QLayout>
#include <QProgressBar>
#include <QPushButton>

#include "plans/ui/PlanRun.h"

namespace cw {

TfrmPlan_EX::TfrmPlan_EX(AppContext& ctx, QWidget* parent)
    : PlanListScreen(ctx, QStringLiteral("执行计划"), QStringLiteral("执行"), parent) {
    progress_ = new QProgressBar(buttonColumn_);
    progress_->setValue(0);
    buttonColumn_->layout()->addWidget(progress_);
    connect(thirdButton(), &QPushButton::clicked, this, &TfrmPlan_EX::ButExecuteClick);
}

void TfrmPlan_EX::ButExecuteClick() {
    if (!PlanRun::execute(ctx_, table(), progress_, true)) return;
    refresh();
}

}  // namespace cw
