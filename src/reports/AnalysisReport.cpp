#include "reports/AnalysisReport.h"

#include "reports/StatisticsReport.h"
#include "storage/Database.h"
#include "storage/Money.h"
#include "storage/TfrmDM.h"

namespace cw {

namespace {

using Dimension = StatisticsReport::Dimension;

// The box's items in the order of the dimensions they stand for.
const Dimension kDimensions[] = {Dimension::Day,    Dimension::Month,    Dimension::Year,
                                 Dimension::Member, Dimension::Category, Dimension::Account};

}  // namespace

QStringList AnalysisReport::dimensionItems(Side side) {
    if (side == Side::Income) {
        return {QStringLiteral("日收入"),   QStringLiteral("月收入"),   QStringLiteral("年收入"),
                QStringLiteral("家庭成员"), QStringLiteral("收入类别"), QStringLiteral("账户名称")};
    }
    return {QStringLiteral("日支出"),   QStringLiteral("月支出"),   QStringLiteral("年支出"),
            QStringLiteral("家庭成员"), QStringLiteral("支出类别"), QStringLiteral("账户名称")};
}

QString AnalysisReport::title(Side side) {
    return side == Side::Income ? QStringLiteral("收入分析") : QStringLiteral("支出分析");
}

ReportOutcome AnalysisReport::run(Database& db, const QString& book, Side side,
                                  const ReportFilter& filter) {
    const QString item =
        filter.has(FilterKey::Dimension) ? filter.value(FilterKey::Dimension) : defaultItem(side);
    const qsizetype d = dimensionItems(side).indexOf(item);
    if (d < 0) return ReportOutcome::refused(StatisticsReport::unknownDimensionMessage());
    const auto groups = StatisticsReport::groups(
        db, book, side == Side::Income ? StatisticsReport::income() : StatisticsReport::expense(),
        kDimensions[d], filter);
    ReportTable table({{Field::Item, QStringLiteral("统计的项"), ColumnKind::Text, 40},
                       {Field::Amount, QStringLiteral("金额"), ColumnKind::Money, 30, true}});
    table.reserve(int(groups.size()));
    for (const StatisticsReport::Group& g : groups) {
        table.addRow({g.label, double(g.cents) / 100.0});
    }
    return {std::move(table), {}};
}

QStringList AnalysisReport::statusTexts(const ReportTable& t) {
    return {QStringLiteral("数量：") + QString::number(t.rowCount()),
            QStringLiteral("合计金额：") +
                (t.isEmpty() ? QString() : Money::display(t.total(Field::Amount)))};
}

ReportDefinition AnalysisReport::definition(Side side) {
    const bool in = side == Side::Income;
    return {
        .cliName = in ? QStringLiteral("analysis-in") : QStringLiteral("analysis-out"),
        .screen = in ? QStringLiteral("TfrmE_I") : QStringLiteral("TfrmE_O"),
        .caption = title(side),
        .datesLabel = in ? QStringLiteral("收入日期") : QStringLiteral("支出日期"),
        .defaultDates =
            [](const QDate& today) {
                return std::pair{today.addMonths(-1), today};
            },
        .filters = {{FilterKey::Category,
                     in ? QStringLiteral("收入类别") : QStringLiteral("支出类别"),
                     [in](TfrmDM& dm) { return in ? dm.DBComInType() : dm.DBComOutType(); }},
                    {FilterKey::Account, QStringLiteral("账户名称"),
                     [](TfrmDM& dm) { return dm.DBComAccount(); }},
                    {FilterKey::Member, QStringLiteral("家庭成员"),
                     [](TfrmDM& dm) { return dm.DBComFamily(); }}},
        .choices = {{FilterKey::Dimension, QStringLiteral("统计的项"), dimensionItems(side),
                     defaultItem(side)}},
        .datesInitiallyTicked = false,
        .run = [side](Database& db, const QString& book,
                      const ReportFilter& f) { return run(db, book, side, f); },
        .statusTexts = &statusTexts,
        .chartTitle = title(side),
    };
}

QStringList AccountQuery::kinds() {
    return {QStringLiteral("现金"), QStringLiteral("银行卡"), QStringLiteral("信用卡"),
            QStringLiteral("电子账户"), QStringLiteral("其它")};
}

ReportOutcome AccountQuery::run(Database& db, const QString& book, const ReportFilter& filter) {
    QString sql = QStringLiteral(
        "SELECT theType, FName, AName, AMoney, Remark FROM SAccount WHERE BName=? AND "
        "theState='启用'");
    QVariantList args{book};
    if (filter.has(FilterKey::AccountType)) {
        sql += QStringLiteral(" AND theType=?");
        args << filter.value(FilterKey::AccountType);
    }
    if (filter.has(FilterKey::Member)) {
        sql += QStringLiteral(" AND FName=?");
        args << filter.value(FilterKey::Member);
    }
    if (filter.has(FilterKey::Account)) {
        sql += QStringLiteral(" AND AName=?");
        args << filter.value(FilterKey::Account);
    }
    if (filter.has(FilterKey::Remark)) {
        // The note is looked for as typed: % and _ are characters, not wildcards.
        sql += QStringLiteral(" AND Remark LIKE ? ESCAPE '\\'");
        args << Statement::containing(filter.value(FilterKey::Remark));
    }
    sql += QStringLiteral(" ORDER BY NameKey(theType), NameKey(FName), NameKey(AName)");
    Statement st = db.prepare(sql);
    st.bindList(args);
    ReportTable table({{Field::theType, QStringLiteral("账户分类"), ColumnKind::Text, 20},
                       {Field::FName, QStringLiteral("家庭成员"), ColumnKind::Text, 20},
                       {Field::AName, QStringLiteral("账户名称"), ColumnKind::Text, 30},
                       {Field::AMoney, QStringLiteral("账户余额"), ColumnKind::Money, 25, true},
                       {Field::Remark, QStringLiteral("备注"), ColumnKind::Text, 40}});
    while (st.step()) {
        table.addRow({st.text(0), st.text(1), st.text(2), st.number(3), st.text(4)});
    }
    return {std::move(table), {}};
}

QStringList AccountQuery::statusTexts(const ReportTable& t) {
    return {QStringLiteral("账户记录：") + QString::number(t.rowCount()),
            QStringLiteral("账户余额：") + Money::display(t.total(Field::AMoney))};
}

ReportDefinition AccountQuery::definition() {
    return {
        .cliName = QStringLiteral("accounts"),
        .screen = QStringLiteral("TfrmA_Q"),
        .caption = QStringLiteral("账户查询"),
        .filters = {{FilterKey::AccountType, QStringLiteral("账户分类"),
                     [](TfrmDM&) { return kinds(); }, true, 10},
                    {FilterKey::Member, QStringLiteral("家庭成员"),
                     [](TfrmDM& dm) { return dm.DBComFamily(); }},
                    {FilterKey::Account, QStringLiteral("账户名称"),
                     [](TfrmDM& dm) { return dm.DBComAccount(); }},
                    {FilterKey::Remark, QStringLiteral("备        注")}},
        .hasDates = false,
        .runCaption = QStringLiteral("查询"),
        .run = &run,
        .statusTexts = &statusTexts,
    };
}

}  // namespace cw
