#include "widgets/Navigator.h"

#include <QHBoxLayout>
#include <QPushButton>

#include "widgets/QueryGrid.h"

namespace cw {

Navigator::Navigator(QWidget* parent)
    : QWidget(parent),
      first_(makeButton(QStringLiteral("第一条"), "navFirst")),
      prior_(makeButton(QStringLiteral("上一条"), "navPrior")),
      next_(makeButton(QStringLiteral("下一条"), "navNext")),
      last_(makeButton(QStringLiteral("最后一条"), "navLast")) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    for (QPushButton* b : {first_, prior_, next_, last_}) layout->addWidget(b);
    connect(first_, &QPushButton::clicked, this, &Navigator::first);
    connect(prior_, &QPushButton::clicked, this, &Navigator::prior);
    connect(next_, &QPushButton::clicked, this, &Navigator::next);
    connect(last_, &QPushButton::clicked, this, &Navigator::last);
    updateState();
}

QPushButton* Navigator::makeButton(const QString& caption, const char* name) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(QLatin1String(name));
    button->setToolTip(caption);
    button->setFocusPolicy(Qt::NoFocus);  // moving through the list keeps the focus where it is
    return button;
}

void Navigator::setGrid(QueryGrid* grid) {
    if (grid_) {
        disconnect(grid_, nullptr, this, nullptr);
        disconnect(grid_->gridModel(), nullptr, this, nullptr);
    }
    grid_ = grid;
    if (grid_) {
        QueryGridModel* model = grid_->gridModel();
        connect(grid_, &QueryGrid::currentRowChanged, this, &Navigator::updateState);
        connect(grid_, &QueryGrid::lockedChanged, this, &Navigator::updateState);
        connect(model, &QAbstractItemModel::modelReset, this, &Navigator::updateState);
        connect(model, &QAbstractItemModel::rowsInserted, this, &Navigator::updateState);
        connect(model, &QAbstractItemModel::rowsRemoved, this, &Navigator::updateState);
        connect(model, &QAbstractItemModel::layoutChanged, this, &Navigator::updateState);
    }
    updateState();
}

void Navigator::updateState() {
    const int rows = grid_ ? grid_->gridModel()->rowCount() : 0;
    const bool usable = grid_ && !grid_->isLocked() && rows > 0;
    const int row = usable ? grid_->currentRow() : -1;
    const bool moreToRead = usable && grid_->gridModel()->canFetchMore();
    const bool atFirst = row <= 0;
    const bool atLast = row >= rows - 1 && !moreToRead;
    first_->setEnabled(usable && !atFirst);
    prior_->setEnabled(usable && !atFirst);
    next_->setEnabled(usable && !atLast);
    last_->setEnabled(usable && !atLast);
}

void Navigator::first() {
    if (grid_ && !grid_->isLocked()) grid_->selectRow(0);
}

void Navigator::prior() {
    if (grid_ && !grid_->isLocked() && grid_->currentRow() > 0) {
        grid_->selectRow(grid_->currentRow() - 1);
    }
}

void Navigator::next() {
    if (grid_ && !grid_->isLocked()) grid_->selectRow(grid_->currentRow() + 1);
}

void Navigator::last() {
    if (!grid_ || grid_->isLocked()) return;
    QueryGridModel* model = grid_->gridModel();
    while (model->canFetchMore()) model->fetchMore();
    grid_->selectRow(model->rowCount() - 1);
}

}  // namespace cw
