#include "books/ui/TfrmNewA.h"

#include "widgets/Dialogs.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include "books/ui/TfrmOpenBook.h"
#include "widgets/MoneyEdit.h"
#include "widgets/QueryGrid.h"

namespace cw {

namespace {

using Field = BookCreation::Field;

void selectText(QComboBox* box, const QString& text) {
    box->setCurrentIndex(box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
}

}  // namespace

TfrmNewA::TfrmNewA(AppContext& ctx, QWidget* parent)
    : WizardStep(ctx,
                 {QStringLiteral("账户初始金额"), QStringLiteral("账户初始金额  至少新增一个账户"),
                  QStringLiteral("单击 新增 按钮，录入 账户信息 后，单击 保存 按钮。"),
                  QStringLiteral("账户信息"), QStringLiteral("完成"), QStringLiteral("账户名称"),
                  QStringLiteral("至少新增一个账户！")},
                 {QStringLiteral("拼音码"), QStringLiteral("账薄名称"), QStringLiteral("状态"),
                  QStringLiteral("ID")},
                 parent) {
    grid()->gridModel()->setMoneyColumns({QStringLiteral("初始金额")});
    QGroupBox* entry = entryGroup();
    type_ = new QComboBox(entry);
    type_->addItems(ctx_.dm.DBComSAType());
    member_ = new QComboBox(entry);
    member_->addItems(ctx_.dm.DBComFamily());
    name_ = new QLineEdit(entry);
    name_->setMaxLength(20);
    amount_ = new MoneyEdit(entry);
    remark_ = new QLineEdit(entry);
    auto* form = new QGridLayout(entry);
    Dialogs::addFieldRow(form, QStringLiteral("账户分类："), type_,
                         QStringLiteral("注意：一定要选择账户分类"));
    Dialogs::addFieldRow(form, QStringLiteral("家庭成员："), member_,
                         QStringLiteral("该账户的所属人"));
    Dialogs::addFieldRow(form, QStringLiteral("账户名称："), name_,
                         QStringLiteral("例如 现金：我的现金 老公的现金；银行卡：我的农行卡"));
    Dialogs::addFieldRow(form, QStringLiteral("初始金额："), amount_,
                         QStringLiteral("该账户的实际金额，可以录入负数"));
    Dialogs::addFieldRow(form, QStringLiteral("备        注："), remark_);
    form->setColumnStretch(1, 1);
    form->setColumnStretch(2, 1);
    resize(760, 560);
    start();
}

Query TfrmNewA::rows() {
    return BookCreation(ctx_.dm).accounts();
}

void TfrmNewA::showRow(int row) {
    const QueryGridModel* m = grid()->gridModel();
    selectText(type_, m->textAt(row, QStringLiteral("账户分类")));
    selectText(member_, m->textAt(row, QStringLiteral("家庭成员")));
    name_->setText(m->textAt(row, QStringLiteral("账户名称")));
    amount_->setText(m->textAt(row, QStringLiteral("初始金额")));
    remark_->setText(m->textAt(row, QStringLiteral("备注")));
}

void TfrmNewA::clearEntry() {
    type_->setCurrentIndex(-1);
    member_->setCurrentIndex(-1);
    name_->clear();
    remark_->clear();
    amount_->setText(QStringLiteral("0"));
    type_->setFocus();
}

BookCreation::Result TfrmNewA::saveEntry() {
    BookCreation books(ctx_.dm);
    const QString type = type_->currentText();
    const QString member = member_->currentText();
    const QString name = name_->text();
    const BookCreation::Result refused = books.checkAccount(type, member, name, amount_->text());
    if (!refused.ok()) return refused;
    return books.openAccount(type, member, name, amount_->value(), remark_->text());
}

QWidget* TfrmNewA::fieldFor(Field focus) const {
    switch (focus) {
        case Field::AccountType:
            return type_;
        case Field::AccountMember:
            return member_;
        case Field::AccountName:
            return name_;
        case Field::Amount:
            return amount_;
        default:
            return nullptr;
    }
}

QString TfrmNewA::deleteRefusal(qint64 id) {
    return BookCreation(ctx_.dm).checkDeleteAccount(id).message;
}

void TfrmNewA::deleteRow(qint64 id) {
    BookCreation(ctx_.dm).deleteAccount(id);
}

void TfrmNewA::leadOn() {
    TfrmOpenBook login(ctx_, this);
    runDialog_(login);
}

}  // namespace cw
