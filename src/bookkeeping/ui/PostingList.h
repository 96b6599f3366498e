#pragma once

#include <QString>

#include "bookkeeping/PostingKind.h"
#include "widgets/QueryGridModel.h"

namespace cw {

class Database;
class PostingLayout;

// The statements of a posting list: the rows of the open book under the screen's filter in
// the book's posting order, the same rows sorted by a column title, and the footer's count
// and sum. Every value is bound; the filter's condition text comes from the kinds and the
// query dialog, never from what the user typed.
class PostingList {
  public:
    struct Footer {
        qint64 count = 0;
        double sum = 0;
    };

    PostingList(Database& db, const PostingLayout& layout);

    void setFilter(PostingKind::Filter filter) { filter_ = std::move(filter); }
    const PostingKind::Filter& filter() const { return filter_; }

    // The list for the paged grid. `count` is the footer's count, handed on so the rows are
    // counted once per refresh.
    QueryGridModel::PagedSource source(const QString& book, const QString& jzpx,
                                       qint64 count) const;
    // Count and sum of the money column in one pass over the same rows.
    Footer footer(const QString& book) const;

    // The list statement as text (with its ? placeholders), for plans and diagnostics.
    QString listSql(const QString& jzpx) const;
    QString footerSql() const;
    // The list sorted by a column title; a name column may first rank the book's names in a
    // temporary table (NameRank), so this writes to the connection's temporary tables.
    QString sortedSql(const QString& book, const QString& title, Qt::SortOrder order,
                      const QString& jzpx) const;

  private:
    QString selectList() const;
    QString fromWhere() const;
    bool holdsNames(const QString& title) const;
    QString rankedFrom(const QString& book, const QString& column) const;
    QVariantList args(const QString& book) const;

    Database& db_;
    const PostingLayout& layout_;
    PostingKind::Filter filter_;
};

}  // namespace cw
