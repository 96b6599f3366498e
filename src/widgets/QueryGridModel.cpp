#include "widgets/QueryGridModel.h"

#include <QBrush>
#include <QFont>
#include <algorithm>
#include <numeric>

#include "storage/Database.h"
#include "storage/DbError.h"
#include "storage/Money.h"
#include "storage/NameOrder.h"

namespace cw {

namespace {

bool isNumber(const QVariant& v) {
    switch (v.typeId()) {
        case QMetaType::Double:
        case QMetaType::Float:
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::UInt:
        case QMetaType::ULongLong:
            return true;
        default:
            return false;
    }
}

bool isInteger(const QVariant& v) {
    return isNumber(v) && v.typeId() != QMetaType::Double && v.typeId() != QMetaType::Float;
}

// The engine's own order of mixed values: empty (NULL) first, then numbers, then text.
int rank(const QVariant& v) {
    if (v.isNull()) return 0;
    return isNumber(v) ? 1 : 2;
}

// Text compares by Unicode code point, the way the engine compares it, so a sort in
// memory and a sort by the engine agree. UTF-16 code units follow code points except that
// the surrogates (characters beyond U+FFFF) sort before U+E000..U+FFFF; shift them past.
int compareText(const QString& a, const QString& b) {
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t x = a[i].unicode();
        const char16_t y = b[i].unicode();
        if (x == y) continue;
        auto fix = [](char16_t c) -> char16_t {
            if (c < 0xD800) return c;
            return c >= 0xE000 ? char16_t(c - 0x800) : char16_t(c + 0x2000);
        };
        return fix(x) < fix(y) ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

int compareValues(const QVariant& a, const QVariant& b) {
    const int ra = rank(a);
    const int rb = rank(b);
    if (ra != rb) return ra < rb ? -1 : 1;
    if (ra == 0) return 0;
    if (ra == 1) {
        if (isInteger(a) && isInteger(b)) {
            const qint64 x = a.toLongLong();
            const qint64 y = b.toLongLong();
            return x == y ? 0 : (x < y ? -1 : 1);
        }
        const double x = a.toDouble();
        const double y = b.toDouble();
        return x == y ? 0 : (x < y ? -1 : 1);
    }
    return compareText(a.toString(), b.toString());
}

QString quotedName(QString name) {
    name.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + name + QLatin1Char('"');
}

Statement prepareBound(Database& db, const QString& sql, const QVariantList& args) {
    Statement st = db.prepare(sql);
    for (int i = 0; i < args.size(); ++i) st.bind(i + 1, args[i]);
    return st;
}

QStringList columnsOf(const Statement& st) {
    QStringList names;
    const int n = st.columnCount();
    for (int i = 0; i < n; ++i) names << st.columnName(i);
    return names;
}

}  // namespace

QueryGridModel::QueryGridModel(QObject* parent) : QAbstractTableModel(parent) {}

QueryGridModel::~QueryGridModel() = default;

void QueryGridModel::resetRows(QStringList columns, std::vector<Row> rows) {
    beginResetModel();
    columns_ = std::move(columns);
    rows_ = std::move(rows);
    order_.clear();
    sortColumn_ = -1;
    sortOrder_ = Qt::AscendingOrder;
    lastError_.clear();
    endResetModel();
}

void QueryGridModel::setQuery(const Query& query) {
    std::vector<Row> rows;
    const int n = int(query.columns().size());
    rows.reserve(size_t(query.recordCount()));
    for (int r = 0; r < query.recordCount(); ++r) {
        Row row;
        row.reserve(size_t(n));
        for (int c = 0; c < n; ++c) row.push_back(query.value(r, c));
        rows.push_back(std::move(row));
    }
    loaded_.reset();
    paged_.reset();
    pagedDb_ = nullptr;
    cursor_.reset();
    pending_.reset();
    resetRows(query.columns(), std::move(rows));
}

void QueryGridModel::setQuery(Database& db, const QString& sql, const QVariantList& args) {
    Statement st = prepareBound(db, sql, args);
    const QStringList columns = columnsOf(st);
    std::vector<Row> rows;
    while (st.step()) {
        Row row;
        row.reserve(size_t(columns.size()));
        for (int c = 0; c < columns.size(); ++c) row.push_back(st.value(c));
        rows.push_back(std::move(row));
    }
    loaded_ = LoadedSource{&db, sql, args};
    paged_.reset();
    pagedDb_ = nullptr;
    cursor_.reset();
    pending_.reset();
    resetRows(columns, std::move(rows));
}

void QueryGridModel::setPagedQuery(Database& db, PagedSource source) {
    if (source.pageSize <= 0) source.pageSize = kDefaultPageSize;
    // Both statements are prepared before the model lets go of its rows, so a statement
    // the engine refuses leaves the list as it was.
    qint64 total = 0;
    if (!source.countSql.isEmpty()) {
        Statement count = prepareBound(db, source.countSql, source.countArgs);
        if (count.step()) total = count.integer(0);
    }
    Statement cursor = prepareBound(db, source.sql, source.args);

    beginResetModel();
    loaded_.reset();
    paged_ = std::move(source);
    pagedDb_ = &db;
    total_ = total;
    columns_ = columnsOf(cursor);
    cursor_.emplace(std::move(cursor));
    pending_.reset();
    rows_.clear();
    order_.clear();
    sortColumn_ = -1;
    sortOrder_ = Qt::AscendingOrder;
    lastError_.clear();
    rows_ = readPage(paged_->pageSize);
    endResetModel();
}

void QueryGridModel::refresh() {
    if (paged_) {
        PagedSource source = *paged_;
        setPagedQuery(*pagedDb_, std::move(source));
    } else if (loaded_) {
        const LoadedSource source = *loaded_;
        setQuery(*source.db, source.sql, source.args);
    } else if (sortColumn_ >= 0) {
        std::vector<int> asRead(rows_.size());
        std::iota(asRead.begin(), asRead.end(), 0);
        applyOrder(std::move(asRead), -1, Qt::AscendingOrder);
    }
}

void QueryGridModel::clear() {
    loaded_.reset();
    paged_.reset();
    pagedDb_ = nullptr;
    cursor_.reset();
    pending_.reset();
    total_ = 0;
    resetRows({}, {});
}

std::vector<QueryGridModel::Row> QueryGridModel::readPage(int limit) {
    std::vector<Row> page;
    reopened_ = false;
    if (pending_) {
        page.push_back(std::move(*pending_));
        pending_.reset();
    }
    // One row past the page is read ahead, so the list knows whether more follow.
    while (cursor_ && int(page.size()) <= limit) {
        bool more = false;
        try {
            more = cursor_->step();
        } catch (const DbError& e) {
            // A rollback that changed the schema aborts open reads: read on from a fresh
            // statement at the same place once, before giving up.
            if ((e.code() & 0xff) == 4 && paged_ && reopenAt(int(rows_.size() + page.size()))) {
                continue;
            }
            // Views read on from inside their own event handling, where an exception must
            // not pass; the list ends here and says why.
            lastError_ = e.message();
            cursor_.reset();
            break;
        }
        if (!more) {
            cursor_.reset();  // done: let the engine release its read
            break;
        }
        Row row;
        row.reserve(size_t(columns_.size()));
        for (int c = 0; c < columns_.size(); ++c) row.push_back(cursor_->value(c));
        page.push_back(std::move(row));
    }
    if (int(page.size()) > limit) {
        pending_ = std::move(page.back());
        page.pop_back();
    }
    return page;
}

bool QueryGridModel::reopenAt(int consumed) {
    if (reopened_) return false;
    reopened_ = true;
    try {
        const QString sql = sortColumn_ >= 0 ? pagedSortSql(sortColumn_, sortOrder_) : paged_->sql;
        Statement cursor = prepareBound(*pagedDb_, sql, paged_->args);
        for (int i = 0; i < consumed; ++i) {
            if (!cursor.step()) break;
        }
        cursor_.emplace(std::move(cursor));
        return true;
    } catch (const DbError&) {
        return false;
    }
}

bool QueryGridModel::canFetchMore(const QModelIndex& parent) const {
    return !parent.isValid() && pending_.has_value();
}

void QueryGridModel::fetchMore(const QModelIndex& parent) {
    if (parent.isValid() || !pending_ || !paged_) return;
    std::vector<Row> page = readPage(paged_->pageSize);
    if (page.empty()) return;
    const int first = int(rows_.size());
    beginInsertRows(QModelIndex(), first, first + int(page.size()) - 1);
    for (Row& row : page) rows_.push_back(std::move(row));
    endInsertRows();
}

void QueryGridModel::setMoneyColumns(const QStringList& names) {
    money_.clear();
    for (const QString& name : names) money_.insert(name.toLower());
    if (!rows_.empty() && !columns_.isEmpty()) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    }
}

void QueryGridModel::setHiddenColumns(const QStringList& names) {
    hidden_ = names;
    emit hiddenColumnsChanged();
}

bool QueryGridModel::isHiddenColumn(int column) const {
    if (column < 0 || column >= columns_.size()) return false;
    return hidden_.contains(columns_[column], Qt::CaseInsensitive);
}

int QueryGridModel::columnOf(const QString& name) const {
    for (int i = 0; i < columns_.size(); ++i) {
        if (columns_[i].compare(name, Qt::CaseInsensitive) == 0) return i;
    }
    return -1;
}

const QueryGridModel::Row* QueryGridModel::rowAt(int row) const {
    if (row < 0 || row >= int(rows_.size())) return nullptr;
    return &rows_[size_t(order_.empty() ? row : order_[size_t(row)])];
}

QVariant QueryGridModel::valueAt(int row, int column) const {
    const Row* r = rowAt(row);
    if (!r || column < 0 || column >= int(r->size())) return {};
    return (*r)[size_t(column)];
}

QVariant QueryGridModel::valueAt(int row, const QString& column) const {
    const int c = columnOf(column);
    // A misspelt alias is a fault of the screen, not an empty value.
    if (c < 0) throw DbError(QStringLiteral("结果中没有字段 ") + column);
    return valueAt(row, c);
}

QString QueryGridModel::textAt(int row, const QString& column) const {
    const QVariant v = valueAt(row, column);
    if (v.isNull()) return QString();
    if (v.typeId() == QMetaType::Double) return Money::plain(v.toDouble());
    return v.toString();
}

double QueryGridModel::numberAt(int row, const QString& column) const {
    const QVariant v = valueAt(row, column);
    return v.isNull() ? 0.0 : v.toDouble();
}

int QueryGridModel::rowOfId(qint64 id, bool fetchUntilFound) {
    const int c = columnOf(QStringLiteral("ID"));
    if (c < 0) return -1;
    int from = 0;
    for (;;) {
        for (int r = from; r < rowCount(); ++r) {
            const QVariant v = valueAt(r, c);
            if (!v.isNull() && v.toLongLong() == id) return r;
        }
        if (!fetchUntilFound || !canFetchMore()) return -1;
        from = rowCount();
        fetchMore();
    }
}

qint64 QueryGridModel::totalCount() const {
    return paged_ ? total_ : qint64(rows_.size());
}

void QueryGridModel::sortByTitle(int column) {
    if (column < 0 || column >= columns_.size()) return;
    const bool ascendingNow = sortColumn_ == column && sortOrder_ == Qt::AscendingOrder;
    sort(column, ascendingNow ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void QueryGridModel::sort(int column, Qt::SortOrder order) {
    if (column < 0 || column >= columns_.size()) return;
    if (paged_) {
        sortPaged(column, order);
    } else {
        sortLoaded(column, order);
    }
}

void QueryGridModel::sortLoaded(int column, Qt::SortOrder order) {
    // Always from the order the statement gave, so rows that tie keep that order in
    // both directions, whatever was clicked before.
    std::vector<int> sorted(rows_.size());
    std::iota(sorted.begin(), sorted.end(), 0);
    // Text sorts by its pinyin key, as every list of names does (and the engine's NameKey);
    // each row's key is made once, not at every comparison.
    const size_t c = size_t(column);
    std::vector<QVariant> keys(rows_.size());
    for (size_t r = 0; r < rows_.size(); ++r) {
        const QVariant& v = rows_[r][c];
        keys[r] = rank(v) == 2 ? QVariant(NameOrder::key(v.toString())) : v;
    }
    std::stable_sort(sorted.begin(), sorted.end(), [&](int a, int b) {
        const int cmp = compareValues(keys[size_t(a)], keys[size_t(b)]);
        return order == Qt::AscendingOrder ? cmp < 0 : cmp > 0;
    });
    applyOrder(std::move(sorted), column, order);
}

void QueryGridModel::applyOrder(std::vector<int> newOrder, int column, Qt::SortOrder order) {
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    // The current row (and any other kept index) follows its record to its new place.
    std::vector<int> placeOf(rows_.size());
    for (size_t i = 0; i < newOrder.size(); ++i) placeOf[size_t(newOrder[i])] = int(i);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& idx : before) {
        const int asRead = order_.empty() ? idx.row() : order_[size_t(idx.row())];
        after << index(placeOf[size_t(asRead)], idx.column());
    }
    order_ = std::move(newOrder);
    sortColumn_ = column;
    sortOrder_ = order;
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    if (!columns_.isEmpty()) emit headerDataChanged(Qt::Horizontal, 0, int(columns_.size()) - 1);
}

QString QueryGridModel::pagedSortSql(int column, Qt::SortOrder order) const {
    if (paged_->sortedSql) return paged_->sortedSql(columns_[column], order);
    QString tie = paged_->tieBreak;
    if (tie.isEmpty() && columnOf(QStringLiteral("ID")) >= 0) tie = QStringLiteral("\"ID\"");
    QString sql = QStringLiteral("SELECT * FROM (") + paged_->sql + QStringLiteral(") ORDER BY ") +
                  quotedName(columns_[column]) +
                  (order == Qt::AscendingOrder ? QStringLiteral(" ASC") : QStringLiteral(" DESC"));
    if (!tie.isEmpty()) sql += QStringLiteral(", ") + tie;
    return sql;
}

void QueryGridModel::sortPaged(int column, Qt::SortOrder order) {
    const QString sql = pagedSortSql(column, order);
    Statement cursor = prepareBound(*pagedDb_, sql, paged_->args);
    beginResetModel();
    cursor_.emplace(std::move(cursor));
    pending_.reset();
    rows_.clear();
    order_.clear();
    sortColumn_ = column;
    sortOrder_ = order;
    lastError_.clear();
    rows_ = readPage(paged_->pageSize);
    endResetModel();
}

bool QueryGridModel::isMoney(int column, const QVariant& value) const {
    if (value.isNull()) return false;
    if (value.typeId() == QMetaType::Double) return true;
    if (!money_.contains(columns_[column].toLower())) return false;
    bool ok = false;
    value.toDouble(&ok);
    return ok;
}

int QueryGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(rows_.size());
}

int QueryGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(columns_.size());
}

QVariant QueryGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const QVariant v = valueAt(index.row(), index.column());
    switch (role) {
        case Qt::DisplayRole:
            if (v.isNull()) return QString();
            if (isMoney(index.column(), v)) return Money::display(v.toDouble());
            return v.toString();
        case Qt::EditRole:
            return v;
        case Qt::TextAlignmentRole: {
            const bool right = isNumber(v) || isMoney(index.column(), v);
            return int((right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
        }
        default:
            return {};
    }
}

QVariant QueryGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical) {
        if (role == Qt::DisplayRole && section >= 0 && section < rowCount()) return section + 1;
        return {};
    }
    if (section < 0 || section >= columns_.size()) return {};
    switch (role) {
        case Qt::DisplayRole:
            return columns_[section];
        case Qt::FontRole:
            if (section == sortColumn_) {
                QFont bold;
                bold.setBold(true);
                return bold;
            }
            return {};
        case Qt::ForegroundRole:
            if (section == sortColumn_) {
                return QBrush(sortOrder_ == Qt::AscendingOrder ? Qt::red : Qt::blue);
            }
            return {};
        default:
            return {};
    }
}

Qt::ItemFlags QueryGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

}  // namespace cw
