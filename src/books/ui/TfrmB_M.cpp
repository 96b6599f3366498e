#include "books/ui/TfrmB_M.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "books/BookManager.h"
#include "books/ui/DialogParts.h"
#include "storage/DbError.h"
#include "widgets/Dialogs.h"

namespace cw {

TfrmB_M::TfrmB_M(AppContext& ctx, const QString& oldName, QWidget* parent)
    : QDialog(parent), ctx_(ctx), oldName_(oldName) {
    setWindowTitle(oldName + QStringLiteral(" 修改"));

    auto* group = new QGroupBox(QStringLiteral("账簿名称"), this);
    name_ = new QLineEdit(oldName, group);
    name_->setMaxLength(kMaxLength);
    name_->setMinimumWidth(200);
    auto* form = new QFormLayout(group);
    form->addRow(QStringLiteral("账簿名称："), name_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    const DialogParts::Foot foot = DialogParts::addFoot(*this, layout, QStringLiteral("修改"));
    modify_ = foot.action;
    exit_ = foot.exit;

    connect(modify_, &QPushButton::clicked, this, &TfrmB_M::ButModifyClick);
}

void TfrmB_M::ButModifyClick() {
    BookManager::Result r;
    try {
        r = BookManager(ctx_.dm).rename(oldName_, name_->text());
    } catch (const DbError& e) {
        ctx_.messages.warn(e.message());
        return;
    }
    if (!r.ok()) {
        Dialogs::focusAndWarn(ctx_.messages, name_, r.message);
        return;
    }
    ctx_.messages.inform(BookManager::kRenamed);
    accept();
    // Every screen holds the book by its old name; the program starts over (no exit
    // question, no backup copy).
    if (ctx_.endProgram) ctx_.endProgram();
}

}  // namespace cw
