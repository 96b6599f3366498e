#include "books/ui/TfrmNewF.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include "books/ui/TfrmNewA.h"
#include "widgets/DatePicker.h"
#include "widgets/QueryGrid.h"

namespace cw {

TfrmNewF::TfrmNewF(AppContext& ctx, QWidget* parent)
    : WizardStep(
          ctx,
          {QStringLiteral("家庭成员管理"), QStringLiteral("家庭成员管理  至少新增一个家庭成员"),
           QStringLiteral("单击 新增 按钮，录入 家庭成员 信息后，单击 保存 按钮。"),
           QStringLiteral("家庭成员信息"), QStringLiteral("下一步"), QStringLiteral("姓名"),
           QStringLiteral("至少新增一个家庭成员！")},
          {QStringLiteral("拼音码"), QStringLiteral("帐薄名称"), QStringLiteral("ID")}, parent) {
    QGroupBox* entry = entryGroup();
    name_ = new QLineEdit(entry);
    name_->setMaxLength(20);
    relation_ = new QLineEdit(entry);
    birthdayText_ = new QLineEdit(entry);
    birthdayText_->setReadOnly(true);
    birthday_ = new DatePicker(entry);
    remark_ = new QLineEdit(entry);
    // The birthday shows as stored while browsing and as a picker while a member is added;
    // both sit in the same place.
    auto* form = new QGridLayout(entry);
    form->addWidget(new QLabel(QStringLiteral("姓名："), entry), 0, 0);
    form->addWidget(name_, 0, 1);
    form->addWidget(new QLabel(QStringLiteral("关系："), entry), 0, 2);
    form->addWidget(relation_, 0, 3);
    form->addWidget(new QLabel(QStringLiteral("生日："), entry), 1, 0);
    form->addWidget(birthdayText_, 1, 1);
    form->addWidget(birthday_, 1, 1);
    form->addWidget(new QLabel(QStringLiteral("备注："), entry), 1, 2);
    form->addWidget(remark_, 1, 3);
    form->setColumnStretch(1, 1);
    form->setColumnStretch(3, 1);
    resize(640, 460);
    start();
}

Query TfrmNewF::rows() {
    return BookCreation(ctx_.dm).members();
}

void TfrmNewF::showRow(int row) {
    const QueryGridModel* m = grid()->gridModel();
    name_->setText(m->textAt(row, QStringLiteral("姓名")));
    relation_->setText(m->textAt(row, QStringLiteral("关系")));
    birthdayText_->setText(m->textAt(row, QStringLiteral("生日")));
    remark_->setText(m->textAt(row, QStringLiteral("备注")));
}

void TfrmNewF::modeChanged(bool adding) {
    birthday_->setVisible(adding);
    birthdayText_->setVisible(!adding);
}

void TfrmNewF::clearEntry() {
    for (QLineEdit* e : {name_, relation_, birthdayText_, remark_}) e->clear();
    birthday_->setDate(ctx_.clock.today());
    name_->setFocus();
}

BookCreation::Result TfrmNewF::saveEntry() {
    return BookCreation(ctx_.dm).addMember(name_->text(), relation_->text(), birthday_->text(),
                                           remark_->text());
}

QWidget* TfrmNewF::fieldFor(BookCreation::Field focus) const {
    return focus == BookCreation::Field::MemberName ? name_ : nullptr;
}

void TfrmNewF::deleteRow(qint64 id) {
    BookCreation(ctx_.dm).deleteMember(id);
}

void TfrmNewF::leadOn() {
    TfrmNewA accounts(ctx_, this);
    accounts.setDialogRunner(runDialog_);
    runDialog_(accounts);
}

}  // namespace cw
