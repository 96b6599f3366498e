#include "books/ui/TfrmChangePass.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "storage/DbError.h"
#include "widgets/Dialogs.h"

namespace cw {

TfrmChangePass::TfrmChangePass(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx) {
    setWindowTitle(QStringLiteral("修改密码"));

    auto* group = new QGroupBox(QStringLiteral("修改密码"), this);
    oldEdit_ = passwordField(group);
    newEdit_ = passwordField(group);
    confirmEdit_ = passwordField(group);
    auto* form = new QFormLayout(group);
    form->addRow(QStringLiteral("原  密  码："), oldEdit_);
    form->addRow(QStringLiteral("新  密  码："), newEdit_);
    form->addRow(QStringLiteral("确认密码："), confirmEdit_);

    QHBoxLayout* buttons = Dialogs::saveRow(this, &saveButton_, &exitButton_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons);
    resize(340, 190);

    connect(saveButton_, &QPushButton::clicked, this, &TfrmChangePass::ButSaveClick);
    connect(exitButton_, &QPushButton::clicked, this, &QDialog::reject);
}

QLineEdit* TfrmChangePass::passwordField(QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setEchoMode(QLineEdit::Password);
    edit->setMaxLength(20);
    edit->setMinimumWidth(180);
    return edit;
}

void TfrmChangePass::ButSaveClick() {
    BookLogin::Result result;
    try {
        result = BookLogin(ctx_.dm).changePassword(oldEdit_->text(), newEdit_->text(),
                                                   confirmEdit_->text());
    } catch (const DbError& e) {
        ctx_.messages.warn(e.message());
        return;
    }
    ctx_.messages.inform(result.message);
    if (!result.ok) {
        focusField(result.focus);
        return;
    }
    accept();
    // The password is read only at login, so the program starts over (no exit question,
    // no backup copy).
    if (ctx_.endProgram) ctx_.endProgram();
}

void TfrmChangePass::focusField(BookLogin::Field field) {
    QLineEdit* edit = field == BookLogin::Field::OldPassword    ? oldEdit_
                      : field == BookLogin::Field::NewPassword  ? newEdit_
                      : field == BookLogin::Field::Confirmation ? confirmEdit_
                                                                : nullptr;
    if (!edit) return;
    edit->setFocus();
    edit->selectAll();
}

}  // namespace cw
