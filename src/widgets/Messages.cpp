#include "widgets/Messages.h"

#include <QApplication>
#include <QMessageBox>

namespace cw {

namespace {

QString captionOr(const QString& caption) {
    return caption.isEmpty() ? QApplication::applicationDisplayName() : caption;
}

}  // namespace

void QtMessages::inform(const QString& text, const QString& caption) {
    QMessageBox::information(QApplication::activeWindow(), captionOr(caption), text);
}

void QtMessages::warn(const QString& text, const QString& caption) {
    QMessageBox::warning(QApplication::activeWindow(), captionOr(caption), text);
}

bool QtMessages::ask(const QString& text, const QString& caption, bool defaultYes) {
    return QMessageBox::question(QApplication::activeWindow(), captionOr(caption), text,
                                 QMessageBox::Yes | QMessageBox::No,
                                 defaultYes ? QMessageBox::Yes : QMessageBox::No) ==
           QMessageBox::Yes;
}

}  // namespace cw
