#include "plans/ui/TfrmPlan_Now.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "plans/PlanBook.h"
#include "plans/ui/PlanRun.h"
#include "reports/ui/ReportTableModel.h"
#include "storage/Money.h"
#include "widgets/ReadOnlyGrid.h"

namespace cw {

TfrmPlan_Now::TfrmPlan_Now(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx) {
    setWindowTitle(QStringLiteral("到今天未执行的计划"));
    grid_ = new QTableView(this);
    model_ = new ReportTableModel(this);
    grid_->setModel(model_);
    ReadOnlyGrid::setUp(grid_, ReadOnlyGrid::Banded | ReadOnlyGrid::NoRowNumbers);
    count_ = new QLabel(this);
    sum_ = new QLabel(this);
    execute_ = new QPushButton(QStringLiteral("执行"), this);
    exit_ = new QPushButton(QStringLiteral("退出"), this);
    progress_ = new QProgressBar(this);
    progress_->setValue(0);

    auto* foot = new QHBoxLayout;
    foot->addWidget(count_);
    foot->addSpacing(40);
    foot->addWidget(sum_);
    foot->addStretch();
    foot->addWidget(progress_);
    foot->addWidget(execute_);
    foot->addWidget(exit_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_, 1);
    layout->addLayout(foot);
    resize(820, 460);

    connect(execute_, &QPushButton::clicked, this, &TfrmPlan_Now::ButExecuteClick);
    connect(exit_, &QPushButton::clicked, this, &QDialog::reject);
    load();
}

void TfrmPlan_Now::load() {
    model_->setTable(PlanBook(ctx_.dm).due());
    const ReportTable& t = model_->table();
    // The remark, the free text, takes the width the others leave.
    ReadOnlyGrid::stretchColumn(grid_, t.columnOf(cw::Field::Remark));
    count_->setText(QStringLiteral("笔数：") + QString::number(t.rowCount()));
    sum_->setText(QStringLiteral("合计金额：") + Money::display(t.total(cw::Field::PMoney)));
}

void TfrmPlan_Now::ButExecuteClick() {
    if (!PlanRun::execute(ctx_, model_->table(), progress_, false)) return;
    // After a failure the plans left open stay listed; after a full run the window closes.
    load();
    if (model_->table().isEmpty()) accept();
}

}  // namespace cw
