#include "bookkeeping/ui/TfrmBorrow_R.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "bookkeeping/ui/SubDialogFields.h"
#include "storage/DbError.h"
#include "storage/TfrmDM.h"
#include "widgets/DatePicker.h"
#include "widgets/Dialogs.h"

namespace cw {

namespace {

// "还债", "收债" or "收益": the caption, the group and the button.
QString wordOf(const PostingKind& kind) {
    switch (kind.id) {
        case PostingKind::Id::Debt:
            return QStringLiteral("还债");
        case PostingKind::Id::Credit:
            return QStringLiteral("收债");
        default:
            return QStringLiteral("收益");
    }
}

}  // namespace

TfrmBorrow_R::TfrmBorrow_R(AppContext& ctx, const PostingKind& kind,
                           const SubPostingRules::Parent& parent, QWidget* parent_widget)
    : QDialog(parent_widget), ctx_(ctx), kind_(kind), parent_(parent) {
    const SubPostingKind& sub = *SubPostingKind::of(kind);
    const QString word = wordOf(kind);
    setObjectName(kind.className + QStringLiteral("_R"));
    setWindowTitle(word);

    const SubPostingRules::Entry preset = SubPostingRules(ctx.dm).settlementPreset(kind, parent);

    auto* group = new QGroupBox(word, this);
    auto* form = new QGridLayout(group);
    date_ = new DatePicker(group);
    date_->setText(preset.date);
    amount_ = SubDialogFields::amount(group, false);
    amount_->setText(preset.amount);
    account_ = SubDialogFields::pickList(group, ctx.dm.DBComAccount(), preset.account);
    member_ = SubDialogFields::pickList(group, ctx.dm.DBComFamily(), preset.member);
    remark_ = SubDialogFields::remark(group);
    remark_->setText(preset.remark);

    Dialogs::addFieldRow(
        form, sub.hasProfit() ? QStringLiteral("收益日期：") : QStringLiteral("日        期："),
        date_);
    Dialogs::addFieldRow(form, sub.settleLabel + QStringLiteral("："), amount_);
    if (sub.hasProfit()) {
        profit_ = SubDialogFields::amount(group, true);
        profit_->setText(preset.profit);
        Dialogs::addFieldRow(form, QStringLiteral("收益金额："), profit_);
    }
    Dialogs::addFieldRow(form, QStringLiteral("账户名称："), account_);
    Dialogs::addFieldRow(form, QStringLiteral("家庭成员："), member_);
    Dialogs::addFieldRow(form, QStringLiteral("备        注："), remark_);

    settle_ = new QPushButton(word, this);
    settle_->setDefault(true);
    exit_ = new QPushButton(QStringLiteral("退出"), this);
    auto* bar = new QHBoxLayout;
    bar->addStretch();
    bar->addWidget(settle_);
    bar->addWidget(exit_);

    auto* box = new QVBoxLayout(this);
    box->addWidget(group);
    box->addLayout(bar);

    connect(settle_, &QPushButton::clicked, this, &TfrmBorrow_R::ButSaveClick);
    connect(exit_, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmBorrow_R::ButSaveClick() {
    SubPostingRules rules(ctx_.dm);
    const SubDialogFields::Widgets w{date_, amount_, profit_, account_, member_, remark_};
    const SubPostingRules::Entry e = SubDialogFields::entryOf(w);
    const bool done = SubDialogFields::submit(
        ctx_.messages, w, [&] { return rules.validateSettlement(kind_, e, parent_.outstanding); },
        [&] { rules.settle(kind_, parent_.id, e); });
    if (done) accept();
}

}  // namespace cw
