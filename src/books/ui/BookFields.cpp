#include "books/ui/BookFields.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

#include "storage/DbError.h"
#include "widgets/Dialogs.h"

namespace cw {

namespace {

QLineEdit* lineEdit(QWidget* parent, int maxLength, const QString& hint = QString(),
                    bool masked = false) {
    auto* edit = new QLineEdit(parent);
    edit->setMaxLength(maxLength);
    edit->setToolTip(hint);
    if (masked) edit->setEchoMode(QLineEdit::Password);
    edit->setMinimumWidth(200);
    return edit;
}

}  // namespace

BookFields::BookFields(QWidget* parent) : QWidget(parent) {
    name_ = lineEdit(this, kNameLength, QStringLiteral("第一次使用的时候需要新建账簿。"));
    name_->setObjectName(QStringLiteral("nameEdit"));
    password_ = lineEdit(this, kPasswordLength, QStringLiteral("录入账簿的密码。"), true);
    password_->setObjectName(QStringLiteral("passwordEdit"));
    confirm_ = lineEdit(this, kPasswordLength, QStringLiteral("再输入一次确认密码。"), true);
    confirm_->setObjectName(QStringLiteral("confirmEdit"));
    remark_ = lineEdit(this, kRemarkLength);
    remark_->setObjectName(QStringLiteral("remarkEdit"));
    count_ = new QLabel(this);
    count_->setObjectName(QStringLiteral("countLabel"));

    auto* form = new QFormLayout(this);
    form->setContentsMargins(0, 0, 0, 0);
    form->addRow(QStringLiteral("账簿名称："), name_);
    form->addRow(QStringLiteral("新  密  码："), password_);
    form->addRow(QStringLiteral("确认密码："), confirm_);
    form->addRow(QStringLiteral("描        述："), remark_);
    form->addRow(QStringLiteral("目前账簿数："), count_);
}

void BookFields::offer(int bookCount) {
    setCount(bookCount);
    name_->setText(BookCreation::defaultBookName(bookCount));
}

void BookFields::setCount(int bookCount) {
    count_->setText(QString::number(bookCount));
}

QWidget* BookFields::field(BookCreation::Field field) const {
    switch (field) {
        case BookCreation::Field::BookName:
            return name_;
        case BookCreation::Field::Password:
            return password_;
        default:
            return nullptr;
    }
}

bool BookFields::save(AppContext& ctx, const Writer& write, const FieldFinder& otherField) {
    BookCreation books(ctx.dm);
    const QString name = name_->text();
    const QString password = password_->text();
    try {
        // The confirmation is a matter of the window; the rest is checked again as the
        // book is written.
        BookCreation::Result result = books.checkNewBook(name, password, confirm_->text());
        if (result.ok()) result = write(books, name, password, remark_->text());
        if (result.ok()) return true;
        QWidget* target = field(result.focus);
        if (!target && otherField) target = otherField(result);
        Dialogs::focusAndWarn(ctx.messages, target, result.message);
    } catch (const DbError& e) {
        ctx.messages.warn(e.message());
    }
    return false;
}

}  // namespace cw
