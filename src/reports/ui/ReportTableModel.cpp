#include "reports/ui/ReportTableModel.h"

namespace cw {

ReportTableModel::ReportTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void ReportTableModel::setTable(ReportTable table) {
    beginResetModel();
    table_ = std::move(table);
    endResetModel();
}

int ReportTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : table_.rowCount();
}

int ReportTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : table_.columnCount();
}

QVariant ReportTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= table_.rowCount() ||
        index.column() >= table_.columnCount()) {
        return {};
    }
    switch (role) {
        case Qt::DisplayRole:
            return table_.displayText(index.row(), index.column());
        case RawValueRole:
            return table_.value(index.row(), index.column());
        case Qt::TextAlignmentRole: {
            const bool numeric = ReportTable::isNumeric(table_.column(index.column()).kind);
            return QVariant::fromValue(
                Qt::Alignment((numeric ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter));
        }
        default:
            return {};
    }
}

QVariant ReportTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    if (section < 0 || section >= table_.columnCount()) return {};
    return table_.column(section).title;
}

}  // namespace cw
