#include "reports/QueryReports.h"

#include <optional>

#include "storage/Database.h"
#include "storage/Money.h"
#include "storage/NameOrder.h"
#include "storage/TfrmDM.h"

namespace cw {

namespace {

// A sort item on a name column orders in pinyin, as every name list does.
QString byName(const QString& column) {
    return NameOrder::sqlKey(column);
}

using Names = std::function<QStringList(TfrmDM& dm)>;

// One filter: its check box and the column its value narrows (a note is looked for inside the
// column's text, the others must equal it).
struct QueryFilter {
    FilterKey key;
    QString label;
    QString column;
    Names names = {};
};

// One column of the grid and the expression it is read from.
struct QueryColumn {
    Field key;
    QString title;
    ColumnKind kind;
    double widthMm;
    bool summed;
    QString expr;
};

struct SortItem {
    QString item;
    QString expr;
};

struct Detail {
    QString sql;  // one bound value: the main row's ID
    std::vector<QueryColumn> columns;
};

struct QuerySpec {
    QString cliName;
    QString screen;
    QString caption;
    QString datesLabel;
    QString from;        // the FROM text, joins included
    QString bookColumn;  // "BName", qualified in joins
    QString dateColumn;
    QString idExpr;
    std::vector<QueryFilter> filters;
    std::vector<QueryColumn> columns;
    std::vector<SortItem> sorts = {};  // empty: fixedOrder
    QString fixedOrder = {};
    std::vector<std::pair<QString, Field>> totals = {};  // status label, summed field
    std::optional<Detail> detail = {};
    QString printLayout = {};
};

const Names kAccounts = [](TfrmDM& dm) { return dm.DBComAccount(); };
const Names kMembers = [](TfrmDM& dm) { return dm.DBComFamily(); };
const Names kContacts = [](TfrmDM& dm) { return dm.DBComPType(); };
const Names kInvestTypes = [](TfrmDM& dm) { return dm.DBComTZType(); };

QString s(const char* utf8) {
    return QString::fromUtf8(utf8);
}

QVariant readValue(Statement& st, int c, ColumnKind kind) {
    if (kind == ColumnKind::Money) return Money::round(st.number(c));
    if (kind == ColumnKind::Count) return st.integer(c);
    return st.text(c);
}

std::vector<ReportColumn> reportColumns(const std::vector<QueryColumn>& columns) {
    std::vector<ReportColumn> out;
    for (const QueryColumn& c : columns)
        out.push_back({c.key, c.title, c.kind, c.widthMm, c.summed});
    return out;
}

QString selectList(const std::vector<QueryColumn>& columns) {
    QStringList exprs;
    for (const QueryColumn& c : columns) exprs << c.expr;
    return exprs.join(QStringLiteral(", "));
}

ReportOutcome runQuery(const QuerySpec& q, Database& db, const QString& book, const ReportFilter& f,
                       const ReportSort& sort) {
    QString sql = QStringLiteral("SELECT %1, %2 FROM %3 WHERE %4=?")
                      .arg(selectList(q.columns), q.idExpr, q.from, q.bookColumn);
    QVariantList args{book};
    if (f.datesTicked) {
        sql += QStringLiteral(" AND %1 BETWEEN ? AND ?").arg(q.dateColumn);
        args << f.from.toString(Qt::ISODate) << f.to.toString(Qt::ISODate);
    }
    for (const QueryFilter& filter : q.filters) {
        if (!f.has(filter.key)) continue;
        if (filter.key == FilterKey::Remark) {
            sql += QStringLiteral(" AND %1 LIKE ? ESCAPE '\\'").arg(filter.column);
            args << Statement::containing(f.value(filter.key));
        } else {
            sql += QStringLiteral(" AND %1=?").arg(filter.column);
            args << f.value(filter.key);
        }
    }
    if (q.sorts.empty()) {
        sql += QStringLiteral(" ORDER BY ") + q.fixedOrder;
    } else {
        // Only listed items sort; anything else takes the first, so a direction never stands
        // without its column.
        QString expr = q.sorts.front().expr;
        for (const SortItem& item : q.sorts) {
            if (item.item == sort.item) expr = item.expr;
        }
        sql += QStringLiteral(" ORDER BY %1%2, %3")
                   .arg(expr, sort.descending ? QStringLiteral(" DESC") : QString(), q.idExpr);
    }

    Statement st = db.prepare(sql);
    st.bindList(args);
    ReportOutcome out{ReportTable(reportColumns(q.columns)), {}};
    const int n = int(q.columns.size());
    while (st.step()) {
        std::vector<QVariant> values;
        values.reserve(size_t(n));
        for (int c = 0; c < n; ++c) values.push_back(readValue(st, c, q.columns[size_t(c)].kind));
        out.table.addRow(std::move(values), st.integer(n));
    }
    return out;
}

ReportTable runDetail(const Detail& d, Database& db, qint64 id) {
    Statement st = db.prepare(d.sql);
    st.bind(1, id);
    ReportTable t(reportColumns(d.columns));
    while (st.step()) {
        std::vector<QVariant> values;
        for (int c = 0; c < int(d.columns.size()); ++c)
            values.push_back(readValue(st, c, d.columns[size_t(c)].kind));
        t.addRow(std::move(values), st.integer(int(d.columns.size())));
    }
    return t;
}

QueryColumn col(Field key, const char* title, const QString& expr, double width = 22) {
    return {key, s(title), ColumnKind::Text, width, false, expr};
}
QueryColumn date(Field key, const QString& expr) {
    return {key, s("日期"), ColumnKind::Date, 20, false, expr};
}
QueryColumn money(Field key, const char* title, const QString& expr, bool summed = true) {
    return {key, s(title), ColumnKind::Money, 22, summed, expr};
}

// 收入查询 and 支出查询.
QuerySpec posting(bool income) {
    const QString p = income ? QStringLiteral("I") : QStringLiteral("O");
    const QString kind = income ? s("收入") : s("支出");
    return {
        .cliName = income ? QStringLiteral("in") : QStringLiteral("out"),
        .screen = income ? QStringLiteral("TfrmP_In") : QStringLiteral("TfrmP_Out"),
        .caption = kind + s("查询"),
        .datesLabel = kind + s("日期"),
        .from = income ? QStringLiteral("InTable") : QStringLiteral("OutTable"),
        .bookColumn = QStringLiteral("BName"),
        .dateColumn = p + QStringLiteral("Date"),
        .idExpr = QStringLiteral("ID"),
        .filters = {{FilterKey::Category, kind + s("类别"), p + QStringLiteral("Name"),
                     income ? Names([](TfrmDM& dm) { return dm.ComInType(); })
                            : Names([](TfrmDM& dm) { return dm.ComOutType(); })},
                    {FilterKey::Account, s("账户名称"), QStringLiteral("AName"), kAccounts},
                    {FilterKey::Member, s("家庭成员"), QStringLiteral("FName"), kMembers},
                    {FilterKey::Remark, s("备        注"), QStringLiteral("Remark")}},
        .columns = {{income ? Field::IDate : Field::ODate, s("日期"), ColumnKind::Date, 20, false,
                     p + QStringLiteral("Date")},
                    {income ? Field::IName : Field::OName, kind + s("类别"), ColumnKind::Text, 26,
                     false, p + QStringLiteral("Name")},
                    money(income ? Field::IMoney : Field::OMoney, "金额",
                          p + QStringLiteral("Money")),
                    col(Field::AName, "账户名称", QStringLiteral("AName")),
                    col(Field::FName, "家庭成员", QStringLiteral("FName")),
                    col(Field::Remark, "备注", QStringLiteral("Remark"), 90)},
        .sorts = {{s("日期"), p + QStringLiteral("Date")},
                  {kind + s("类别"), byName(p + QStringLiteral("Name"))},
                  {s("金额"), p + QStringLiteral("Money")},
                  {s("账户名称"), byName(QStringLiteral("AName"))},
                  {s("家庭成员"), byName(QStringLiteral("FName"))}},
        .totals = {{s("合计金额："), income ? Field::IMoney : Field::OMoney}},
        .printLayout =
            income ? QStringLiteral("Print/theSR.rf3") : QStringLiteral("Print/theZC.rf3"),
    };
}

QuerySpec transfers() {
    return {
        .cliName = QStringLiteral("transfer"),
        .screen = QStringLiteral("TfrmP_A"),
        .caption = s("转帐查询"),
        .datesLabel = s("转账日期"),
        .from = QStringLiteral("ChangeT"),
        .bookColumn = QStringLiteral("BName"),
        .dateColumn = QStringLiteral("CDate"),
        .idExpr = QStringLiteral("ID"),
        .filters = {{FilterKey::Member, s("家庭成员"), QStringLiteral("FName"), kMembers},
                    {FilterKey::Remark, s("备        注"), QStringLiteral("Remark")}},
        .columns = {date(Field::CDate, QStringLiteral("CDate")),
                    col(Field::OldN, "原账户", QStringLiteral("OldN")),
                    col(Field::NewN, "到账账户", QStringLiteral("NewN")),
                    money(Field::CMoney, "转账金额", QStringLiteral("CMoney")),
                    col(Field::FName, "家庭成员", QStringLiteral("FName")),
                    col(Field::Remark, "备注", QStringLiteral("Remark"), 90)},
        .fixedOrder = QStringLiteral("CDate DESC, ID DESC"),
        .totals = {{s("合计金额："), Field::CMoney}},
        .printLayout = QStringLiteral("Print/theZZ.rf3"),
    };
}

// 债务查询 (Borrow, repaid through BorrowR) and 债权查询 (Debt, collected through DebtR).
QuerySpec settled(bool debts) {
    const QString t = debts ? QStringLiteral("Borrow") : QStringLiteral("Debt");
    const QString p = debts ? QStringLiteral("B") : QStringLiteral("D");
    const QString person = debts ? s("债权人") : s("债务人");
    const QString r = t + QStringLiteral("R");
    return {
        .cliName = debts ? QStringLiteral("debt") : QStringLiteral("credit"),
        .screen = debts ? QStringLiteral("TfrmP_B") : QStringLiteral("TfrmP_D"),
        .caption = debts ? s("债务查询") : s("债权查询"),
        .datesLabel = s("日        期"),
        .from = t,
        .bookColumn = QStringLiteral("BName"),
        .dateColumn = p + QStringLiteral("Date"),
        .idExpr = QStringLiteral("ID"),
        .filters = {{FilterKey::Contact, debts ? s("债  权  人") : s("债  务  人"),
                     p + QStringLiteral("Pro"), kContacts},
                    {FilterKey::Account, s("账户名称"), QStringLiteral("AName"), kAccounts},
                    {FilterKey::Member, s("家庭成员"), QStringLiteral("FName"), kMembers},
                    {FilterKey::Remark, s("备        注"), QStringLiteral("Remark")}},
        .columns = {{debts ? Field::BDate : Field::DDate, s("日期"), ColumnKind::Date, 20, false,
                     p + QStringLiteral("Date")},
                    {debts ? Field::BPro : Field::DPro, person, ColumnKind::Text, 22, false,
                     p + QStringLiteral("Pro")},
                    {debts ? Field::BMoney : Field::DMoney, debts ? s("债务金额") : s("债权金额"),
                     ColumnKind::Money, 22, true, p + QStringLiteral("Money")},
                    col(Field::AName, "账户名称", QStringLiteral("AName")),
                    col(Field::FName, "家庭成员", QStringLiteral("FName")),
                    {Field::RMoney, debts ? s("已还金额") : s("已收金额"), ColumnKind::Money, 22,
                     false, QStringLiteral("RMoney")},
                    col(Field::Remark, "备注", QStringLiteral("Remark"), 70)},
        .sorts = {{s("日期"), p + QStringLiteral("Date")},
                  {person, byName(p + QStringLiteral("Pro"))},
                  {s("金额"), p + QStringLiteral("Money")},
                  {s("账户名称"), byName(QStringLiteral("AName"))},
                  {s("家庭成员"), byName(QStringLiteral("FName"))}},
        .totals = {{s("合计金额："), debts ? Field::BMoney : Field::DMoney}},
        .detail = Detail{QStringLiteral("SELECT RDate, RMoney, AName, FName, Remark, ID FROM %1 "
                                        "WHERE %2ID=? ORDER BY RDate DESC, ID DESC")
                             .arg(r, p),
                         {date(Field::RDate, {}),
                          money(Field::RMoney, debts ? "还债金额" : "收债金额", {}),
                          col(Field::AName, "账户名称", {}), col(Field::FName, "家庭成员", {}),
                          col(Field::Remark, "备注", {}, 70)}},
        .printLayout =
            debts ? QStringLiteral("Print/theZW.rf3") : QStringLiteral("Print/theZQ.rf3"),
    };
}

QuerySpec investments() {
    return {
        .cliName = QStringLiteral("investment"),
        .screen = QStringLiteral("TfrmTZ_Qu"),
        .caption = s("投资查询"),
        .datesLabel = s("日        期"),
        .from = QStringLiteral("TTable"),
        .bookColumn = QStringLiteral("BName"),
        .dateColumn = QStringLiteral("TDate"),
        .idExpr = QStringLiteral("ID"),
        .filters = {{FilterKey::Category, s("投资类别"), QStringLiteral("TName"), kInvestTypes},
                    {FilterKey::Account, s("账户名称"), QStringLiteral("AName"), kAccounts},
                    {FilterKey::Member, s("家庭成员"), QStringLiteral("FName"), kMembers},
                    {FilterKey::Remark, s("备        注"), QStringLiteral("Remark")}},
        .columns = {date(Field::TDate, QStringLiteral("TDate")),
                    col(Field::TName, "投资类别", QStringLiteral("TName")),
                    money(Field::TMoney, "投资金额", QStringLiteral("TMoney")),
                    money(Field::RMoney, "收益金额", QStringLiteral("RMoney")),
                    col(Field::AName, "账户名称", QStringLiteral("AName")),
                    col(Field::FName, "家庭成员", QStringLiteral("FName")),
                    col(Field::Remark, "备注", QStringLiteral("Remark"), 70)},
        .sorts = {{s("日期"), QStringLiteral("TDate")},
                  {s("投资类别"), byName(QStringLiteral("TName"))},
                  {s("投资金额"), QStringLiteral("TMoney")},
                  {s("收益金额"), QStringLiteral("RMoney")},
                  {s("账户名称"), byName(QStringLiteral("AName"))},
                  {s("家庭成员"), byName(QStringLiteral("FName"))}},
        .totals = {{s("合计投资金额："), Field::TMoney}, {s("合计收益金额："), Field::RMoney}},
        .detail = Detail{QStringLiteral("SELECT RDate, RMoney, SMoney, AName, FName, Remark, ID "
                                        "FROM TTableR WHERE TID=? ORDER BY RDate DESC, ID DESC"),
                         {{Field::RDate, s("收益日期"), ColumnKind::Date, 20, false, {}},
                          money(Field::RMoney, "收回本金", {}),
                          money(Field::SMoney, "收益金额", {}),
                          col(Field::AName, "账户名称", {}),
                          col(Field::FName, "家庭成员", {}),
                          col(Field::Remark, "备注", {}, 70)}},
        .printLayout = QStringLiteral("Print/theTZ.rf3"),
    };
}

// The records under debts, credits and investments, each with its main row's person or
// category. The return records write 帐 where the others write 账, as their screen does.
QuerySpec records(const QString& cli, const QString& screen, const QString& caption,
                  const QString& r, const QString& main, const QString& link, FilterKey whoKey,
                  const QString& whoLabel, Field who, const QString& whoColumn,
                  const QString& amountTitle, Field amount, const QString& amountColumn,
                  const QString& account, const QString& accountSort) {
    const QString q = r + QLatin1Char('.');
    return {
        .cliName = cli,
        .screen = screen,
        .caption = caption,
        .datesLabel = s("日        期"),
        .from = QStringLiteral("%1 INNER JOIN %2 ON %1.%3 = %2.ID").arg(r, main, link),
        .bookColumn = q + QStringLiteral("BName"),
        .dateColumn = q + QStringLiteral("RDate"),
        .idExpr = q + QStringLiteral("ID"),
        .filters = {{whoKey, whoLabel, whoColumn,
                     whoKey == FilterKey::Contact ? kContacts : kInvestTypes},
                    {FilterKey::Account, account, q + QStringLiteral("AName"), kAccounts},
                    {FilterKey::Member, s("家庭成员"), q + QStringLiteral("FName"), kMembers},
                    {FilterKey::Remark, s("备        注"), q + QStringLiteral("Remark")}},
        .columns = {date(Field::RDate, q + QStringLiteral("RDate")),
                    {who,
                     whoKey == FilterKey::Contact ? whoLabel.simplified().remove(' ') : whoLabel,
                     ColumnKind::Text, 22, false, whoColumn},
                    {amount, amountTitle, ColumnKind::Money, 22, true, q + amountColumn},
                    {Field::AName, account, ColumnKind::Text, 22, false,
                     q + QStringLiteral("AName")},
                    col(Field::FName, "家庭成员", q + QStringLiteral("FName")),
                    col(Field::Remark, "备注", q + QStringLiteral("Remark"), 90)},
        .sorts = {{s("日期"), q + QStringLiteral("RDate")},
                  {whoKey == FilterKey::Contact ? whoLabel.simplified().remove(' ') : whoLabel,
                   byName(whoColumn)},
                  {amountTitle, q + amountColumn},
                  {accountSort, byName(q + QStringLiteral("AName"))},
                  {s("家庭成员"), byName(q + QStringLiteral("FName"))}},
        .totals = {{s("合计金额："), amount}},
    };
}

std::vector<QuerySpec> makeSpecs() {
    return {
        posting(true),
        posting(false),
        transfers(),
        settled(true),
        settled(false),
        investments(),
        records(QStringLiteral("repay"), QStringLiteral("TfrmBR_Q"), s("还债记录查询"),
                QStringLiteral("BorrowR"), QStringLiteral("Borrow"), QStringLiteral("BID"),
                FilterKey::Contact, s("债  权  人"), Field::BPro, QStringLiteral("Borrow.BPro"),
                s("还债金额"), Field::RMoney, QStringLiteral("RMoney"), s("账户名称"),
                s("账户名称")),
        records(QStringLiteral("collect"), QStringLiteral("TfrmDR_Q"), s("收债记录查询"),
                QStringLiteral("DebtR"), QStringLiteral("Debt"), QStringLiteral("DID"),
                FilterKey::Contact, s("债  务  人"), Field::DPro, QStringLiteral("Debt.DPro"),
                s("收债金额"), Field::RMoney, QStringLiteral("RMoney"), s("账户名称"),
                s("帐户名称")),
        records(QStringLiteral("return"), QStringLiteral("TfrmTR_Q"), s("收益记录查询"),
                QStringLiteral("TTableR"), QStringLiteral("TTable"), QStringLiteral("TID"),
                FilterKey::Category, s("投资类别"), Field::TName, QStringLiteral("TTable.TName"),
                s("收益金额"), Field::SMoney, QStringLiteral("SMoney"), s("帐户名称"),
                s("帐户名称")),
    };
}

QueryDefinition definitionOf(const QuerySpec& q) {
    QueryDefinition out;
    ReportDefinition& d = out.report;
    d.cliName = q.cliName;
    d.screen = q.screen;
    d.caption = q.caption;
    d.datesLabel = q.datesLabel;
    d.defaultDates = [](const QDate& today) { return std::pair{today.addMonths(-1), today}; };
    for (const QueryFilter& f : q.filters) d.filters.push_back({f.key, f.label, f.names});
    d.runCaption = s("查询");
    for (const SortItem& item : q.sorts) out.sortItems << item.item;
    out.run = [q](Database& db, const QString& book, const ReportFilter& f,
                  const ReportSort& sort) { return runQuery(q, db, book, f, sort); };
    d.run = [q](Database& db, const QString& book, const ReportFilter& f) {
        return runQuery(q, db, book, f, ReportSort{});
    };
    const auto totals = q.totals;
    d.statusTexts = [totals](const ReportTable& t) {
        QStringList texts{QueryReports::countLabel() + QString::number(t.rowCount())};
        for (const auto& [label, field] : totals)
            texts << label + (t.isEmpty() ? QString() : Money::display(t.total(field)));
        return texts;
    };
    d.printLayout = q.printLayout;
    if (q.detail) {
        const Detail detail = *q.detail;
        out.detail = [detail](Database& db, qint64 id) { return runDetail(detail, db, id); };
    }
    return out;
}

}  // namespace

const std::vector<QueryDefinition>& QueryReports::all() {
    static const std::vector<QueryDefinition> definitions = [] {
        std::vector<QueryDefinition> out;
        for (const QuerySpec& q : makeSpecs()) out.push_back(definitionOf(q));
        return out;
    }();
    return definitions;
}

const QueryDefinition* QueryReports::byCliName(const QString& name) {
    for (const QueryDefinition& d : all()) {
        if (d.report.cliName == name) return &d;
    }
    return nullptr;
}

const QueryDefinition* QueryReports::byScreen(const QString& screen) {
    for (const QueryDefinition& d : all()) {
        if (d.report.screen == screen) return &d;
    }
    return nullptr;
}

}  // namespace cw
