#include "books/ui/WizardStep.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "storage/DbError.h"
#include "widgets/Dialogs.h"
#include "widgets/QueryGrid.h"

namespace cw {

namespace {

QPushButton* button(const QString& caption, QWidget* parent, QHBoxLayout* row) {
    auto* b = new QPushButton(caption, parent);
    // Enter in a field must not add or save behind the user's back.
    b->setAutoDefault(false);
    row->addWidget(b);
    return b;
}

}  // namespace

WizardStep::WizardStep(AppContext& ctx, const Captions& captions, const QStringList& hiddenColumns,
                       QWidget* parent)
    : QDialog(parent),
      ctx_(ctx),
      runDialog_([](QDialog& d) { return d.exec(); }),
      captions_(captions) {
    setWindowTitle(captions.window);

    auto* listGroup = new QGroupBox(captions.list, this);
    auto* note = new QLabel(captions.note, listGroup);
    grid_ = new QueryGrid(listGroup);
    grid_->setTitleSort(false);
    grid_->gridModel()->setHiddenColumns(hiddenColumns);
    auto* listLayout = new QVBoxLayout(listGroup);
    listLayout->addWidget(note);
    listLayout->addWidget(grid_);

    entry_ = new QGroupBox(captions.entry, this);

    auto* buttons = new QHBoxLayout;
    new_ = button(QStringLiteral("新增（&N）"), this, buttons);
    save_ = button(QStringLiteral("保存（&S）"), this, buttons);
    cancel_ = button(QStringLiteral("取消（&C）"), this, buttons);
    delete_ = button(QStringLiteral("删除（&D）"), this, buttons);
    buttons->addStretch();
    forward_ = button(captions.forward, this, buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(listGroup, 1);
    layout->addWidget(entry_);
    layout->addLayout(buttons);

    connect(grid_, &QueryGrid::currentRowChanged, this, [this](int row) {
        if (!adding_) showRow(row);
    });
    connect(new_, &QPushButton::clicked, this, &WizardStep::ButNewClick);
    connect(save_, &QPushButton::clicked, this, &WizardStep::ButSaveClick);
    connect(cancel_, &QPushButton::clicked, this, &WizardStep::ButCancelClick);
    connect(delete_, &QPushButton::clicked, this, &WizardStep::ButDelClick);
    connect(forward_, &QPushButton::clicked, this, &WizardStep::ButForwardClick);
}

void WizardStep::start() {
    reload();
    browse();
}

void WizardStep::reload(qint64 selectId) {
    grid_->gridModel()->setQuery(rows());
    if (selectId > 0) grid_->selectId(selectId);
}

void WizardStep::setAdding(bool adding) {
    adding_ = adding;
    entry_->setEnabled(adding);
    grid_->setLocked(adding);
    forward_->setEnabled(!adding);
    save_->setEnabled(adding);
    cancel_->setEnabled(adding);
    new_->setEnabled(!adding);
    delete_->setEnabled(!adding);
    modeChanged(adding);
}

void WizardStep::browse() {
    setAdding(false);
    showRow(grid_->currentRow());
}

void WizardStep::ButNewClick() {
    setAdding(true);
    clearEntry();
}

void WizardStep::ButSaveClick() {
    if (!adding_) return;
    try {
        const BookCreation::Result result = saveEntry();
        if (!result.ok()) {
            Dialogs::focusAndWarn(ctx_.messages, fieldFor(result.focus), result.message);
            return;
        }
        adding_ = false;
        reload(result.id);
    } catch (const DbError& e) {
        ctx_.messages.warn(e.message());
        return;
    }
    browse();
}

void WizardStep::ButCancelClick() {
    browse();
}

void WizardStep::ButDelClick() {
    const int row = grid_->currentRow();
    if (adding_ || grid_->gridModel()->textAt(row, captions_.nameColumn).isEmpty()) return;
    const qint64 id = grid_->gridModel()->valueAt(row, QStringLiteral("ID")).toLongLong();
    try {
        const QString refusal = deleteRefusal(id);
        if (!refusal.isEmpty()) {
            Dialogs::focusAndWarn(ctx_.messages, nullptr, refusal);
            return;
        }
        if (!Dialogs::askDelete(ctx_.messages)) return;
        deleteRow(id);
        reload();
    } catch (const DbError& e) {
        ctx_.messages.warn(e.message());
    }
    browse();
}

void WizardStep::ButForwardClick() {
    if (grid_->gridModel()->rowCount() == 0) {
        Dialogs::focusAndWarn(ctx_.messages, nullptr, captions_.empty);
        return;
    }
    leadOn();
    accept();
}

}  // namespace cw
