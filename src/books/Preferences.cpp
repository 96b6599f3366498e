#include "books/Preferences.h"

#include "storage/TfrmDM.h"
#include "storage/Transaction.h"

namespace cw {

Preferences::Preferences(TfrmDM& dm) : dm_(dm) {}

std::optional<Preferences::SortOrders> Preferences::sortOrders() {
    const Query q = dm_.db().query(
        QStringLiteral("SELECT thePX, theJZPX FROM SBook WHERE (BName = ?)"), dm_.book());
    if (q.isEmpty()) return std::nullopt;
    return SortOrders{int(q.integer(QStringLiteral("thePX"))),
                      int(q.integer(QStringLiteral("theJZPX")))};
}

bool Preferences::saveSortOrders(const SortOrders& orders) {
    if (orders.lists < 1 || orders.lists > kListOrders) return false;
    if (orders.postings < 1 || orders.postings > kPostingOrders) return false;
    Transaction tx(dm_.db());
    dm_.myESql(QStringLiteral("UPDATE SBook SET thePX = ?, theJZPX = ? WHERE (BName = ?)"),
               orders.lists, orders.postings, dm_.book());
    tx.commit();
    return true;
}

std::optional<Preferences::Defaults> Preferences::defaults() {
    const Query q = dm_.db().query(
        QStringLiteral("SELECT FName, AName, IName, OName, TName, PName, "
                       "D_I, D_O, D_C, D_B, D_D, D_T, TX_M, TX_T FROM SMRX WHERE (BName = ?)"),
        dm_.book());
    if (q.recordCount() != 1) return std::nullopt;
    Defaults d;
    d.member = q.text(QStringLiteral("FName"));
    d.account = q.text(QStringLiteral("AName"));
    d.income = q.text(QStringLiteral("IName"));
    d.expense = q.text(QStringLiteral("OName"));
    d.investment = q.text(QStringLiteral("TName"));
    d.contact = q.text(QStringLiteral("PName"));
    d.monthIncome = q.boolean(QStringLiteral("D_I"));
    d.monthExpense = q.boolean(QStringLiteral("D_O"));
    d.monthTransfers = q.boolean(QStringLiteral("D_C"));
    d.openDebts = q.boolean(QStringLiteral("D_B"));
    d.openCredits = q.boolean(QStringLiteral("D_D"));
    d.openInvestments = q.boolean(QStringLiteral("D_T"));
    d.playSound = q.boolean(QStringLiteral("TX_M"));
    d.showPlans = q.boolean(QStringLiteral("TX_T"));
    return d;
}

void Preferences::saveDefaults(const Defaults& d) {
    Transaction tx(dm_.db());
    dm_.myESql(QStringLiteral("UPDATE SMRX SET FName = ?, AName = ?, IName = ?, OName = ?, "
                              "TName = ?, PName = ?, D_I = ?, D_O = ?, D_C = ?, D_B = ?, "
                              "D_D = ?, D_T = ?, TX_M = ?, TX_T = ? WHERE BName = ?"),
               d.member, d.account, d.income, d.expense, d.investment, d.contact,
               int(d.monthIncome), int(d.monthExpense), int(d.monthTransfers), int(d.openDebts),
               int(d.openCredits), int(d.openInvestments), int(d.playSound), int(d.showPlans),
               dm_.book());
    tx.commit();

    GlobalState& s = dm_.state();
    s.myFName = d.member;
    s.myAName = d.account;
    s.myIName = d.income;
    s.myOName = d.expense;
    s.myTName = d.investment;
    s.myPName = d.contact;
    s.myD_I = d.monthIncome;
    s.myD_O = d.monthExpense;
    s.myD_C = d.monthTransfers;
    s.myD_B = d.openDebts;
    s.myD_D = d.openCredits;
    s.myD_T = d.openInvestments;
    s.myTX_M = d.playSound;
    s.myTX_T = d.showPlans;
}

}  // namespace cw
