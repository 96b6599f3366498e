#include "reports/MonthCategoryReport.h"

#include <QByteArray>
#include <map>
#include <stdexcept>

#include "reports/SpreadsheetExport.h"
#include "storage/Database.h"
#include "storage/Money.h"
#include "storage/NameOrder.h"

namespace cw {

namespace {

Workbook::Range range(const QString& ref) {
    return Workbook::Range::parse(ref);
}

}  // namespace

const std::vector<MonthCategoryReport::Spec>& MonthCategoryReport::all() {
    static const std::vector<Spec> specs = {
        {QStringLiteral("InMonthByCategory"), QStringLiteral("income-by-category"),
         QStringLiteral("收入月报表-按收入类别"), QStringLiteral("InTable"),
         QStringLiteral("IDate"), QStringLiteral("IMoney"), QStringLiteral("IName")},
        {QStringLiteral("InMonthByAccount"), QStringLiteral("income-by-account"),
         QStringLiteral("收入月报表-按账户名称"), QStringLiteral("InTable"),
         QStringLiteral("IDate"), QStringLiteral("IMoney"), QStringLiteral("AName")},
        {QStringLiteral("InMonthByMember"), QStringLiteral("income-by-member"),
         QStringLiteral("收入月报表-按家庭成员"), QStringLiteral("InTable"),
         QStringLiteral("IDate"), QStringLiteral("IMoney"), QStringLiteral("FName")},
        {QStringLiteral("OutMonthByCategory"), QStringLiteral("expense-by-category"),
         QStringLiteral("支出月报表-按支出类别"), QStringLiteral("OutTable"),
         QStringLiteral("ODate"), QStringLiteral("OMoney"), QStringLiteral("OName")},
        {QStringLiteral("OutMonthByAccount"), QStringLiteral("expense-by-account"),
         QStringLiteral("支出月报表-按账户名称"), QStringLiteral("OutTable"),
         QStringLiteral("ODate"), QStringLiteral("OMoney"), QStringLiteral("AName")},
        {QStringLiteral("OutMonthByMember"), QStringLiteral("expense-by-member"),
         QStringLiteral("支出月报表-按家庭成员"), QStringLiteral("OutTable"),
         QStringLiteral("ODate"), QStringLiteral("OMoney"), QStringLiteral("FName")},
    };
    return specs;
}

const MonthCategoryReport::Spec& MonthCategoryReport::forScreen(const QString& screen) {
    for (const Spec& s : all()) {
        if (s.screen == screen) return s;
    }
    throw std::out_of_range("no month report " + screen.toStdString());
}

QString MonthCategoryReport::lastLetter(int categories) {
    // The totals column follows the categories from column 3 on.
    return Workbook::columnLetters(std::max(8, categories + 3));
}

Workbook MonthCategoryReport::build(Database& db, const QString& book, const Spec& spec,
                                    const Progress& progress) {
    db.requireColumn(spec.table, spec.dateColumn);
    db.requireColumn(spec.table, spec.amountColumn);
    db.requireColumn(spec.table, spec.groupColumn);

    // Months in the engine's own order (bytes of the UTF-8 text), amounts in cents.
    std::map<QByteArray, std::map<QByteArray, qint64>> cells;
    std::map<QByteArray, qint64> byName;
    Statement st = db.prepare(
        QStringLiteral("SELECT substr(%1,1,7) AS m, %2 AS g, sum(%3) AS s FROM %4 WHERE BName=? "
                       "GROUP BY m, g")
            .arg(spec.dateColumn, spec.groupColumn, spec.amountColumn, spec.table));
    st.bind(1, book);
    while (st.step()) {
        const QByteArray month = st.text(0).toUtf8();
        const QByteArray name = st.text(1).toUtf8();
        const qint64 cents = Money::cents(st.number(2));
        cells[month][name] += cents;
        byName[name] += cents;
    }

    Workbook wb;
    const QString title = book + QLatin1Char('-') + spec.title;
    wb.setCaption(title);
    wb.setValue(1, 1, title);

    const int categories = int(byName.size());
    const QString last = lastLetter(categories);
    wb.mergeRows(range(QStringLiteral("A1:") + last + QStringLiteral("1")));
    wb.centre(range(QStringLiteral("A1:") + last + QStringLiteral("2")));
    wb.setFontName(range(QStringLiteral("A1:") + last + QStringLiteral("1")),
                   QStringLiteral("宋体"));
    wb.setFontSize(range(QStringLiteral("A1:") + last + QStringLiteral("1")), 16);
    wb.setBold(range(QStringLiteral("A1:") + last + QStringLiteral("1")), true);
    wb.setFontSize(range(QStringLiteral("A2:") + last + QStringLiteral("2")), 12);

    wb.setValue(2, 1, QStringLiteral("序号"));
    wb.setValue(2, 2, QStringLiteral("月份"));
    wb.setColumnWidth(1, 4);
    wb.setColumnWidth(2, 8);
    for (int c = 3; c <= 8; ++c) wb.setColumnWidth(c, 10);
    // The category columns in pinyin order, as every list of names.
    QStringList ordered;
    for (const auto& [name, sum] : byName) ordered << QString::fromUtf8(name);
    NameOrder::sort(ordered);
    std::vector<QByteArray> names;
    for (const QString& name : ordered) {
        wb.setValue(2, int(names.size()) + 3, name);
        names.push_back(name.toUtf8());
    }
    const int totalsColumn = categories + 3;
    wb.setValue(2, totalsColumn, QStringLiteral("合计"));

    const auto money = [](qint64 cents) { return double(cents) / 100.0; };
    int row = 3;
    qint64 grand = 0;
    const int months = int(cells.size());
    for (const auto& [month, sums] : cells) {
        wb.setValue(row, 1, row - 2);
        wb.setValue(row, 2, QString::fromUtf8(month));
        qint64 monthTotal = 0;
        for (size_t k = 0; k < names.size(); ++k) {
            const auto it = sums.find(names[k]);
            const qint64 cents = it == sums.end() ? 0 : it->second;
            monthTotal += cents;
            wb.setValue(row, int(k) + 3, money(cents), Workbook::moneyFormat());
        }
        wb.setValue(row, totalsColumn, money(monthTotal), Workbook::moneyFormat());
        grand += monthTotal;
        if (progress) progress(row - 2, months);
        ++row;
    }

    wb.setValue(row, 2, QStringLiteral("合计"));
    for (size_t k = 0; k < names.size(); ++k) {
        wb.setValue(row, int(k) + 3, money(byName[names[k]]), Workbook::moneyFormat());
    }
    wb.setValue(row, totalsColumn, money(grand), Workbook::moneyFormat());

    wb.setBorders(range(QStringLiteral("A2:") + last + QString::number(row)));
    wb.pageSetup().bottomMargin = ExportLayout::kBottomMargin;
    wb.pageSetup().centerFooter = SpreadsheetExport::footer();
    return wb;
}

}  // namespace cw
