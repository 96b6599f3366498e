#include "bookkeeping/ui/PostingList.h"

#include "bookkeeping/ui/PostingLayout.h"
#include "storage/Database.h"
#include "storage/Money.h"
#include "storage/NameOrder.h"
#include "storage/NameRank.h"

namespace cw {

namespace {

const QString kOrderBy = QStringLiteral(" ORDER BY ");

// The terms of an order clause, " ORDER BY IDate DESC, ID DESC" → {"IDate DESC", "ID DESC"}.
QStringList orderTerms(const QString& clause) {
    QString terms = clause.trimmed();
    if (terms.startsWith(kOrderBy.trimmed(), Qt::CaseInsensitive)) {
        terms = terms.mid(kOrderBy.trimmed().size());
    }
    QStringList out;
    for (const QString& t : terms.split(QLatin1Char(','), Qt::SkipEmptyParts)) out << t.trimmed();
    return out;
}

}  // namespace

PostingList::PostingList(Database& db, const PostingLayout& layout)
    : db_(db), layout_(layout), filter_(layout.kind->everything()) {}

QString PostingList::fromWhere() const {
    return QStringLiteral(" FROM %1 WHERE BName=?").arg(layout_.kind->table) + filter_.condition;
}

QString PostingList::selectList() const {
    QStringList select{QStringLiteral("ID"), QStringLiteral("BName AS 账薄名称")};
    for (const PostingLayout::Column& c : layout_.columns) {
        select << c.column + QStringLiteral(" AS ") + c.title;
    }
    return QStringLiteral("SELECT ") + select.join(QLatin1Char(','));
}

QString PostingList::listSql(const QString& jzpx) const {
    return selectList() + fromWhere() + layout_.kind->sortClause(jzpx);
}

QString PostingList::footerSql() const {
    return QStringLiteral("SELECT count(*),Sum(%1) AS 金额").arg(layout_.kind->moneyColumn) +
           fromWhere();
}

QVariantList PostingList::args(const QString& book) const {
    QVariantList values{book};
    values += filter_.values;
    return values;
}

// A column the entry panel fills from a name drop-down holds names: it sorts in pinyin, as the
// drop-down does. Dates and amounts keep the engine's order (and their indexes).
bool PostingList::holdsNames(const QString& title) const {
    for (const PostingLayout::EntryRow& r : layout_.entry) {
        if (r.title == title && r.filler) return true;
    }
    return false;
}

// Keying every row means sorting every row; where the column is indexed the book's names are
// ranked instead and each name's rows fetched in rank order, in order of entry within a name.
// Empty when the column has no such index.
QString PostingList::rankedFrom(const QString& book, const QString& column) const {
    const QString& table = layout_.kind->table;
    if (!NameRank::indexed(db_, table, column)) return {};
    return QStringLiteral(" FROM %1 AS r CROSS JOIN %2 WHERE BName=? AND %3=r.rankName")
               .arg(NameRank::of(db_, table, column, book), table, column) +
           filter_.condition;
}

QString PostingList::sortedSql(const QString& book, const QString& title, Qt::SortOrder order,
                               const QString& jzpx) const {
    QString column = layout_.columnOf(title);
    if (column.isEmpty()) column = QStringLiteral("ID");
    QString from = fromWhere();
    QString first = column;
    if (holdsNames(title)) {
        const QString ranked = rankedFrom(book, column);
        first = ranked.isEmpty() ? NameOrder::sqlKey(column) : QStringLiteral("r.rankNo");
        if (!ranked.isEmpty()) from = ranked;
    }
    // The engine sorts by the column; rows that tie keep the list's own order, as they do
    // when the rows already read are sorted in memory.
    QStringList terms{
        first + (order == Qt::AscendingOrder ? QStringLiteral(" ASC") : QStringLiteral(" DESC"))};
    for (const QString& t : orderTerms(layout_.kind->sortClause(jzpx))) {
        if (t.section(QLatin1Char(' '), 0, 0).compare(column, Qt::CaseInsensitive) != 0) terms << t;
    }
    return selectList() + from + kOrderBy + terms.join(QStringLiteral(", "));
}

QueryGridModel::PagedSource PostingList::source(const QString& book, const QString& jzpx,
                                                qint64 count) const {
    QueryGridModel::PagedSource s;
    s.sql = listSql(jzpx);
    s.args = args(book);
    // The footer has counted these very rows; the model is handed its figure.
    s.countSql = QStringLiteral("SELECT ?");
    s.countArgs = {count};
    // A copy: a title sort reads the rows of this filter, whatever the screen sets later.
    s.sortedSql = [list = *this, book, jzpx](const QString& title, Qt::SortOrder order) {
        return list.sortedSql(book, title, order, jzpx);
    };
    return s;
}

PostingList::Footer PostingList::footer(const QString& book) const {
    Statement st = db_.prepare(footerSql());
    int index = 0;
    for (const QVariant& v : args(book)) st.bind(++index, v);
    Footer f;
    if (st.step()) {
        f.count = st.integer(0);
        f.sum = Money::round(st.number(1));
    }
    return f;
}

}  // namespace cw
