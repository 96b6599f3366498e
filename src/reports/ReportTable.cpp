#include "reports/ReportTable.h"

#include <stdexcept>

#include "storage/Money.h"

namespace cw {

ReportTable::ReportTable(std::vector<ReportColumn> columns)
    : columns_(std::move(columns)), sums_(columns_.size(), 0) {}

int ReportTable::columnOf(Field key) const {
    for (size_t i = 0; i < columns_.size(); ++i) {
        if (columns_[i].key == key) return int(i);
    }
    return -1;
}

int ReportTable::requireColumn(Field key) const {
    const int c = columnOf(key);
    if (c < 0) {
        throw std::out_of_range("report has no column for field " + std::to_string(int(key)));
    }
    return c;
}

void ReportTable::reserve(int rows) {
    cells_.reserve(size_t(rows) * columns_.size());
    ids_.reserve(size_t(rows));
}

void ReportTable::addRow(std::vector<QVariant> values, qint64 id) {
    values.resize(columns_.size());
    for (size_t c = 0; c < columns_.size(); ++c) {
        const ReportColumn& col = columns_[c];
        if (col.kind == ColumnKind::Money) {
            sums_[c] += Money::cents(values[c].toDouble());
        } else if (col.kind == ColumnKind::Count) {
            sums_[c] += values[c].toLongLong();
        }
    }
    for (QVariant& v : values) cells_.push_back(std::move(v));
    ids_.push_back(id);
}

const QVariant& ReportTable::value(int row, int column) const {
    return cells_[size_t(row) * columns_.size() + size_t(column)];
}

double ReportTable::total(int column) const {
    const ReportColumn& col = columns_[size_t(column)];
    return col.kind == ColumnKind::Money ? double(sums_[size_t(column)]) / 100.0
                                         : double(sums_[size_t(column)]);
}

QVariant ReportTable::totalValue(int column) const {
    const ReportColumn& col = columns_[size_t(column)];
    if (col.kind == ColumnKind::Count) return sums_[size_t(column)];
    if (col.kind == ColumnKind::Money) return total(column);
    return {};
}

QVariant ReportTable::shownTotal(int column) const {
    return columns_[size_t(column)].summed ? totalValue(column) : QVariant();
}

QString ReportTable::displayText(int row, int column) const {
    return display(value(row, column), columns_[size_t(column)].kind);
}

QString ReportTable::totalDisplayText(int column) const {
    return display(shownTotal(column), columns_[size_t(column)].kind);
}

QString ReportTable::plainText(int row, int column) const {
    return plain(value(row, column), columns_[size_t(column)].kind);
}

QString ReportTable::totalPlainText(int column) const {
    return plain(shownTotal(column), columns_[size_t(column)].kind);
}

QString ReportTable::display(const QVariant& value, ColumnKind kind) {
    if (!value.isValid() || value.isNull()) return QString();
    switch (kind) {
        case ColumnKind::Money:
            return Money::display(value.toDouble());
        case ColumnKind::Count:
            return QString::number(value.toLongLong());
        case ColumnKind::Ratio:
            return QString::number(value.toDouble(), 'f', 2);
        case ColumnKind::Percent:
            return QString::number(value.toDouble(), 'f', 2) + QLatin1Char('%');
        case ColumnKind::Text:
        case ColumnKind::Date:
            break;
    }
    return value.toString();
}

QString ReportTable::plain(const QVariant& value, ColumnKind kind) {
    if (!value.isValid() || value.isNull()) return QString();
    switch (kind) {
        case ColumnKind::Money:
        case ColumnKind::Ratio:
        case ColumnKind::Percent:
            return Money::plain(value.toDouble());
        case ColumnKind::Count:
            return QString::number(value.toLongLong());
        case ColumnKind::Text:
        case ColumnKind::Date:
            break;
    }
    return value.toString();
}

}  // namespace cw
