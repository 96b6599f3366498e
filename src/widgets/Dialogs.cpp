#include "widgets/Dialogs.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLineEdit>
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

}  // namespace cw
