#include "storage/Query.h"

#include "storage/DbError.h"
#include "storage/Money.h"
#include "storage/Statement.h"

namespace cw {

Query::Query(Statement& statement) {
    const int n = statement.columnCount();
    for (int i = 0; i < n; ++i) columns_ << statement.columnName(i);
    while (statement.step()) {
        std::vector<QVariant> row;
        row.reserve(size_t(n));
        for (int i = 0; i < n; ++i) row.push_back(statement.value(i));
        rows_.push_back(std::move(row));
    }
}

int Query::columnIndex(const QString& name) const {
    for (int i = 0; i < columns_.size(); ++i) {
        if (columns_[i].compare(name, Qt::CaseInsensitive) == 0) return i;
    }
    return -1;
}

int Query::requireColumn(const QString& name) const {
    const int c = columnIndex(name);
    if (c < 0) throw DbError(QStringLiteral("结果中没有字段 ") + name);
    return c;
}

QVariant Query::value(int row, int column) const {
    if (row < 0 || row >= int(rows_.size())) return {};
    return rows_[size_t(row)][size_t(column)];
}

QVariant Query::value(const QString& column) const {
    if (eof()) throw DbError(QStringLiteral("没有当前记录"));
    return value(pos_, requireColumn(column));
}

QString Query::text(const QString& column) const {
    const QVariant v = value(column);
    if (v.isNull()) return QString();
    if (v.typeId() == QMetaType::Double) return Money::plain(v.toDouble());
    return v.toString();
}

double Query::number(const QString& column) const {
    const QVariant v = value(column);
    return v.isNull() ? 0.0 : v.toDouble();
}

qint64 Query::integer(const QString& column) const {
    const QVariant v = value(column);
    return v.isNull() ? 0 : v.toLongLong();
}

bool Query::boolean(const QString& column) const {
    const QVariant v = value(column);
    if (v.isNull()) return false;
    if (v.typeId() == QMetaType::QString) {
        const QString s = v.toString().trimmed();
        if (s.isEmpty()) return false;
        if (s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0) return true;
        return s.toDouble() != 0.0;
    }
    return v.toDouble() != 0.0;
}

QStringList Query::firstColumn() const {
    QStringList out;
    out.reserve(qsizetype(rows_.size()));
    for (const auto& row : rows_) out << (row.empty() ? QString() : row[0].toString());
    return out;
}

}  // namespace cw
