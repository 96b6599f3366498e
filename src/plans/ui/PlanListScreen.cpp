#include "plans/ui/PlanListScreen.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>

#include "plans/ui/PlanNames.h"
#include "reports/ui/ReportTableModel.h"
#include "storage/Money.h"
#include "storage/TfrmDM.h"
#include "widgets/DatePicker.h"
#include "widgets/NameComboBox.h"
#include "widgets/ReadOnlyGrid.h"

namespace cw {

PlanListScreen::PlanListScreen(AppContext& ctx, const QString& caption, const QString& thirdButton,
                               QWidget* parent)
    : QWidget(parent), ctx_(ctx) {
    setWindowTitle(caption);
    auto* panel = new QGroupBox(QStringLiteral("查询条件"), this);
    auto* grid = new QGridLayout(panel);

    auto* kindRow = new QHBoxLayout;
    kinds_ = new QButtonGroup(this);
    int index = 0;
    for (const QString& k : PlanBook::kinds()) {
        auto* b = new QRadioButton(k, panel);
        kinds_->addButton(b, index++);
        kindRow->addWidget(b);
    }
    kinds_->button(0)->setChecked(true);
    kindRow->addStretch();
    grid->addLayout(kindRow, 0, 0, 1, 4);

    const QDate today = ctx_.clock.today();
    dateBox_ = new QCheckBox(QStringLiteral("计划日期"), panel);
    from_ = new DatePicker(panel);
    from_->setDate(today);
    to_ = new DatePicker(panel);
    to_->setDate(today.addMonths(1));
    auto* dates = new QHBoxLayout;
    dates->addWidget(from_);
    dates->addWidget(new QLabel(QStringLiteral("至："), panel));
    dates->addWidget(to_);
    grid->addWidget(dateBox_, 1, 0);
    grid->addLayout(dates, 1, 1);

    nameBox_ = new QCheckBox(panel);
    name_ = new NameComboBox(panel);
    grid->addWidget(nameBox_, 1, 2);
    grid->addWidget(name_, 1, 3);
    accountBox_ = new QCheckBox(QStringLiteral("账户名称"), panel);
    account_ = new NameComboBox(panel);
    account_->setNames(ctx_.dm.DBComAccount());
    grid->addWidget(accountBox_, 2, 0);
    grid->addWidget(account_, 2, 1);
    memberBox_ = new QCheckBox(QStringLiteral("家庭成员"), panel);
    member_ = new NameComboBox(panel);
    member_->setNames(ctx_.dm.DBComFamily());
    grid->addWidget(memberBox_, 2, 2);
    grid->addWidget(member_, 2, 3);
    remarkBox_ = new QCheckBox(QStringLiteral("备        注"), panel);
    remark_ = new QLineEdit(panel);
    grid->addWidget(remarkBox_, 3, 0);
    grid->addWidget(remark_, 3, 1, 1, 3);

    buttonColumn_ = new QWidget(this);
    auto* buttons = new QVBoxLayout(buttonColumn_);
    query_ = new QPushButton(QStringLiteral("查询"), buttonColumn_);
    query_->setDefault(true);
    third_ = new QPushButton(thirdButton, buttonColumn_);
    third_->setEnabled(false);
    exit_ = new QPushButton(QStringLiteral("退出"), buttonColumn_);
    buttons->addWidget(query_);
    buttons->addWidget(third_);
    buttons->addWidget(exit_);
    buttons->addStretch();

    auto* top = new QHBoxLayout;
    top->addWidget(panel, 1);
    top->addWidget(buttonColumn_);

    grid_ = new QTableView(this);
    model_ = new ReportTableModel(this);
    grid_->setModel(model_);
    ReadOnlyGrid::setUp(grid_,
                        ReadOnlyGrid::OneRow | ReadOnlyGrid::Banded | ReadOnlyGrid::NoRowNumbers);

    count_ = new QLabel(QStringLiteral("笔数："), this);
    sum_ = new QLabel(QStringLiteral("合计金额："), this);
    auto* foot = new QHBoxLayout;
    foot->addWidget(count_);
    foot->addSpacing(40);
    foot->addWidget(sum_);
    foot->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(grid_, 1);
    layout->addLayout(foot);

    // Choosing or typing a value means filtering by it.
    for (auto [box, combo] : {std::pair{nameBox_, name_}, std::pair{accountBox_, account_},
                              std::pair{memberBox_, member_}}) {
        connect(combo, &QComboBox::activated, box, [box] { box->setChecked(true); });
        connect(combo->lineEdit(), &QLineEdit::textEdited, box, [box] { box->setChecked(true); });
    }
    connect(remark_, &QLineEdit::textEdited, remarkBox_, [this] { remarkBox_->setChecked(true); });
    connect(query_, &QPushButton::clicked, this, &PlanListScreen::ButQueryClick);
    connect(exit_, &QPushButton::clicked, this, &QWidget::close);
    connect(kinds_, &QButtonGroup::idClicked, this, [this] {
        kindChosen();
        ButQueryClick();
    });
    kindChosen();
}

QString PlanListScreen::kind() const {
    return PlanBook::kinds().value(kinds_->checkedId());
}

const ReportTable& PlanListScreen::table() const {
    return model_->table();
}

// The name filter of the new kind starts empty and unticked: the names of the kind before
// mean nothing now, and a name shown would read as a filter in force.
void PlanListScreen::kindChosen() {
    const QString k = kind();
    nameBox_->setText(PlanBook::nameTitle(k));
    nameBox_->setChecked(false);
    name_->setNames(PlanNames::of(ctx_.dm, k));
}

void PlanListScreen::ButQueryClick() {
    PlanBook::Filter f;
    f.kind = kind();
    if (dateBox_->isChecked()) f.dates = std::make_pair(from_->text(), to_->text());
    if (nameBox_->isChecked()) f.name = name_->text();
    if (accountBox_->isChecked()) f.account = account_->text();
    if (memberBox_->isChecked()) f.member = member_->text();
    if (remarkBox_->isChecked()) f.remark = remark_->text();
    filter_ = f;
    refresh();
    third_->setEnabled(true);
}

void PlanListScreen::refresh() {
    model_->setTable(PlanBook(ctx_.dm).list(filter_));
    const ReportTable& t = model_->table();
    // The remark, the free text, takes the width the others leave.
    ReadOnlyGrid::stretchColumn(grid_, t.columnOf(cw::Field::Remark));
    count_->setText(QStringLiteral("笔数：") + QString::number(t.rowCount()));
    sum_->setText(QStringLiteral("合计金额：") + Money::display(t.total(cw::Field::PMoney)));
}

}  // namespace cw
