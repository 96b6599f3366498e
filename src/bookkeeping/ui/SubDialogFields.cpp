#include "bookkeeping/ui/SubDialogFields.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

namespace cw {

QLineEdit* SubDialogFields::amount(QWidget* parent, bool signed_) {
    auto* edit = new QLineEdit(parent);
    // Room for any amount a preset can carry (a large outstanding debt with cents).
    edit->setMaxLength(20);
    const QString pattern = signed_ ? QStringLiteral("[-0-9.]*") : QStringLiteral("[0-9.]*");
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), edit));
    return edit;
}

QComboBox* SubDialogFields::pickList(QWidget* parent, const QStringList& names,
                                     const QString& preset) {
    auto* box = new QComboBox(parent);
    box->setEditable(false);
    box->addItems(names);
    box->setCurrentIndex(int(names.indexOf(preset)));
    return box;
}

QLineEdit* SubDialogFields::remark(QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setMaxLength(50);
    return edit;
}

QString SubDialogFields::picked(const QComboBox* box) {
    return box->currentIndex() < 0 ? QString() : box->currentText();
}

}  // namespace cw
