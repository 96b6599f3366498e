#pragma once

#include <QAbstractTableModel>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <functional>
#include <optional>
#include <vector>

#include "storage/Query.h"
#include "storage/Statement.h"

namespace cw {

class Database;

// The read-only rows behind every list of the program. Column titles are the aliases of
// the statement, money (REAL values) shows with thousands separators and two decimals,
// and columns such as ID stay readable by name even when the grid hides them.
//
// Two ways to fill it:
// - loaded: the whole result is read at once (setQuery). A title click sorts the rows in
//   memory; rows that tie keep the order the statement gave them.
// - paged: for lists that may hold a million rows (setPagedQuery). The statement stays
//   open and rows are read a page at a time as the view scrolls (canFetchMore/fetchMore);
//   the total comes from a count statement the caller gives. A title click runs the
//   statement again, sorted by the engine (see PagedSource::sortedSql).
//   The open statement does not hold up writes on the connection (they commit, and roll
//   back, as usual), but rows changed meanwhile may or may not show: after a write, call
//   refresh(). The model must not outlive the Database it reads.
class QueryGridModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    static constexpr int kDefaultPageSize = 256;

    struct PagedSource {
        QString sql;  // the list statement, with its own ORDER BY for the unsorted list
        QVariantList args;
        QString countSql;  // "select count(*) ..." over the same rows; first column is read
        QVariantList countArgs;
        int pageSize = kDefaultPageSize;
        // The statement run for a title sort, with the same bound values as sql. Left
        // empty, the rows are re-read as
        //   SELECT * FROM (<sql>) ORDER BY "<title>" ASC|DESC[, <tieBreak>]
        // which needs sql to name every column once; the engine then sorts the whole
        // result (seconds for a million rows). Give it to let the engine walk an index
        // instead, e.g. map "日期" back to "order by theDate".
        std::function<QString(const QString& title, Qt::SortOrder order)> sortedSql;
        // Keeps rows that tie in a fixed order under a title sort, e.g. "ID" or "ID DESC".
        // Left empty, "ID" is used when the result has such a column.
        QString tieBreak;
    };

    explicit QueryGridModel(QObject* parent = nullptr);
    ~QueryGridModel() override;

    // Loaded mode.
    void setQuery(const Query& query);
    void setQuery(Database& db, const QString& sql, const QVariantList& args = {});
    template <typename... Args>
    void setSql(Database& db, const QString& sql, const Args&... args) {
        setQuery(db, sql, QVariantList{QVariant(args)...});
    }

    // Paged mode: reads the first page at once.
    void setPagedQuery(Database& db, PagedSource source);
    bool isPaged() const { return paged_.has_value(); }

    // Runs the last statement again (either mode) and drops any title sort. A model filled
    // from a Query keeps its rows.
    void refresh();
    // No columns, no rows.
    void clear();

    // Money display for columns whose values may come back as whole numbers (sums, literals).
    void setMoneyColumns(const QStringList& names);
    // Columns the grid hides; they stay readable through textAt/valueAt.
    void setHiddenColumns(const QStringList& names);
    const QStringList& hiddenColumns() const { return hidden_; }
    bool isHiddenColumn(int column) const;

    const QStringList& columnNames() const { return columns_; }
    int columnOf(const QString& name) const;  // case-insensitive, -1 when absent

    // Rows as the grid shows them (sorted, loaded so far). Unknown rows/columns read as
    // empty. textAt gives money as plain text ("-550.5"), NULL as "".
    QVariant valueAt(int row, const QString& column) const;
    QVariant valueAt(int row, int column) const;
    QString textAt(int row, const QString& column) const;
    double numberAt(int row, const QString& column) const;
    // The row whose ID column holds id, -1 when none. With fetchUntilFound a paged model
    // reads further pages until it finds the row or the rows run out.
    int rowOfId(qint64 id, bool fetchUntilFound = false);

    // Rows of the whole result: the count statement in paged mode, the rows otherwise.
    qint64 totalCount() const;

    // A click on a column title: ascending, unless the rows are already ascending on that
    // column, then descending. The sorted title shows bold, red ascending, blue descending.
    void sortByTitle(int column);
    int sortColumn() const { return sortColumn_; }
    Qt::SortOrder sortOrder() const { return sortOrder_; }

    // Set when a page could not be read; the list then ends at the rows already read.
    const QString& lastError() const { return lastError_; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
    bool canFetchMore(const QModelIndex& parent = QModelIndex()) const override;
    void fetchMore(const QModelIndex& parent = QModelIndex()) override;

  signals:
    void hiddenColumnsChanged();

  private:
    using Row = std::vector<QVariant>;

    struct LoadedSource {
        Database* db = nullptr;
        QString sql;
        QVariantList args;
    };

    void resetRows(QStringList columns, std::vector<Row> rows);
    std::vector<Row> readPage(int limit);
    bool reopenAt(int consumed);
    void sortLoaded(int column, Qt::SortOrder order);
    void applyOrder(std::vector<int> newOrder, int column, Qt::SortOrder order);
    void sortPaged(int column, Qt::SortOrder order);
    QString pagedSortSql(int column, Qt::SortOrder order) const;
    bool isMoney(int column, const QVariant& value) const;
    const Row* rowAt(int row) const;

    QStringList columns_;
    std::vector<Row> rows_;
    std::vector<int> order_;  // shown row -> row as read; empty means as read
    QStringList hidden_;
    QSet<QString> money_;  // lower-case names
    int sortColumn_ = -1;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
    QString lastError_;

    std::optional<LoadedSource> loaded_;
    std::optional<PagedSource> paged_;
    Database* pagedDb_ = nullptr;
    std::optional<Statement> cursor_;
    std::optional<Row> pending_;  // the row read ahead of the last page
    bool reopened_ = false;       // the read was already resumed once after an abort
    qint64 total_ = 0;
};

}  // namespace cw
