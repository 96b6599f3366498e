#include "reports/Dashboard.h"

#include "storage/Money.h"
#include "storage/TfrmDM.h"

namespace cw {

namespace {

double sumOf(TfrmDM& dm, const QString& sql, const QString& type = QString()) {
    Statement st = dm.db().prepare(sql);
    st.bind(1, dm.book());
    if (!type.isNull()) st.bind(2, type);
    return st.step() ? Money::round(st.number(0)) : 0.0;
}

double accountsOfType(TfrmDM& dm, const QString& type) {
    return sumOf(dm, QStringLiteral("SELECT Sum(AMoney) FROM SAccount WHERE BName=? AND theType=?"),
                 type);
}

double columnSum(TfrmDM& dm, const QString& table, const QString& column) {
    return sumOf(dm, QStringLiteral("SELECT Sum(%1) FROM %2 WHERE BName=?").arg(column, table));
}

// The book's running total of a posting table, kept beside every posting.
double bookTotal(TfrmDM& dm, const QString& table) {
    Statement st =
        dm.db().prepare(QStringLiteral("SELECT theCents FROM SBookSum WHERE BName=? AND theT=?"));
    st.bindAll(dm.book(), table);
    return st.step() ? double(st.integer(0)) / 100.0 : 0.0;
}

}  // namespace

double Dashboard::share() const {
    // Without income there is nothing to take a share of.
    if (Money::cents(income) <= 0) return 0;
    return expense / income * 100.0;
}

QString Dashboard::statusText() const {
    return QStringLiteral("收入：") + Money::display(income) + QStringLiteral(" 支出：") +
           Money::display(expense) + QStringLiteral(" 结余：") + Money::display(balance()) +
           QStringLiteral(" 支出占收入：") + Money::display(share()) + QStringLiteral("%");
}

QVector<std::pair<QString, double>> Dashboard::figures() const {
    return {{QStringLiteral("现金"), cash},
            {QStringLiteral("银行卡"), bank},
            {QStringLiteral("电子账户"), eAccount},
            {QStringLiteral("其它"), other},
            {QStringLiteral("投资"), investment},
            {QStringLiteral("债权"), credit},
            {QStringLiteral("债务"), debt},
            {QStringLiteral("信用卡"), creditCard},
            {QStringLiteral("资金合计"), funds()},
            {QStringLiteral("负债合计"), liabilities()},
            {QStringLiteral("净资金"), net()},
            {QStringLiteral("收入"), income},
            {QStringLiteral("支出"), expense},
            {QStringLiteral("结余"), balance()},
            {QStringLiteral("支出占收入"), Money::round(share())}};
}

Dashboard Dashboard::compute(TfrmDM& dm) {
    Dashboard d;
    if (dm.book().isEmpty()) return d;
    d.cash = accountsOfType(dm, QStringLiteral("现金"));
    d.bank = accountsOfType(dm, QStringLiteral("银行卡"));
    d.eAccount = accountsOfType(dm, QStringLiteral("电子账户"));
    d.other = accountsOfType(dm, QStringLiteral("其它"));
    d.creditCard = accountsOfType(dm, QStringLiteral("信用卡"));
    d.credit = columnSum(dm, QStringLiteral("Debt"), QStringLiteral("DMoney"));
    d.debt = -columnSum(dm, QStringLiteral("Borrow"), QStringLiteral("BMoney"));
    d.investment = columnSum(dm, QStringLiteral("TTable"), QStringLiteral("TMoney"));
    d.income = bookTotal(dm, QStringLiteral("InTable"));
    d.expense = bookTotal(dm, QStringLiteral("OutTable"));
    return d;
}

}  // namespace cw
