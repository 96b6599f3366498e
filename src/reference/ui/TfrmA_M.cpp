#include "reference/ui/TfrmA_M.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QVBoxLayout>

#include "storage/TfrmDM.h"
#include "widgets/PinyinKeySearch.h"

namespace cw {

namespace {

QComboBox* listBox(QWidget* parent, const QStringList& items, const QString& current) {
    auto* box = new QComboBox(parent);
    box->addItems(items);
    box->setCurrentIndex(box->findText(current, Qt::MatchExactly | Qt::MatchCaseSensitive));
    PinyinKeySearch::attach(box);
    return box;
}

}  // namespace

TfrmA_M::TfrmA_M(AppContext& ctx, qint64 id, const AccountRow& account, QWidget* parent)
    : ReferenceDialog(ctx, ReferenceList::of(ReferenceList::Accounts), id,
                      QStringLiteral("修改账户"), parent),
      oldName_(account.name) {
    auto* group = new QGroupBox(QStringLiteral("账户信息"), this);
    type_ = listBox(group, ctx.dm.DBComSAType(), account.type);
    member_ = listBox(group, ctx.dm.DBComFamily(), account.member);
    name_ = new QLineEdit(account.name, group);
    name_->setMaxLength(kNameLength);
    remark_ = new QLineEdit(account.remark, group);
    remark_->setMaxLength(kRemarkLength);
    auto* form = new QFormLayout(group);
    form->addRow(QStringLiteral("账户分类："), type_);
    form->addRow(QStringLiteral("家庭成员："), member_);
    form->addRow(QStringLiteral("账户名称："), name_);
    form->addRow(QStringLiteral("备        注："), remark_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    addButtons(layout, QStringLiteral("保存"), QStringLiteral("退出"));
    resize(420, sizeHint().height());
}

ReferenceManager::Result TfrmA_M::save() {
    ReferenceManager::Entry entry;
    entry.type = type_->currentText();
    entry.member = member_->currentText();
    entry.name = name_->text();
    entry.remark = remark_->text();
    return manager().modify(rowId(), entry);
}

QWidget* TfrmA_M::fieldFor(ReferenceManager::Field field) const {
    switch (field) {
        case ReferenceManager::Field::Type:
            return type_;
        case ReferenceManager::Field::Member:
            return member_;
        case ReferenceManager::Field::Name:
            return name_;
        default:
            return nullptr;
    }
}

QString TfrmA_M::savedMessage() const {
    return QStringLiteral("账户修改 保存成功！");
}

}  // namespace cw
