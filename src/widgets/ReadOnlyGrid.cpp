#include "widgets/ReadOnlyGrid.h"

#include <QHeaderView>
#include <QTableView>

namespace cw {

void ReadOnlyGrid::setUp(QTableView* grid, int options) {
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    if (options & OneRow) grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    if (options & Banded) {
        grid->setAlternatingRowColors(true);
        grid->verticalHeader()->setDefaultSectionSize(24);
    }
    if (options & StretchLast) grid->horizontalHeader()->setStretchLastSection(true);
    if (options & NoRowNumbers) grid->verticalHeader()->hide();
}

void ReadOnlyGrid::fitToContents(QTableView* grid) {
    QHeaderView* header = grid->horizontalHeader();
    const QAbstractItemModel* model = grid->model();
    int remark = -1;
    for (int c = 0; c < header->count(); ++c) {
        header->setSectionResizeMode(c, QHeaderView::Interactive);
        const QString title = model->headerData(c, Qt::Horizontal).toString();
        if (remark < 0 && !grid->isColumnHidden(c) &&
            (title.contains(QStringLiteral("备注")) || title.contains(QStringLiteral("摘要"))))
            remark = c;
    }
    grid->resizeColumnsToContents();
    if (remark < 0) return;
    int used = 0;
    for (int c = 0; c < header->count(); ++c)
        if (!grid->isColumnHidden(c)) used += header->sectionSize(c);
    // A remark squeezed below its contents would be worse than a scroll bar.
    if (used < grid->viewport()->width())
        header->setSectionResizeMode(remark, QHeaderView::Stretch);
}

void ReadOnlyGrid::stretchColumn(QTableView* grid, int column) {
    QHeaderView* header = grid->horizontalHeader();
    header->setStretchLastSection(false);
    for (int c = 0; c < header->count(); ++c) {
        if (c == column) continue;
        header->setSectionResizeMode(c, QHeaderView::Interactive);
        grid->resizeColumnToContents(c);
    }
    if (column >= 0 && column < header->count())
        header->setSectionResizeMode(column, QHeaderView::Stretch);
}

}  // namespace cw
