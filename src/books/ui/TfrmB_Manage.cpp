#include "books/ui/TfrmB_Manage.h"

#include <QHBoxLayout>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include "books/ui/TfrmB_M.h"
#include "storage/DbError.h"
#include "widgets/Navigator.h"
#include "widgets/QueryGrid.h"

namespace cw {

namespace {

const QString kNameColumn = QStringLiteral("账簿名称");

}  // namespace

TfrmB_Manage::TfrmB_Manage(AppContext& ctx, QWidget* parent)
    : QWidget(parent),
      ctx_(ctx),
      manager_(ctx.dm),
      runDialog_([](QDialog& d) { return d.exec(); }) {
    setObjectName(QStringLiteral("TfrmB_Manage"));
    setWindowTitle(QStringLiteral("账簿管理"));

    grid_ = new QueryGrid(this);
    grid_->setTitleSort(false);
    grid_->gridModel()->setHiddenColumns({QStringLiteral("ID")});
    grid_->setToolTip(QStringLiteral("亲，鼠标右键 有惊喜哟！"));
    navigator_ = new Navigator(this);
    navigator_->setGrid(grid_);

    delete_ = new QPushButton(QStringLiteral("删除（&D）"), this);
    exit_ = new QPushButton(QStringLiteral("退出（&X）"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(delete_);
    buttons->addWidget(exit_);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_, 1);
    layout->addWidget(navigator_, 0, Qt::AlignLeft);
    layout->addLayout(buttons);

    popup_ = new QMenu(this);
    modify_ = popup_->addAction(QStringLiteral("修改 &M"));
    grid_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { popup_->popup(grid_->viewport()->mapToGlobal(at)); });
    connect(modify_, &QAction::triggered, this, &TfrmB_Manage::ModifyClick);
    connect(delete_, &QPushButton::clicked, this, &TfrmB_Manage::ButDelClick);
    connect(exit_, &QPushButton::clicked, this, &TfrmB_Manage::ButExitClick);

    reload(QString());
}

QString TfrmB_Manage::currentBook() const {
    return grid_->gridModel()->textAt(grid_->currentRow(), kNameColumn);
}

void TfrmB_Manage::reload(const QString& select) {
    try {
        grid_->gridModel()->setQuery(manager_.books());
    } catch (const DbError& e) {
        ctx_.messages.warn(e.message());
        return;
    }
    for (int row = 0; row < grid_->gridModel()->rowCount(); ++row) {
        if (grid_->gridModel()->textAt(row, kNameColumn) == select) {
            grid_->selectRow(row);
            return;
        }
    }
}

void TfrmB_Manage::myRef() {
    reload(currentBook());
}

void TfrmB_Manage::ButDelClick() {
    if (grid_->currentRow() < 0) return;
    const QString book = currentBook();
    if (book == ctx_.state.myBName) {
        ctx_.messages.inform(QStringLiteral("不能删除当前打开账簿！"));
        return;
    }
    if (!ctx_.messages.ask(BookManager::kDeleteQuestion, QStringLiteral("删除"), false)) return;
    try {
        const BookManager::Result r = manager_.remove(book);
        if (!r.ok()) ctx_.messages.inform(r.message);
    } catch (const DbError& e) {
        ctx_.messages.warn(e.message());
    }
    // The row after the deleted one takes its place, as the grid shows it.
    const int row = grid_->currentRow();
    reload(QString());
    grid_->selectRow(qMin(row, grid_->gridModel()->rowCount() - 1));
}

void TfrmB_Manage::ButExitClick() {
    close();
}

void TfrmB_Manage::ModifyClick() {
    if (grid_->currentRow() < 0) return;
    const QString book = currentBook();
    TfrmB_M dialog(ctx_, book, this);
    runDialog_(dialog);
    // Reached when the program goes on (a refused or abandoned rename).
    myRef();
}

}  // namespace cw
