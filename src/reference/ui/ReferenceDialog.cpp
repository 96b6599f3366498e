#include "reference/ui/ReferenceDialog.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "storage/DbError.h"
#include "widgets/Dialogs.h"

namespace cw {

ReferenceDialog::ReferenceDialog(AppContext& ctx, const ReferenceList& list, qint64 id,
                                 const QString& caption, QWidget* parent)
    : QDialog(parent), ctx_(ctx), list_(list), id_(id) {
    setWindowTitle(caption);
}

void ReferenceDialog::addButtons(QVBoxLayout* layout, const QString& saveCaption,
                                 const QString& exitCaption) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    save_ = new QPushButton(saveCaption, this);
    save_->setDefault(true);
    row->addWidget(save_);
    connect(save_, &QPushButton::clicked, this, &ReferenceDialog::ButSaveClick);
    if (!exitCaption.isEmpty()) {
        exit_ = new QPushButton(exitCaption, this);
        exit_->setAutoDefault(false);
        row->addWidget(exit_);
        connect(exit_, &QPushButton::clicked, this, &QDialog::reject);
    }
    layout->addLayout(row);
}

QLineEdit* ReferenceDialog::addSingleField(QVBoxLayout* layout, const QString& group,
                                           const QString& label, const QString& value,
                                           int maxLength) {
    auto* box = new QGroupBox(group, this);
    auto* edit = new QLineEdit(box);
    edit->setMaxLength(maxLength);
    edit->setText(value);
    auto* row = new QHBoxLayout(box);
    row->addWidget(new QLabel(label, box));
    row->addWidget(edit, 1);
    layout->addWidget(box);
    single_ = edit;
    return edit;
}

QWidget* ReferenceDialog::fieldFor(ReferenceManager::Field) const {
    return single_;
}

void ReferenceDialog::ButSaveClick() {
    try {
        const ReferenceManager::Result r = save();
        if (!r.ok()) {
            Dialogs::focusAndWarn(ctx_.messages, fieldFor(r.focus), r.message);
            return;
        }
    } catch (const DbError& e) {
        ctx_.messages.warn(e.message());
        return;
    }
    const QString message = savedMessage();
    if (!message.isEmpty()) ctx_.messages.inform(message);
    if (ownerRefresh_) ownerRefresh_();
    accept();
}

}  // namespace cw
