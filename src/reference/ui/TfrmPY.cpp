#include "reference/ui/TfrmPY.h"

#include <QLineEdit>
#include <QVBoxLayout>

namespace cw {

TfrmPY::TfrmPY(AppContext& ctx, const ReferenceList& list, qint64 id, const QString& caption,
               const QString& code, QWidget* parent)
    : ReferenceDialog(ctx, list, id, caption, parent) {
    auto* layout = new QVBoxLayout(this);
    addSingleField(layout, caption, QStringLiteral("拼  音  码："), code, kMaxLength);
    addButtons(layout, QStringLiteral("修改"));
}

ReferenceManager::Result TfrmPY::save() {
    return manager().setPinyin(rowId(), codeEdit()->text());
}

}  // namespace cw
