#include "reports/FundFlowLog.h"

#include "storage/Database.h"
#include "storage/Money.h"
#include "storage/NameOrder.h"
#include "storage/Transaction.h"

namespace cw {

namespace {

const char* const kSortColumns[] = {"theDate", "theType", "AName", "AMoney", "FName"};

}  // namespace

QStringList FundFlowLog::sortItems() {
    return {QStringLiteral("日期"), QStringLiteral("收支类别"), QStringLiteral("账户名称"),
            QStringLiteral("本次余额"), QStringLiteral("家庭成员")};
}

FundFlowLog::Where FundFlowLog::where(const QString& book, const ReportFilter& f) {
    Where w{QStringLiteral(" WHERE BName=?"), {book}};
    if (f.datesTicked) {
        w.sql += QStringLiteral(" AND theDate BETWEEN ? AND ?");
        w.args << f.from.toString(Qt::ISODate) << f.to.toString(Qt::ISODate);
    }
    if (f.has(FilterKey::Account)) {
        w.sql += QStringLiteral(" AND AName=?");
        w.args << f.value(FilterKey::Account);
    }
    if (f.has(FilterKey::Member)) {
        w.sql += QStringLiteral(" AND FName=?");
        w.args << f.value(FilterKey::Member);
    }
    if (f.has(FilterKey::Remark)) {
        w.sql += QStringLiteral(" AND Remark LIKE ? ESCAPE '\\'");
        w.args << Statement::containing(f.value(FilterKey::Remark));
    }
    if (f.has(FilterKey::Category)) {
        w.sql += QStringLiteral(" AND theType=?");
        w.args << f.value(FilterKey::Category);
    }
    return w;
}

QString FundFlowLog::sortTerm(const QString& column) {
    const bool name = column == QLatin1String("theType") || column == QLatin1String("AName") ||
                      column == QLatin1String("FName");
    return name ? NameOrder::sqlKey(column) : column;
}

QString FundFlowLog::orderBy(const std::optional<ReportSort>& sort) {
    if (!sort) return QStringLiteral(" ORDER BY ID");
    const qsizetype i = sortItems().indexOf(sort->item);
    const QString column = sortTerm(QLatin1String(kSortColumns[i < 0 ? 0 : i]));
    return sort->descending ? QStringLiteral(" ORDER BY %1 DESC, ID DESC").arg(column)
                            : QStringLiteral(" ORDER BY %1, ID").arg(column);
}

QString FundFlowLog::gridSql(const Where& w, const std::optional<ReportSort>& sort) {
    return QStringLiteral(
               "SELECT theDate AS 日期, theType AS 收支类别, Remark AS 摘要, theIn AS 收入, "
               "theOut AS 支出, AName AS 账户名称, AMoney AS 本次余额, FName AS 家庭成员, "
               "theE AS 事件, ID FROM UList") +
           w.sql + orderBy(sort);
}

QString FundFlowLog::countSql(const Where& w) {
    return QStringLiteral("SELECT count(*) FROM UList") + w.sql;
}

FundFlowLog::Totals FundFlowLog::totals(Database& db, const QString& book,
                                        const ReportFilter& filter) {
    const Where w = where(book, filter);
    Statement st = db.prepare(
        QStringLiteral("SELECT count(*), total(round(theIn * 100)), total(round(theOut * 100)) "
                       "FROM UList") +
        w.sql);
    st.bindList(w.args);
    Totals t;
    if (st.step()) {
        t.count = st.integer(0);
        t.in = st.number(1) / 100.0;
        t.out = st.number(2) / 100.0;
    }
    return t;
}

QStringList FundFlowLog::statusTexts(const Totals& t) {
    const auto sum = [&](double v) { return t.count == 0 ? QString() : Money::display(v); };
    return {QStringLiteral("记录：") + QString::number(t.count),
            QStringLiteral("收入合计：") + sum(t.in), QStringLiteral("支出合计：") + sum(t.out)};
}

ReportTable FundFlowLog::table(Database& db, const QString& book, const ReportFilter& filter,
                               const std::optional<ReportSort>& sort) {
    ReportTable t({{Field::theDate, QStringLiteral("日期"), ColumnKind::Date, 20},
                   {Field::theType, QStringLiteral("收支类别"), ColumnKind::Text, 24},
                   {Field::Remark, QStringLiteral("摘要"), ColumnKind::Text, 60},
                   {Field::theIn, QStringLiteral("收入"), ColumnKind::Money, 20, true},
                   {Field::theOut, QStringLiteral("支出"), ColumnKind::Money, 20, true},
                   {Field::AName, QStringLiteral("账户名称"), ColumnKind::Text, 22},
                   {Field::AMoney, QStringLiteral("本次余额"), ColumnKind::Money, 22},
                   {Field::FName, QStringLiteral("家庭成员"), ColumnKind::Text, 20}});
    const Where w = where(book, filter);
    Statement st = db.prepare(gridSql(w, sort));
    st.bindList(w.args);
    while (st.step()) {
        t.addRow({st.text(0), st.text(1), st.text(2), Money::round(st.number(3)),
                  Money::round(st.number(4)), st.text(5), Money::round(st.number(6)), st.text(7)},
                 st.integer(9));
    }
    return t;
}

int FundFlowLog::deleteOne(Database& db, const QString& book, qint64 id) {
    Transaction tx(db);
    const int n = db.exec(QStringLiteral("DELETE FROM UList WHERE ID=? AND BName=?"), id, book);
    tx.commit();
    return n;
}

int FundFlowLog::deleteMatching(Database& db, const QString& book, const ReportFilter& filter) {
    const Where w = where(book, filter);
    Transaction tx(db);
    Statement st = db.prepare(QStringLiteral("DELETE FROM UList") + w.sql);
    st.bindList(w.args);
    st.run();
    const int n = db.changes();
    tx.commit();
    return n;
}

QString FundFlowLog::edit(Database& db, const QString& book, qint64 id, const EntryText& e) {
    const auto amount = [](const QString& text, const QString& label, double* value) -> QString {
        if (text.trimmed().isEmpty()) {
            *value = 0;
            return QString();
        }
        if (!Money::parse(text.trimmed(), value))
            return label + QStringLiteral(" 不是有效的数字！请重新录入！");
        return QString();
    };
    double in = 0;
    double out = 0;
    if (QString why = amount(e.in, QStringLiteral("收入"), &in); !why.isEmpty()) return why;
    if (QString why = amount(e.out, QStringLiteral("支出"), &out); !why.isEmpty()) return why;
    Transaction tx(db);
    db.exec(QStringLiteral("UPDATE UList SET theDate=?, theType=?, Remark=?, theIn=?, theOut=?, "
                           "AName=?, FName=? WHERE ID=? AND BName=?"),
            e.date.toString(Qt::ISODate), e.type, e.remark, Money::round(in), Money::round(out),
            e.account, e.member, id, book);
    tx.commit();
    return QString();
}

QString FundFlowLog::recompute(Database& db, const QString& book, const QString& account,
                               const ReportFilter& filter, const QString& orderSql, int* rows) {
    if (rows) *rows = 0;
    if (account.isEmpty()) return chooseAccountMessage();
    // Only the chosen account's rows carry its balance, whatever the other filters show.
    ReportFilter f = filter;
    f.set(FilterKey::Account, account);
    const Where w = where(book, f);
    Transaction tx(db);
    Statement st = db.prepare(
        QStringLiteral(
            "SELECT ID, theIn, theOut, typeof(theIn), typeof(theOut), AMoney FROM UList") +
        w.sql + orderSql);
    st.bindList(w.args);
    Statement update = db.prepare(QStringLiteral("UPDATE UList SET AMoney=? WHERE ID=?"));
    qint64 running = 0;  // cents
    int n = 0;
    int changed = 0;
    std::vector<std::pair<qint64, qint64>> balances;  // ID, cents
    while (st.step()) {
        const auto numeric = [](const QString& type) {
            return type == QLatin1String("real") || type == QLatin1String("integer");
        };
        if (!numeric(st.text(3)) || !numeric(st.text(4))) {
            return QStringLiteral("第 %1 行的收入或支出不是数字，本次余额没有改动。").arg(n + 1);
        }
        ++n;
        const qint64 in = Money::cents(st.number(1));
        const qint64 out = Money::cents(st.number(2));
        if (in != 0 && out != 0) continue;
        running += in - out;
        ++changed;
        // A balance already right is not written again: a second recompute writes nothing.
        if (Money::cents(st.number(5)) != running) balances.emplace_back(st.integer(0), running);
    }
    for (const auto& [id, cents] : balances) {
        update.reset();
        update.bind(1, double(cents) / 100.0);
        update.bind(2, id);
        update.run();
    }
    tx.commit();
    if (rows) *rows = changed;
    return QString();
}

}  // namespace cw
