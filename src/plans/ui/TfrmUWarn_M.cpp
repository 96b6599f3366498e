#include "plans/ui/TfrmUWarn_M.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "storage/Money.h"
#include "widgets/Dialogs.h"

namespace cw {

TfrmUWarn_M::TfrmUWarn_M(AppContext& ctx, const ReminderThresholds::Row& row, QWidget* parent)
    : QDialog(parent), ctx_(ctx), id_(row.id) {
    setWindowTitle(QStringLiteral("预警修改"));
    auto* group = new QGroupBox(QStringLiteral("提醒信息"), this);
    auto* form = new QFormLayout(group);
    kind_ = new QLabel(row.kind, group);
    member_ = new QLabel(row.member, group);
    amount_ = new QLineEdit(Money::plain(row.amount), group);
    amount_->setMaxLength(10);
    amount_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9.]*")), amount_));
    hint_ = new QLineEdit(row.hint.trimmed(), group);
    hint_->setMaxLength(50);
    form->addRow(QStringLiteral("提醒类别："), kind_);
    form->addRow(QStringLiteral("家庭成员："), member_);
    form->addRow(QStringLiteral("提醒金额："), amount_);
    form->addRow(QStringLiteral("提醒提示："), hint_);
    form->addRow(new QLabel(QStringLiteral("说明：每月 记账金额 达到 提醒金额 就有提示。"), group));
    QHBoxLayout* buttons = Dialogs::saveRow(this, &save_, &exit_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons);
    connect(save_, &QPushButton::clicked, this, &TfrmUWarn_M::ButSaveClick);
    connect(exit_, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmUWarn_M::ButSaveClick() {
    const auto v = ReminderThresholds(ctx_.dm).modify(id_, amount_->text(), hint_->text());
    if (!v.ok()) {
        ctx_.messages.inform(v.message);
        if (v.focus == ReminderThresholds::Field::Hint)
            hint_->setFocus();
        else
            amount_->setFocus();
        return;
    }
    ctx_.messages.inform(ReminderThresholds::kModified);
    accept();
}

}  // namespace cw
