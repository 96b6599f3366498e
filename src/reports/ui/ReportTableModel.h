#pragma once

#include <QAbstractTableModel>

#include "reports/ReportTable.h"

namespace cw {

// A ReportTable in a grid: titles as headers, values in the screen's form (money "1,234.50",
// numbers right-aligned) under Qt::DisplayRole, and the raw value under RawValueRole for
// whatever computes with the cells (charts, proxies, exporters): "1,234.50" is no number.
class ReportTableModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    static constexpr int RawValueRole = Qt::UserRole + 1;

    explicit ReportTableModel(QObject* parent = nullptr);

    void setTable(ReportTable table);
    const ReportTable& table() const { return table_; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

  private:
    ReportTable table_;
};

}  // namespace cw
