#include "reports/StatisticsReport.h"

#include <algorithm>
#include <map>

#include "reports/SpreadsheetExport.h"
#include "reports/Workbook.h"
#include "storage/Database.h"
#include "storage/Money.h"
#include "storage/NameOrder.h"
#include "storage/TfrmDM.h"

namespace cw {

namespace {

using Dimension = StatisticsReport::Dimension;
using Group = StatisticsReport::Group;
using Order = StatisticsReport::Order;

const QStringList& dimensionTexts() {
    static const QStringList items{QStringLiteral("收支类别"), QStringLiteral("账户名称"),
                                   QStringLiteral("家庭成员"), QStringLiteral("日期"),
                                   QStringLiteral("月份"),     QStringLiteral("年份")};
    return items;
}

const QStringList& orderTexts() {
    static const QStringList items{QStringLiteral("金额降序"), QStringLiteral("金额升序"),
                                   QStringLiteral("笔数降序"), QStringLiteral("笔数升序"),
                                   QStringLiteral("名称降序"), QStringLiteral("名称升序")};
    return items;
}

// The date prefix a dimension groups on: 10 for days, 7 for months, 4 for years; 0 for names.
int dateLength(Dimension d) {
    switch (d) {
        case Dimension::Day:
            return 10;
        case Dimension::Month:
            return 7;
        case Dimension::Year:
            return 4;
        default:
            return 0;
    }
}

// Groups come out in the order of their labels: names in pinyin order, months and years in
// their own (the sort key keeps a date's digits in place).
std::vector<Group> fold(Statement& st, int length) {
    std::map<QString, Group> byLabel;
    while (st.step()) {
        const QString label = length > 0 ? st.text(0).left(length) : st.text(0);
        Group& g = byLabel[NameOrder::key(label)];
        g.label = label;
        g.count += st.integer(1);
        g.cents += Money::cents(st.number(2));
    }
    std::vector<Group> out;
    out.reserve(byLabel.size());
    for (auto& [label, g] : byLabel) out.push_back(std::move(g));
    return out;
}

// The title with the range of the screen's two dates, ticked or not.
QString rangeTitle(const QString& name, const ReportFilter& filter) {
    return name + QStringLiteral("（") + filter.from.toString(Qt::ISODate) + QStringLiteral("至") +
           filter.to.toString(Qt::ISODate) + QStringLiteral("）");
}

// A share as the fraction the workbook's 0.00% cells hold; a share of a total of 0 is 0.
double shareOf(qint64 part, qint64 whole) {
    return whole == 0 ? 0.0 : double(part) / double(whole);
}

}  // namespace

StatisticsReport::Source StatisticsReport::income() {
    return {QStringLiteral("InTable"), QStringLiteral("IDate"), QStringLiteral("IMoney"),
            QStringLiteral("IName")};
}

StatisticsReport::Source StatisticsReport::expense() {
    return {QStringLiteral("OutTable"), QStringLiteral("ODate"), QStringLiteral("OMoney"),
            QStringLiteral("OName")};
}

std::vector<Group> StatisticsReport::groups(Database& db, const QString& book, const Source& src,
                                            Dimension dimension, const ReportFilter& filter) {
    const int length = dateLength(dimension);
    QString column;
    switch (dimension) {
        case Dimension::Category:
            column = src.nameColumn;
            break;
        case Dimension::Account:
            column = QStringLiteral("AName");
            break;
        case Dimension::Member:
            column = QStringLiteral("FName");
            break;
        default:
            column = src.dateColumn;
            break;
    }
    QString sql = QStringLiteral("SELECT %1, count(*), sum(%2) FROM %3 WHERE BName=?")
                      .arg(column, src.moneyColumn, src.table);
    QVariantList args{book};
    if (filter.datesTicked) {
        sql += QStringLiteral(" AND %1 BETWEEN ? AND ?").arg(src.dateColumn);
        args << filter.from.toString(Qt::ISODate) << filter.to.toString(Qt::ISODate);
    }
    if (filter.has(FilterKey::Category)) {
        sql += QStringLiteral(" AND %1=?").arg(src.nameColumn);
        args << filter.value(FilterKey::Category);
    }
    if (filter.has(FilterKey::Account)) {
        sql += QStringLiteral(" AND AName=?");
        args << filter.value(FilterKey::Account);
    }
    if (filter.has(FilterKey::Member)) {
        sql += QStringLiteral(" AND FName=?");
        args << filter.value(FilterKey::Member);
    }
    sql += QStringLiteral(" GROUP BY %1").arg(column);
    Statement st = db.prepare(sql);
    st.bindList(args);
    return fold(st, length);
}

std::vector<Group> StatisticsReport::outstanding(Database& db, const QString& book, bool debts,
                                                 const ReportFilter& filter) {
    const QString table = debts ? QStringLiteral("Borrow") : QStringLiteral("Debt");
    const QString date = debts ? QStringLiteral("BDate") : QStringLiteral("DDate");
    const QString who = debts ? QStringLiteral("BPro") : QStringLiteral("DPro");
    const QString money = debts ? QStringLiteral("BMoney") : QStringLiteral("DMoney");
    QString sql =
        QStringLiteral("SELECT %1, count(*), sum(%2) FROM %3 WHERE BName=?").arg(who, money, table);
    QVariantList args{book};
    if (filter.datesTicked) {
        sql += QStringLiteral(" AND %1 BETWEEN ? AND ?").arg(date);
        args << filter.from.toString(Qt::ISODate) << filter.to.toString(Qt::ISODate);
    }
    if (filter.has(FilterKey::Account)) {
        sql += QStringLiteral(" AND AName=?");
        args << filter.value(FilterKey::Account);
    }
    if (filter.has(FilterKey::Member)) {
        sql += QStringLiteral(" AND FName=?");
        args << filter.value(FilterKey::Member);
    }
    sql += QStringLiteral(" GROUP BY %1").arg(who);
    Statement st = db.prepare(sql);
    st.bindList(args);
    std::vector<Group> out = fold(st, 0);
    sort(out, Order::AmountDesc);
    return out;
}

void StatisticsReport::sort(std::vector<Group>& groups, Order order) {
    const auto by = [&](auto less) { std::stable_sort(groups.begin(), groups.end(), less); };
    switch (order) {
        case Order::None:
            return;
        case Order::AmountDesc:
            return by([](const Group& a, const Group& b) { return a.cents > b.cents; });
        case Order::AmountAsc:
            return by([](const Group& a, const Group& b) { return a.cents < b.cents; });
        case Order::CountDesc:
            return by([](const Group& a, const Group& b) { return a.count > b.count; });
        case Order::CountAsc:
            return by([](const Group& a, const Group& b) { return a.count < b.count; });
        case Order::NameDesc:
            return by(
                [](const Group& a, const Group& b) { return NameOrder::less(b.label, a.label); });
        case Order::NameAsc:
            return by(
                [](const Group& a, const Group& b) { return NameOrder::less(a.label, b.label); });
    }
}

QStringList StatisticsReport::dimensionItems() {
    return dimensionTexts();
}

QStringList StatisticsReport::orderItems() {
    return orderTexts();
}

QStringList StatisticsReport::columnTitles(const QString& item) {
    if (item == dimensionTexts()[0])
        return {QStringLiteral("收入名称"), QStringLiteral("支出名称")};
    return {item, item};
}

ReportOutcome StatisticsReport::runInOut(Database& db, const QString& book,
                                         const ReportFilter& filter) {
    const QString item =
        filter.has(FilterKey::Dimension) ? filter.value(FilterKey::Dimension) : dimensionTexts()[0];
    const qsizetype d = dimensionTexts().indexOf(item);
    if (d < 0) return ReportOutcome::refused(unknownDimensionMessage());
    // An order the box does not offer gives no order, as an unticked box does.
    const qsizetype o =
        filter.has(FilterKey::Sort) ? orderTexts().indexOf(filter.value(FilterKey::Sort)) : -1;
    const Order order = o < 0 ? Order::None : Order(o + 1);

    ReportTable table({{Field::Side, QStringLiteral("收支"), ColumnKind::Text, 12},
                       {Field::Item, item, ColumnKind::Text, 40},
                       {Field::Count, QStringLiteral("笔数"), ColumnKind::Count, 12, true},
                       {Field::Amount, QStringLiteral("金额"), ColumnKind::Money, 20, true}});
    table.setTotalsRow(false);
    const Source sources[] = {income(), expense()};
    const QString sides[] = {QStringLiteral("收入"), QStringLiteral("支出")};
    for (int s = 0; s < 2; ++s) {
        std::vector<Group> gs = groups(db, book, sources[s], Dimension(d), filter);
        sort(gs, order);
        for (const Group& g : gs) {
            table.addRow({sides[s], g.label, g.count, double(g.cents) / 100.0});
        }
    }
    return {std::move(table), {}};
}

ReportOutcome StatisticsReport::runDebtCredit(Database& db, const QString& book,
                                              const ReportFilter& filter) {
    ReportTable table({{Field::Side, QStringLiteral("债务债权"), ColumnKind::Text, 12},
                       {Field::Item, QStringLiteral("往来人员"), ColumnKind::Text, 40},
                       {Field::Count, QStringLiteral("笔数"), ColumnKind::Count, 12, true},
                       {Field::Amount, QStringLiteral("金额"), ColumnKind::Money, 20, true}});
    table.setTotalsRow(false);
    const QString sides[] = {QStringLiteral("债务"), QStringLiteral("债权")};
    for (int s = 0; s < 2; ++s) {
        for (const Group& g : outstanding(db, book, s == 0, filter)) {
            table.addRow({sides[s], g.label, g.count, double(g.cents) / 100.0});
        }
    }
    return {std::move(table), {}};
}

ReportTable StatisticsReport::side(const ReportTable& all, const QString& sideName,
                                   const QString& itemTitle, const QString& amountTitle) {
    ReportTable t({{Field::Item, itemTitle, ColumnKind::Text, 40},
                   {Field::Count, QStringLiteral("笔数"), ColumnKind::Count, 12, true},
                   {Field::Amount, amountTitle, ColumnKind::Money, 20, true}});
    if (!all.hasColumn(Field::Side)) return t;
    for (int r = 0; r < all.rowCount(); ++r) {
        if (all.text(r, Field::Side) != sideName) continue;
        t.addRow(
            {all.value(r, Field::Item), all.value(r, Field::Count), all.value(r, Field::Amount)});
    }
    return t;
}

double StatisticsReport::balanceAt(Database& db, const QString& book, const QString& account,
                                   const QString& date) {
    Statement st = db.prepare(QStringLiteral(
        "SELECT AMoney FROM UList WHERE BName=? AND AName=? AND theDate<=? ORDER BY ID DESC "
        "LIMIT 1"));
    st.bindAll(book, account, date);
    return st.step() ? st.number(0) : 0.0;
}

Workbook StatisticsReport::inOutWorkbook(Database& db, const QString& book,
                                         const ReportFilter& filter, const ReportTable& table) {
    Workbook wb;
    const QString name = book + QStringLiteral("-收支统计表");
    wb.setCaption(name);
    wb.mergeRows(Workbook::Range::parse(QStringLiteral("A1:E1")));
    wb.setValue(1, 1, rangeTitle(name, filter));
    wb.centre(Workbook::Range::parse(QStringLiteral("A1:E1")));
    wb.setFontName(Workbook::Range::parse(QStringLiteral("A1:E1")), QStringLiteral("宋体"));
    wb.setFontSize(Workbook::Range::parse(QStringLiteral("A1:E1")), 16);
    wb.setBold(Workbook::Range::parse(QStringLiteral("A1:E1")), true);
    wb.setFontSize(Workbook::Range::parse(QStringLiteral("A2:E2")), 12);
    const double widths[] = {4, 40, 10, 10, 10};
    for (int c = 0; c < 5; ++c) wb.setColumnWidth(c + 1, widths[c]);

    // The titles of the run shown, whatever the box reads now.
    const QString item = table.columnCount() > 1 ? table.column(1).title : dimensionTexts()[0];
    const QStringList titles = columnTitles(item);
    const QString money = Workbook::moneyFormat();
    const QString percent = Workbook::percentFormat();
    const auto border = [&](int top, int bottom) {
        wb.setBorders(Workbook::Range{top, 1, bottom, 5});
    };
    // One block per side: the heading row, the header row, the groups with their share of
    // the side's total, and 合计. Returns the side's total in cents and the 合计 row.
    const auto block = [&](int r, const QString& sideName, const QString& title) {
        const ReportTable t = side(table, sideName, title, QStringLiteral("金额"));
        wb.mergeRows(Workbook::Range{r, 1, r, 5});
        wb.setValue(r, 1, sideName);
        const int header = r + 1;
        const QStringList heads{QStringLiteral("序号"), title, QStringLiteral("笔数"),
                                QStringLiteral("金额"), QStringLiteral("所占比例")};
        for (int c = 0; c < 5; ++c) wb.setValue(header, c + 1, heads[c]);
        const qint64 whole = Money::cents(t.total(Field::Amount));
        int row = header;
        for (int i = 0; i < t.rowCount(); ++i) {
            ++row;
            wb.setValue(row, 1, i + 1);
            wb.setValue(row, 2, t.value(i, Field::Item));
            wb.setValue(row, 3, t.value(i, Field::Count));
            wb.setValue(row, 4, t.number(i, Field::Amount), money);
            wb.setValue(row, 5, shareOf(Money::cents(t.number(i, Field::Amount)), whole), percent);
        }
        ++row;
        wb.setValue(row, 1, QStringLiteral("合计"));
        wb.setValue(row, 3, t.totalValue(t.requireColumn(Field::Count)));
        wb.setValue(row, 4, t.total(Field::Amount), money);
        border(header, row);
        return std::pair{whole, row};
    };
    const auto [in, inEnd] = block(2, QStringLiteral("收入"), titles[0]);
    const auto [out, outEnd] = block(inEnd + 2, QStringLiteral("支出"), titles[1]);

    // The balance: expense less income, as its header says, and expense as a share of income.
    int r = outEnd + 2;
    wb.mergeRows(Workbook::Range{r, 1, r, 5});
    wb.setValue(r, 1, QStringLiteral("结余"));
    wb.mergeRows(Workbook::Range{r + 1, 1, r + 1, 3});
    wb.setValue(r + 1, 4, QStringLiteral("支出减收入"));
    wb.setValue(r + 1, 5, QStringLiteral("支出占收入"));
    wb.mergeRows(Workbook::Range{r + 2, 1, r + 2, 3});
    wb.setValue(r + 2, 4, double(out - in) / 100.0, money);
    wb.setValue(r + 2, 5, shareOf(out, in), percent);
    border(r + 1, r + 2);

    // Every account of the book with its balance at the last date.
    r += 4;
    wb.mergeRows(Workbook::Range{r, 1, r, 5});
    wb.setValue(r, 1, QStringLiteral("账户"));
    const int header = r + 1;
    const QStringList heads{QStringLiteral("序号"), QStringLiteral("账户名称"),
                            QStringLiteral("家庭成员"), QStringLiteral("账户余额"),
                            QStringLiteral("所占比例")};
    for (int c = 0; c < 5; ++c) wb.setValue(header, c + 1, heads[c]);
    struct Account {
        QString type, name, member;
        qint64 cents;
    };
    std::vector<Account> accounts;
    Statement st = db.prepare(QStringLiteral(
        "SELECT AName, theType, FName FROM SAccount WHERE BName=? ORDER BY AMoney DESC"));
    st.bindAll(book);
    const QString to = filter.to.toString(Qt::ISODate);
    while (st.step()) {
        accounts.push_back({st.text(1), st.text(0), st.text(2),
                            Money::cents(balanceAt(db, book, st.text(0), to))});
    }
    qint64 b = 0;
    for (const Account& a : accounts) b += a.cents;
    int row = header;
    for (size_t i = 0; i < accounts.size(); ++i) {
        const Account& a = accounts[i];
        ++row;
        wb.setValue(row, 1, qint64(i) + 1);
        wb.setValue(row, 2, QString(a.type + QStringLiteral("  ") + a.name));
        wb.setValue(row, 3, a.member);
        wb.setValue(row, 4, double(a.cents) / 100.0, money);
        // Balances that cancel out leave no total to share: 0.00%, and the export goes on.
        wb.setValue(row, 5, shareOf(a.cents, b), percent);
    }
    ++row;
    wb.setValue(row, 1, QStringLiteral("合计"));
    wb.setValue(row, 4, double(b) / 100.0, money);
    border(header, row);

    wb.pageSetup().bottomMargin = ExportLayout::kBottomMargin;
    wb.pageSetup().centerFooter = SpreadsheetExport::footer();
    return wb;
}

Workbook StatisticsReport::debtCreditWorkbook(const QString& book, const ReportFilter& filter,
                                              const ReportTable& table) {
    Workbook wb;
    const QString name = book + QStringLiteral("-债务债权统计表");
    wb.setCaption(name);
    const auto all = Workbook::Range::parse(QStringLiteral("A1:H1"));
    wb.mergeRows(all);
    wb.setValue(1, 1, rangeTitle(name, filter));
    wb.centre(Workbook::Range::parse(QStringLiteral("A1:H2")));
    wb.setFontName(all, QStringLiteral("宋体"));
    wb.setFontSize(all, 16);
    wb.setBold(all, true);
    wb.setFontSize(Workbook::Range::parse(QStringLiteral("A2:H2")), 12);
    const double widths[] = {4, 15, 6, 10, 4, 15, 6, 10};
    for (int c = 0; c < 8; ++c) wb.setColumnWidth(c + 1, widths[c]);
    const QStringList heads{QStringLiteral("序号"), QStringLiteral("债权人"),
                            QStringLiteral("笔数"), QStringLiteral("未还金额"),
                            QStringLiteral("序号"), QStringLiteral("债务人"),
                            QStringLiteral("笔数"), QStringLiteral("未收金额")};
    for (int c = 0; c < 8; ++c) wb.setValue(2, c + 1, heads[c]);
    const ReportTable debts =
        side(table, QStringLiteral("债务"), QStringLiteral("债权人"), QStringLiteral("未还金额"));
    const ReportTable credits =
        side(table, QStringLiteral("债权"), QStringLiteral("债务人"), QStringLiteral("未收金额"));
    const auto fill = [&](const ReportTable& t, int first) {
        for (int i = 0; i < t.rowCount(); ++i) {
            wb.setValue(3 + i, first, i + 1);
            wb.setValue(3 + i, first + 1, t.value(i, Field::Item));
            wb.setValue(3 + i, first + 2, t.value(i, Field::Count));
            wb.setValue(3 + i, first + 3, t.number(i, Field::Amount), Workbook::moneyFormat());
        }
    };
    fill(debts, 1);
    fill(credits, 5);
    const int totals = 3 + std::max(debts.rowCount(), credits.rowCount());
    wb.setValue(totals, 1, QStringLiteral("合计"));
    wb.setValue(totals, 2, debts.rowCount());
    wb.setValue(totals, 3, debts.totalValue(debts.requireColumn(Field::Count)));
    wb.setValue(totals, 4, debts.total(Field::Amount), Workbook::moneyFormat());
    wb.setValue(totals, 6, credits.rowCount());
    wb.setValue(totals, 7, credits.totalValue(credits.requireColumn(Field::Count)));
    wb.setValue(totals, 8, credits.total(Field::Amount), Workbook::moneyFormat());
    wb.setBorders(Workbook::Range{2, 1, totals, 8});
    wb.pageSetup().bottomMargin = ExportLayout::kBottomMargin;
    wb.pageSetup().centerFooter = SpreadsheetExport::footer();
    return wb;
}

namespace {

QStringList sideStatus(const ReportTable& t) {
    return {QStringLiteral("笔数：") + QString::number(qint64(t.total(Field::Count))),
            QStringLiteral("合计金额：") + Money::display(t.total(Field::Amount))};
}

std::pair<QDate, QDate> monthBack(const QDate& today) {
    return {today.addMonths(-1), today};
}

}  // namespace

ReportDefinition StatisticsReport::inOutDefinition() {
    return {
        .cliName = QStringLiteral("in-out"),
        .screen = QStringLiteral("TfrmPage1"),
        .caption = QStringLiteral("收支统计表"),
        .datesLabel = QStringLiteral("收支日期"),
        .defaultDates = &monthBack,
        .filters = {{FilterKey::Account, QStringLiteral("账户名称"),
                     [](TfrmDM& dm) { return dm.DBComAccount(); }},
                    {FilterKey::Member, QStringLiteral("家庭成员"),
                     [](TfrmDM& dm) { return dm.DBComFamily(); }}},
        .choices = {{FilterKey::Dimension, QStringLiteral("统计的项"), dimensionItems(),
                     dimensionItems()[0]},
                    {FilterKey::Sort, QStringLiteral("排        序"), orderItems(), orderItems()[0],
                     true}},
        .run = &runInOut,
        .sides = {QStringLiteral("收入"), QStringLiteral("支出")},
        .sideTable =
            [](const ReportTable& all, int s) {
                // The combined table is titled by the dimension; each side by its own name
                // (收入名称 and 支出名称 for categories).
                const QString item = all.columnCount() > 1 ? all.column(1).title : QString();
                return side(all, s == 0 ? QStringLiteral("收入") : QStringLiteral("支出"),
                            columnTitles(item).value(s), QStringLiteral("金额"));
            },
        .sideStatus = &sideStatus,
        .workbook = &inOutWorkbook,
    };
}

ReportDefinition StatisticsReport::debtCreditDefinition() {
    return {
        .cliName = QStringLiteral("debt-credit"),
        .screen = QStringLiteral("TfrmPage2"),
        .caption = QStringLiteral("债务债权统计表"),
        .datesLabel = QStringLiteral("日        期"),
        .defaultDates = &monthBack,
        .filters = {{FilterKey::Account, QStringLiteral("账户名称"),
                     [](TfrmDM& dm) { return dm.DBComAccount(); }},
                    {FilterKey::Member, QStringLiteral("家庭成员"),
                     [](TfrmDM& dm) { return dm.DBComFamily(); }}},
        .run = &runDebtCredit,
        .sides = {QStringLiteral("债务"), QStringLiteral("债权")},
        .sideTable =
            [](const ReportTable& all, int s) {
                return s == 0 ? side(all, QStringLiteral("债务"), QStringLiteral("债权人"),
                                     QStringLiteral("未还金额"))
                              : side(all, QStringLiteral("债权"), QStringLiteral("债务人"),
                                     QStringLiteral("未收金额"));
            },
        .workbook = [](Database&, const QString& book, const ReportFilter& f,
                       const ReportTable& t) { return debtCreditWorkbook(book, f, t); },
    };
}

}  // namespace cw
