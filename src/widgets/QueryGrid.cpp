#include "widgets/QueryGrid.h"

#include <QHeaderView>
#include <QItemSelectionModel>

namespace cw {

QueryGrid::QueryGrid(QWidget* parent) : QTableView(parent), model_(new QueryGridModel(this)) {
    setModel(model_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAlternatingRowColors(true);
    setWordWrap(false);
    setTabKeyNavigation(false);
    setSortingEnabled(false);  // titles sort through sortByTitle, with the program's marks
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSortIndicatorShown(false);
    // The spare width goes to the remark or the name (fitColumns), never to whatever column
    // happens to be last: a count or an amount would drift far from the name it belongs to.
    horizontalHeader()->setStretchLastSection(false);

    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int section) {
        if (titleSort_ && !locked_) model_->sortByTitle(section);
    });
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current, const QModelIndex&) {
                emit currentRowChanged(current.isValid() ? current.row() : -1);
            });
    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid()) emit rowDoubleClicked(index.row());
    });
    connect(model_, &QAbstractItemModel::modelReset, this, &QueryGrid::afterReset);
    connect(model_, &QAbstractItemModel::layoutChanged, this,
            [this] { emit currentRowChanged(currentRow()); });
    connect(model_, &QueryGridModel::hiddenColumnsChanged, this, &QueryGrid::applyHidden);
}

int QueryGrid::currentRow() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() : -1;
}

int QueryGrid::firstVisibleColumn() const {
    for (int c = 0; c < model_->columnCount(); ++c) {
        if (!isColumnHidden(c)) return c;
    }
    return 0;
}

void QueryGrid::selectRow(int row) {
    if (row < 0) return;
    while (row >= model_->rowCount() && model_->canFetchMore()) model_->fetchMore();
    if (row >= model_->rowCount()) return;
    const QModelIndex target = model_->index(row, firstVisibleColumn());
    selectionModel()->setCurrentIndex(
        target, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(target);
}

bool QueryGrid::selectId(qint64 id) {
    const int row = model_->rowOfId(id, true);
    if (row < 0) return false;
    selectRow(row);
    return true;
}

void QueryGrid::setLocked(bool locked) {
    if (locked_ == locked) return;
    locked_ = locked;
    setEnabled(!locked);
    emit lockedChanged(locked);
}

void QueryGrid::setColumnWidthFor(const QString& columnName, int pixels) {
    fixedWidths_.insert(columnName.toLower(), pixels);
    const int c = model_->columnOf(columnName);
    if (c >= 0) setColumnWidth(c, pixels);
}

void QueryGrid::applyHidden() {
    for (int c = 0; c < model_->columnCount(); ++c) setColumnHidden(c, model_->isHiddenColumn(c));
}

int QueryGrid::stretchColumn() const {
    // The remark first, then a name (account, member, category), else the first column shown;
    // a column whose width the screen fixed keeps it.
    const QStringList& names = model_->columnNames();
    int named = -1;
    int first = -1;
    for (int c = 0; c < names.size(); ++c) {
        if (isColumnHidden(c) || fixedWidths_.contains(names[c].toLower())) continue;
        const QString title = model_->headerData(c, Qt::Horizontal).toString();
        if (title.contains(QStringLiteral("备注")) || title.contains(QStringLiteral("摘要")) ||
            names[c].compare(QLatin1String("Remark"), Qt::CaseInsensitive) == 0)
            return c;
        if (named < 0 && (title.contains(QStringLiteral("名")) || title.contains(QStringLiteral("类别"))))
            named = c;
        if (first < 0) first = c;
    }
    return named >= 0 ? named : first;
}

void QueryGrid::fitColumns() {
    applyHidden();
    const QStringList& names = model_->columnNames();
    QHeaderView* header = horizontalHeader();
    const int stretch = stretchColumn();
    for (int c = 0; c < names.size(); ++c) {
        if (isColumnHidden(c)) continue;
        header->setSectionResizeMode(c, c == stretch ? QHeaderView::Stretch
                                                     : QHeaderView::Interactive);
        if (c == stretch) continue;
        const auto fixed = fixedWidths_.constFind(names[c].toLower());
        if (fixed != fixedWidths_.constEnd()) {
            setColumnWidth(c, *fixed);
            continue;
        }
        resizeColumnToContents(c);
        // Room beside the title and the widest value, so an empty list reads as well as a full one.
        setColumnWidth(c, qBound(kMinColumnWidth, columnWidth(c) + 12, kMaxColumnWidth));
    }
}

void QueryGrid::afterReset() {
    fitColumns();
    // A list opens on its first row, as the entry fields show the current row.
    if (model_->rowCount() > 0) {
        selectRow(0);
    } else {
        emit currentRowChanged(-1);
    }
}

}  // namespace cw
