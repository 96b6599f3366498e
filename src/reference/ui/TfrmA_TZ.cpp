#include "reference/ui/TfrmA_TZ.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QVBoxLayout>

#include "reference/BalanceAdjustment.h"
#include "widgets/MoneyEdit.h"

namespace cw {

TfrmA_TZ::TfrmA_TZ(AppContext& ctx, qint64 id, const AccountRow& account, QWidget* parent)
    : ReferenceDialog(ctx, ReferenceList::of(ReferenceList::Accounts), id,
                      QStringLiteral("调整账户余额"), parent) {
    auto* before = new QGroupBox(QStringLiteral("原账户信息"), this);
    auto* beforeForm = new QFormLayout(before);
    const std::pair<QString, QString> rows[] = {
        {QStringLiteral("账户分类："), account.type},
        {QStringLiteral("家庭成员："), account.member},
        {QStringLiteral("账户名称："), account.name},
        {QStringLiteral("账户余额："), account.balance},
        {QStringLiteral("备        注："), account.remark},
    };
    for (const auto& [label, value] : rows) {
        auto* shown = new QLineEdit(value, before);
        shown->setReadOnly(true);
        beforeForm->addRow(label, shown);
        shown_ << shown;
    }

    auto* after = new QGroupBox(QStringLiteral("调整账户余额"), this);
    actual_ = new MoneyEdit(after);
    actual_->setMaxLength(kMaxLength);
    auto* afterForm = new QFormLayout(after);
    afterForm->addRow(QStringLiteral("实际余额："), actual_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(before);
    layout->addWidget(after);
    addButtons(layout, QStringLiteral("保存"), QStringLiteral("退出"));
    resize(420, sizeHint().height());
    actual_->setFocus();
}

ReferenceManager::Result TfrmA_TZ::save() {
    return BalanceAdjustment(ctx_.dm).adjust(rowId(), actual_->text());
}

QWidget* TfrmA_TZ::fieldFor(ReferenceManager::Field) const {
    return actual_;
}

QString TfrmA_TZ::savedMessage() const {
    return QStringLiteral("恭喜！恭喜！ 调整账户余额 保存成功！");
}

}  // namespace cw
