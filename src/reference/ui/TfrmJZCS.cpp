#include "reference/ui/TfrmJZCS.h"

#include <QLineEdit>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace cw {

TfrmJZCS::TfrmJZCS(AppContext& ctx, const ReferenceList& list, qint64 id, const QString& group,
                   const QString& count, QWidget* parent)
    : ReferenceDialog(ctx, list, id, QStringLiteral("修改记账次数"), parent) {
    auto* layout = new QVBoxLayout(this);
    QLineEdit* edit =
        addSingleField(layout, group, QStringLiteral("记账次数："), count, kMaxLength);
    // ASCII digits only: no sign, no decimal point, no full-width digits.
    static const QRegularExpression digits(QStringLiteral("[0-9]*"));
    edit->setValidator(new QRegularExpressionValidator(digits, edit));
    addButtons(layout, QStringLiteral("修改"));
}

ReferenceManager::Result TfrmJZCS::save() {
    return manager().setCount(rowId(), countEdit()->text());
}

}  // namespace cw
