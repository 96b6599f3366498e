#include "widgets/Messages.h"

#include <QApplication>

#include "widgets/MessageBox.h"

namespace cw {

namespace {

QString captionOr(const QString& caption) {
    return caption.isEmpty() ? QApplication::applicationDisplayName() : caption;
}

}  // namespace

void QtMessages::inform(const QString& text, const QString& caption) {
    MessageBox::make(QMessageBox::Information, text, captionOr(caption), QMessageBox::Ok,
                     QApplication::activeWindow())
        ->exec();
}

void QtMessages::warn(const QString& text, const QString& caption) {
    MessageBox::make(QMessageBox::Warning, text, captionOr(caption), QMessageBox::Ok,
                     QApplication::activeWindow())
        ->exec();
}

bool QtMessages::ask(const QString& text, const QString& caption, bool defaultYes) {
    const auto box =
        MessageBox::make(QMessageBox::Question, text, captionOr(caption),
                         QMessageBox::Yes | QMessageBox::No, QApplication::activeWindow());
    box->setDefaultButton(defaultYes ? QMessageBox::Yes : QMessageBox::No);
    return box->exec() == QMessageBox::Yes;
}

}  // namespace cw
