#include "widgets/Dialogs.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include "widgets/Messages.h"

namespace cw {

void Dialogs::focusAndWarn(Messages& messages, QWidget* field, const QString& text,
                           const QString& caption) {
    messages.warn(text, caption);
    if (!field) return;
    field->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(field)) {
        edit->selectAll();
    } else if (auto* combo = qobject_cast<QComboBox*>(field); combo && combo->lineEdit()) {
        combo->lineEdit()->selectAll();
    } else if (auto* spin = qobject_cast<QAbstractSpinBox*>(field)) {
        spin->selectAll();
    }
}

bool Dialogs::askDelete(Messages& messages) {
    return messages.ask(QStringLiteral("确认要删除吗？该删除将不可恢复！"), QStringLiteral("删除"),
                        false);
}

void Dialogs::addFieldRow(QGridLayout* form, const QString& label, QWidget* field,
                          const QString& hint, int row) {
    if (row < 0) row = form->rowCount();
    QWidget* parent = field->parentWidget();
    form->addWidget(new QLabel(label, parent), row, 0);
    form->addWidget(field, row, 1);
    if (hint.isEmpty()) return;
    field->setToolTip(hint);
    auto* note = new QLabel(hint, parent);
    note->setStyleSheet(QStringLiteral("color: #1f4e9c;"));
    form->addWidget(note, row, 2);
}

QHBoxLayout* Dialogs::saveRow(QWidget* dialog, QPushButton** save, QPushButton** exit,
                              const QString& exitText) {
    *save = new QPushButton(QStringLiteral("保存"), dialog);
    (*save)->setDefault(true);
    *exit = new QPushButton(exitText, dialog);
    (*exit)->setAutoDefault(false);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(*save);
    row->addWidget(*exit);
    return row;
}

}  // namespace cw
