#include "reports/IncomeExpenseReport.h"

#include <QHash>

#include "storage/Database.h"
#include "storage/Money.h"
#include "storage/TfrmDM.h"

namespace cw {

namespace {

struct PeriodSums {
    qint64 cents = 0;
    qint64 count = 0;
};

// One grouped statement over the whole range. It groups by the date itself, which the date
// index delivers in order (a grouping on the month text would sort every posting first), and
// the days are then added up into their months (years) here. Periods are whole months
// (years), selected as a half-open text range of the date column so the index serves it.
QHash<QString, PeriodSums> sumsByPeriod(Database& db, const QString& book, const QString& table,
                                        const QString& dateColumn, const QString& moneyColumn,
                                        int labelLength, const QString& first, const QString& last,
                                        const ReportFilter& filter) {
    QString sql = QStringLiteral("SELECT %1, sum(%2), count(*) FROM %3 WHERE BName=?")
                      .arg(dateColumn, moneyColumn, table);
    QVariantList args{book};
    if (filter.has(FilterKey::Member)) {
        sql += QStringLiteral(" AND FName=?");
        args << filter.value(FilterKey::Member);
    }
    if (filter.has(FilterKey::Account)) {
        sql += QStringLiteral(" AND AName=?");
        args << filter.value(FilterKey::Account);
    }
    sql += QStringLiteral(" AND %1>=? AND %1<? GROUP BY %1").arg(dateColumn);
    args << first << TfrmDM::monthRange(last).second;
    Statement st = db.prepare(sql);
    st.bindList(args);
    QHash<QString, PeriodSums> sums;
    while (st.step()) {
        PeriodSums& p = sums[st.text(0).left(labelLength)];
        p.cents += Money::cents(st.number(1));
        p.count += st.integer(2);
    }
    return sums;
}

}  // namespace

QStringList IncomeExpenseReport::periods(Period period, const QDate& from, const QDate& to) {
    QStringList labels;
    if (!from.isValid() || !to.isValid() || from > to) return labels;
    if (period == Period::Year) {
        for (int y = from.year(); y <= to.year(); ++y) labels << QString::number(y);
        return labels;
    }
    const QDate last(to.year(), to.month(), 1);
    for (QDate d(from.year(), from.month(), 1); d <= last; d = d.addMonths(1)) {
        labels << d.toString(QStringLiteral("yyyy-MM"));
    }
    return labels;
}

std::vector<ReportColumn> IncomeExpenseReport::columns(Period period) {
    const QString label = period == Period::Month ? QStringLiteral("月份") : QStringLiteral("年份");
    return {
        {Field::theDate, label, ColumnKind::Date, 20},
        {Field::theSM, QStringLiteral("收入金额"), ColumnKind::Money, 20, true},
        {Field::theSC, QStringLiteral("收入笔数"), ColumnKind::Count, 20, true},
        {Field::theZM, QStringLiteral("支出金额"), ColumnKind::Money, 20, true},
        {Field::theZC, QStringLiteral("支出笔数"), ColumnKind::Count, 20, true},
        {Field::theJY, QStringLiteral("结余金额"), ColumnKind::Money, 20, true},
        {Field::theBC, QStringLiteral("支出占收入"), ColumnKind::Ratio, 20},
    };
}

ReportOutcome IncomeExpenseReport::run(Database& db, const QString& book, Period period,
                                       const ReportFilter& filter) {
    if (filter.from > filter.to) return ReportOutcome::refused(reversedDatesMessage());
    const QStringList labels = periods(period, filter.from, filter.to);
    if (labels.isEmpty()) return {ReportTable(columns(period)), {}};
    const int length = period == Period::Month ? 7 : 4;
    const auto income =
        sumsByPeriod(db, book, QStringLiteral("InTable"), QStringLiteral("IDate"),
                     QStringLiteral("IMoney"), length, labels.front(), labels.back(), filter);
    const auto expense =
        sumsByPeriod(db, book, QStringLiteral("OutTable"), QStringLiteral("ODate"),
                     QStringLiteral("OMoney"), length, labels.front(), labels.back(), filter);

    ReportOutcome out{ReportTable(columns(period)), {}};
    out.table.reserve(int(labels.size()));
    qint64 id = 0;
    for (const QString& p : labels) {
        const PeriodSums in = income.value(p);
        const PeriodSums ex = expense.value(p);
        const double sm = double(in.cents) / 100.0;
        const double zm = double(ex.cents) / 100.0;
        // A share of nothing is 0, not a division by zero.
        const double share = (in.cents != 0 && ex.cents != 0) ? zm / sm : 0.0;
        out.table.addRow(
            {p, sm, in.count, zm, ex.count, double(in.cents - ex.cents) / 100.0, share}, ++id);
    }
    return out;
}

std::pair<QDate, QDate> IncomeExpenseReport::defaultDates(Period period, const QDate& today) {
    if (period == Period::Year) {
        return {QDate(today.year() - 1, 1, 1), QDate(today.year(), 12, 31)};
    }
    const QDate from = QDate(today.year(), today.month(), 1).addMonths(-11);
    return {from, from.addMonths(12).addDays(-1)};
}

QStringList IncomeExpenseReport::statusTexts(const ReportTable& t) {
    const auto money = [&](Field f) { return Money::display(t.total(f)); };
    const auto count = [&](Field f) { return QString::number(qint64(t.total(f))); };
    return {QStringLiteral("数量：") + QString::number(t.rowCount()),
            QStringLiteral("收入合计：") + money(Field::theSM),
            QStringLiteral("收入笔数：") + count(Field::theSC),
            QStringLiteral("支出合计：") + money(Field::theZM),
            QStringLiteral("支出笔数：") + count(Field::theZC),
            QStringLiteral("结余合计：") + money(Field::theJY)};
}

ReportDefinition IncomeExpenseReport::definition(Period period) {
    const bool monthly = period == Period::Month;
    return {
        .cliName = monthly ? QStringLiteral("monthly") : QStringLiteral("yearly"),
        .screen = monthly ? QStringLiteral("TfrmSZ_M") : QStringLiteral("TfrmSZ_Y"),
        .caption = monthly ? QStringLiteral("收支月报表") : QStringLiteral("收支年报表"),
        .defaultDates = [period](const QDate& today) { return defaultDates(period, today); },
        // The yearly screen's dates leave the check box alone.
        .datesTickOnChange = monthly,
        .filters = {{FilterKey::Account, QStringLiteral("账户名称"),
                     [](TfrmDM& dm) { return dm.DBComAccount(); }},
                    {FilterKey::Member, QStringLiteral("家庭成员"),
                     [](TfrmDM& dm) { return dm.DBComFamily(); }}},
        .run = [period](Database& db, const QString& book,
                        const ReportFilter& f) { return run(db, book, period, f); },
        .statusTexts = &statusTexts,
        .printLayout =
            monthly ? QStringLiteral("Print/theSZ_M.rf3") : QStringLiteral("Print/theSZ_Y.rf3"),
    };
}

}  // namespace cw
