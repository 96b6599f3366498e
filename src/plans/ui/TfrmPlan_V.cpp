#include "plans/ui/TfrmPlan_V.h"

#include <QMenu>
#include <QPushButton>
#include <QTableView>

#include "reports/ExportLayout.h"
#include "reports/ui/ExcelExport.h"

namespace cw {

TfrmPlan_V::TfrmPlan_V(AppContext& ctx, QWidget* parent)
    : PlanListScreen(ctx, QStringLiteral("查看计划"), QStringLiteral("Excel"), parent) {
    popup_ = new QMenu(this);
    popup_->addAction(QStringLiteral("删除选中计划 &D"), this, &TfrmPlan_V::deleteCurrent);
    popup_->addAction(QStringLiteral("全部删除 &A"), this, &TfrmPlan_V::deleteAll);
    grid()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid(), &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        // Nothing to delete before the first query.
        if (thirdButton()->isEnabled()) popup_->popup(grid()->viewport()->mapToGlobal(at));
    });
    connect(thirdButton(), &QPushButton::clicked, this, &TfrmPlan_V::ButExcelClick);
}

void TfrmPlan_V::deleteCurrent() {
    const int row = grid()->currentIndex().row();
    if (table().isEmpty() || row < 0) return;
    PlanBook(ctx_.dm).remove(table().rowId(row));
    ctx_.messages.inform(PlanBook::kDeleted);
    refresh();
}

void TfrmPlan_V::deleteAll() {
    if (!ctx_.messages.ask(QStringLiteral("确认要全部删除吗？该删除将不可恢复！"),
                           QStringLiteral("删除"), false))
        return;
    PlanBook(ctx_.dm).removeAll(filter_);
    ctx_.messages.inform(PlanBook::kDeleted);
    refresh();
}

void TfrmPlan_V::ButExcelClick() {
    ExcelExport::run(ctx_, ExportLayout::forScreen(QStringLiteral("TfrmPlan_V")), table(),
                     {ctx_.state.myBName, {}, {}});
}

}  // namespace cw
