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

}  // namespace cw
