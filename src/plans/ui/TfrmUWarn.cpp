#include "plans/ui/TfrmUWarn.h"

#include <QButtonGroup>
#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTableWidget>
#include <QVBoxLayout>

#include "plans/ui/TfrmUWarn_M.h"
#include "storage/Money.h"
#include "storage/TfrmDM.h"
#include "widgets/NameComboBox.h"
#include "widgets/ReadOnlyGrid.h"

namespace cw {

namespace {

constexpr int kHintColumn = 3;  // 提醒提示

}  // namespace

TfrmUWarn::TfrmUWarn(AppContext& ctx, QWidget* parent)
    : QWidget(parent), ctx_(ctx), runDialog_([](QDialog& d) { return d.exec(); }) {
    setWindowTitle(QStringLiteral("提醒设置"));
    grid_ = new QTableWidget(this);
    grid_->setColumnCount(5);
    grid_->setHorizontalHeaderLabels({QStringLiteral("提醒类别"), QStringLiteral("家庭成员"),
                                      QStringLiteral("提醒金额"), QStringLiteral("提醒提示"),
                                      QStringLiteral("状态")});
    ReadOnlyGrid::setUp(grid_, ReadOnlyGrid::OneRow | ReadOnlyGrid::NoRowNumbers);
    grid_->setToolTip(QStringLiteral("亲，鼠标右键 有惊喜哟！"));

    auto* nav = new QHBoxLayout;
    const auto navButton = [this, nav](const QString& text, std::function<int(int, int)> to) {
        auto* b = new QPushButton(text, this);
        nav->addWidget(b);
        connect(b, &QPushButton::clicked, this, [this, to] {
            const int n = grid_->rowCount();
            if (n == 0 || adding_) return;
            grid_->selectRow(qBound(0, to(currentRow(), n), n - 1));
        });
    };
    navButton(QStringLiteral("第一条"), [](int, int) { return 0; });
    navButton(QStringLiteral("上一条"), [](int r, int) { return r - 1; });
    navButton(QStringLiteral("下一条"), [](int r, int) { return r + 1; });
    navButton(QStringLiteral("最后一条"), [](int, int n) { return n - 1; });
    nav->addStretch();

    entry_ = new QGroupBox(QStringLiteral("提醒信息"), this);
    auto* form = new QGridLayout(entry_);
    auto* kindRow = new QHBoxLayout;
    kinds_ = new QButtonGroup(this);
    int index = 0;
    for (const QString& k : ReminderThresholds::kinds()) {
        auto* b = new QRadioButton(k, entry_);
        kinds_->addButton(b, index++);
        kindRow->addWidget(b);
    }
    kinds_->button(1)->setChecked(true);  // 支出
    kindRow->addStretch();
    member_ = new NameComboBox(entry_);
    member_->setNames(ctx_.dm.DBComFamily());
    amount_ = new QLineEdit(entry_);
    amount_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9.]*")), amount_));
    hint_ = new QLineEdit(entry_);
    form->addWidget(new QLabel(QStringLiteral("提醒类别："), entry_), 0, 0);
    form->addLayout(kindRow, 0, 1);
    form->addWidget(new QLabel(QStringLiteral("家庭成员："), entry_), 1, 0);
    form->addWidget(member_, 1, 1);
    form->addWidget(new QLabel(QStringLiteral("提醒金额："), entry_), 2, 0);
    form->addWidget(amount_, 2, 1);
    form->addWidget(new QLabel(QStringLiteral("提醒提示："), entry_), 3, 0);
    form->addWidget(hint_, 3, 1);
    form->addWidget(
        new QLabel(QStringLiteral("说明：每月 记账金额 达到 提醒金额 就有提示。"), entry_), 4, 0, 1,
        2);

    new_ = new QPushButton(QStringLiteral("新增（&N）"), this);
    save_ = new QPushButton(QStringLiteral("保存（&S）"), this);
    cancel_ = new QPushButton(QStringLiteral("取消（&C）"), this);
    delete_ = new QPushButton(QStringLiteral("删除（&D）"), this);
    exit_ = new QPushButton(QStringLiteral("退出（&X）"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {new_, save_, cancel_, delete_, exit_}) buttons->addWidget(b);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_, 1);
    layout->addLayout(nav);
    layout->addWidget(entry_);
    layout->addLayout(buttons);

    popup_ = new QMenu(this);
    popup_->addAction(QStringLiteral("启用 &S"), this,
                      [this] { setState(ReminderThresholds::kEnabled); });
    popup_->addAction(QStringLiteral("停用 &E"), this,
                      [this] { setState(ReminderThresholds::kDisabled); });
    popup_->addSeparator();
    popup_->addAction(QStringLiteral("修改 &M"), this, &TfrmUWarn::modify);
    grid_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (!adding_) popup_->popup(grid_->viewport()->mapToGlobal(at));
    });

    connect(new_, &QPushButton::clicked, this, &TfrmUWarn::ButNewClick);
    connect(save_, &QPushButton::clicked, this, &TfrmUWarn::ButSaveClick);
    connect(cancel_, &QPushButton::clicked, this, &TfrmUWarn::ButCancelClick);
    connect(delete_, &QPushButton::clicked, this, &TfrmUWarn::ButDelClick);
    connect(exit_, &QPushButton::clicked, this, &QWidget::close);
    connect(grid_, &QTableWidget::currentCellChanged, this, [this](int row) {
        if (!adding_) showRow(row);
    });
    myRef();
    setMode(false);
}

int TfrmUWarn::currentRow() const {
    const int r = grid_->currentRow();
    return r >= 0 && r < int(rows_.size()) ? r : -1;
}

void TfrmUWarn::myRef() {
    const int keep = currentRow();
    rows_ = ReminderThresholds(ctx_.dm).list();
    grid_->setRowCount(int(rows_.size()));
    for (int r = 0; r < int(rows_.size()); ++r) {
        const auto& row = rows_[size_t(r)];
        const QStringList cells = {row.kind, row.member, Money::display(row.amount), row.hint,
                                   row.state};
        for (int c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (c == 2) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grid_->setItem(r, c, item);
        }
    }
    // The prompt, the free text, takes the spare width; 状态 needs only its two characters.
    ReadOnlyGrid::stretchColumn(grid_, kHintColumn);
    if (!rows_.empty()) grid_->selectRow(qBound(0, keep, int(rows_.size()) - 1));
    showRow(currentRow());
}

void TfrmUWarn::showRow(int row) {
    if (row < 0 || row >= int(rows_.size())) {
        member_->setText(QString());
        amount_->clear();
        hint_->clear();
        return;
    }
    const auto& r = rows_[size_t(row)];
    member_->setText(r.member);
    amount_->setText(Money::plain(r.amount));
    hint_->setText(r.hint);
}

void TfrmUWarn::setMode(bool adding) {
    adding_ = adding;
    entry_->setEnabled(adding);
    new_->setEnabled(!adding);
    delete_->setEnabled(!adding);
    save_->setEnabled(adding);
    cancel_->setEnabled(adding);
    grid_->setEnabled(!adding);
}

void TfrmUWarn::ButNewClick() {
    setMode(true);
    member_->setText(QString());
    amount_->clear();
    hint_->clear();
    member_->setFocus();
}

void TfrmUWarn::ButSaveClick() {
    if (!adding_) return;
    const QString kind = ReminderThresholds::kinds().value(kinds_->checkedId());
    const auto v =
        ReminderThresholds(ctx_.dm).add(kind, member_->text(), amount_->text(), hint_->text());
    if (!v.ok()) {
        ctx_.messages.inform(v.message);
        if (v.focus == ReminderThresholds::Field::Member) member_->setFocus();
        if (v.focus == ReminderThresholds::Field::Amount) amount_->setFocus();
        if (v.focus == ReminderThresholds::Field::Hint) hint_->setFocus();
        return;  // stays in adding mode
    }
    setMode(false);
    myRef();
}

void TfrmUWarn::ButCancelClick() {
    setMode(false);
    showRow(currentRow());
}

void TfrmUWarn::ButDelClick() {
    const int row = currentRow();
    if (row < 0) return;
    if (!ctx_.messages.ask(QStringLiteral("确认要删除吗？该删除将不可恢复！"),
                           QStringLiteral("删除"), false))
        return;
    ReminderThresholds(ctx_.dm).remove(rows_[size_t(row)].id);
    myRef();
}

void TfrmUWarn::setState(const QString& state) {
    const int row = currentRow();
    if (row >= 0) ReminderThresholds(ctx_.dm).setState(rows_[size_t(row)].id, state);
    myRef();
}

void TfrmUWarn::modify() {
    const int row = currentRow();
    if (row < 0) return;
    TfrmUWarn_M dialog(ctx_, rows_[size_t(row)], this);
    if (runDialog_(dialog) == QDialog::Accepted) myRef();
}

}  // namespace cw
