#include "bookkeeping/SubPostingRules.h"

#include <QRegularExpression>
#include <stdexcept>

#include "storage/Money.h"
#include "storage/TfrmDM.h"
#include "storage/Transaction.h"

namespace cw {

namespace {

using Field = SubPostingRules::Field;
using Verdict = SubPostingRules::Verdict;

const QString kNew = QStringLiteral("新增");
const QString kDeleted = QStringLiteral("删除");

bool blank(const QString& text) {
    return text.trimmed().isEmpty();
}

// An amount of a sub-dialog, read in cents. A settlement's amounts take a sign: their dialogs
// have checks for amounts below zero. An increase or decrease takes digits and one decimal
// point only, what its field lets through: it has no such check, its sign is the direction.
bool readAmount(const QString& text, bool signAllowed, double* cents) {
    static const QRegularExpression unsignedNumber(QStringLiteral("^(\\d+\\.?\\d*|\\.\\d+)$"));
    const QString t = text.trimmed();
    if (!signAllowed && !unsignedNumber.match(t).hasMatch()) return false;
    double value = 0;
    if (!Money::parse(t, &value)) return false;
    *cents = Money::round(value);
    return true;
}

QString notANumber(const QString& label) {
    return label + QStringLiteral(" 不是有效的数字！请重新录入！");
}

}  // namespace

SubPostingRules::SubPostingRules(TfrmDM& dm) : dm_(dm) {}

const SubPostingKind& SubPostingRules::subOf(const PostingKind& kind) {
    const SubPostingKind* sub = SubPostingKind::of(kind);
    if (!sub) throw std::logic_error("no sub-records for " + kind.cliName.toStdString());
    return *sub;
}

QString SubPostingRules::today() const {
    const QString& today = dm_.state().myToday;
    return today.isEmpty() ? dm_.clock().todayText() : today;
}

// --- reading ---------------------------------------------------------------------------------

SubPostingRules::Parent SubPostingRules::stored(const PostingKind& kind, qint64 id) {
    const SubPostingKind& sub = subOf(kind);
    Statement st = dm_.db().prepare(
        QStringLiteral("SELECT %1,%2,%3,%4,AName,FName,Remark FROM %5 WHERE ID=? AND BName=?")
            .arg(kind.dateColumn, kind.nameColumn, kind.moneyColumn, sub.runningColumn,
                 kind.table));
    st.bindAll(id, dm_.book());
    if (!st.step()) throw Refused(PostingRules::kNotFound, Field::None);
    return {
        id,         st.text(0), st.text(1), Money::round(st.number(2)), Money::round(st.number(3)),
        st.text(4), st.text(5), st.text(6)};
}

std::optional<SubPostingRules::Parent> SubPostingRules::parent(const PostingKind& kind, qint64 id) {
    try {
        return stored(kind, id);
    } catch (const Refused&) {
        return std::nullopt;
    }
}

namespace {

QString settlementColumns(const SubPostingKind& sub) {
    return QStringLiteral("ID,%1,RDate,RMoney,%2,AName,FName,Remark")
        .arg(sub.settleKey, sub.hasProfit() ? QStringLiteral("SMoney") : QStringLiteral("0"));
}

SubPostingRules::Settlement settlementOf(Statement& st) {
    return {st.integer(0),
            st.integer(1),
            st.text(2),
            Money::round(st.number(3)),
            Money::round(st.number(4)),
            st.text(5),
            st.text(6),
            st.text(7)};
}

}  // namespace

std::optional<SubPostingRules::Settlement> SubPostingRules::settlement(const PostingKind& kind,
                                                                       qint64 id) {
    const SubPostingKind& sub = subOf(kind);
    Statement st = dm_.db().prepare(QStringLiteral("SELECT %1 FROM %2 WHERE ID=? AND BName=?")
                                        .arg(settlementColumns(sub), sub.settleTable));
    st.bindAll(id, dm_.book());
    if (!st.step()) return std::nullopt;
    return settlementOf(st);
}

std::vector<SubPostingRules::Settlement> SubPostingRules::settlements(const PostingKind& kind,
                                                                      qint64 parentId) {
    const SubPostingKind& sub = subOf(kind);
    Statement st = dm_.db().prepare(
        QStringLiteral("SELECT %1 FROM %2 WHERE %3=? AND BName=? ORDER BY RDate DESC, ID DESC")
            .arg(settlementColumns(sub), sub.settleTable, sub.settleKey));
    st.bindAll(parentId, dm_.book());
    std::vector<Settlement> found;
    while (st.step()) found.push_back(settlementOf(st));
    return found;
}

bool SubPostingRules::pickableAccount(const QString& name) {
    Statement st = dm_.db().prepare(QStringLiteral(
        "SELECT 1 FROM SAccount WHERE BName=? AND AName=? AND theState='启用' LIMIT 1"));
    st.bindAll(dm_.book(), name);
    return st.step();
}

bool SubPostingRules::pickableMember(const QString& name) {
    Statement st =
        dm_.db().prepare(QStringLiteral("SELECT 1 FROM SFamily WHERE BName=? AND FName=? LIMIT 1"));
    st.bindAll(dm_.book(), name);
    return st.step();
}

// --- presets and checks ----------------------------------------------------------------------

bool SubPostingRules::canSettle(double outstanding) {
    return !Money::isZero(outstanding);
}

SubPostingRules::Entry SubPostingRules::settlementPreset(const PostingKind& kind,
                                                         const Parent& parent) const {
    const SubPostingKind& sub = subOf(kind);
    Entry e{today(),  Money::plain(parent.outstanding), QString(), parent.account, parent.member,
            QString()};
    if (sub.hasProfit()) {
        e.amount = QStringLiteral("0");
        e.profit = QStringLiteral("0");
    }
    return e;
}

SubPostingRules::Entry SubPostingRules::changePreset(const Parent& parent) const {
    return {today(), QString(), QString(), parent.account, parent.member, QString()};
}

Verdict SubPostingRules::validateSettlement(const PostingKind& kind, const Entry& e,
                                            double outstanding) {
    const SubPostingKind& sub = subOf(kind);
    if (!PostingRules::isDay(e.date)) return {PostingRules::kBadDate, Field::Date};
    if (blank(e.amount)) return {sub.settleLabel + QStringLiteral(" 不能为空！"), Field::Amount};
    double amount = 0;
    if (!readAmount(e.amount, true, &amount)) return {notANumber(sub.settleLabel), Field::Amount};
    if (!sub.aboveMessage.isEmpty() && Money::cents(amount) > Money::cents(outstanding))
        return {sub.aboveMessage, Field::Amount};
    const qint64 cents = Money::cents(amount);
    if (cents < 0 || (cents == 0 && !sub.zeroAllowed)) return {sub.belowMessage, Field::Amount};
    if (!pickableAccount(e.account)) return {sub.accountMessage, Field::Account};
    if (!pickableMember(e.member)) return {sub.memberMessage, Field::Member};
    if (sub.hasProfit()) {
        const QString label = QStringLiteral("收益金额");
        if (blank(e.profit)) return {label + QStringLiteral(" 不能为空！"), Field::Profit};
        double profit = 0;
        if (!readAmount(e.profit, true, &profit)) return {notANumber(label), Field::Profit};
    }
    return {};
}

Verdict SubPostingRules::validateChange(const PostingKind& kind, Change change, const Entry& e,
                                        double outstanding) {
    const SubPostingKind& sub = subOf(kind);
    if (!PostingRules::isDay(e.date)) return {PostingRules::kBadDate, Field::Date};
    if (!pickableAccount(e.account))
        return {QStringLiteral("账户名称 不能为空！请选择 账户名称！"), Field::Account};
    if (blank(e.amount)) return {QStringLiteral("金额 不能为空！请录入 金额！"), Field::Amount};
    if (!pickableMember(e.member))
        return {QStringLiteral("家庭成员 不能为空！请选择 家庭成员！"), Field::Member};
    double amount = 0;
    if (!readAmount(e.amount, false, &amount))
        return {notANumber(QStringLiteral("金额")), Field::Amount};
    if (change == Change::Decrease && Money::cents(amount) > Money::cents(outstanding))
        return {sub.decreaseAbove, Field::Amount};
    return {};
}

// --- writing ---------------------------------------------------------------------------------

void SubPostingRules::book(int direction, double amount, const QString& date, const QString& type,
                           const QString& remark, const QString& account, const QString& member,
                           const QString& table, qint64 id, const QString& event) {
    const bool in = direction > 0;
    if (in) {
        dm_.AccountUp(amount, account);
    } else {
        dm_.AccountDown(amount, account);
    }
    dm_.List_Add(date, type, remark, in ? amount : 0, in ? 0 : amount, account, member, table, id,
                 event);
}

void SubPostingRules::storeGainPosting(double profit, const QString& date, const QString& category,
                                       const QString& account, const QString& member,
                                       const QString& remark) {
    // Stored as it stands: the balance has moved with the return's own journal rows, so this
    // posting moves nothing and writes no row of its own. A gain is an income, a loss an expense.
    if (Money::isZero(profit)) return;
    const PostingKind& kind = profit > 0 ? PostingKind::income() : PostingKind::expense();
    dm_.db().exec(QStringLiteral("INSERT INTO %1(BName,%2,%3,%4,AName,FName,Remark) "
                                 "VALUES(?,?,?,?,?,?,?)")
                      .arg(kind.table, kind.dateColumn, kind.nameColumn, kind.moneyColumn),
                  dm_.book(), date, category, Money::round(qAbs(profit)), account, member, remark);
}

qint64 SubPostingRules::settle(const PostingKind& kind, qint64 parentId, const Entry& e) {
    const SubPostingKind& sub = subOf(kind);
    const bool gain = sub.hasProfit();  // a return; only it has a gain column
    Transaction tx(dm_.db());
    const Parent p = stored(kind, parentId);
    const Verdict verdict = validateSettlement(kind, e, p.outstanding);
    if (!verdict.ok()) throw Refused(verdict.message, verdict.focus);
    double amount = 0, profit = 0;
    readAmount(e.amount, true, &amount);
    if (gain) readAmount(e.profit, true, &profit);

    Statement insert = dm_.db().prepare(
        QStringLiteral("INSERT INTO %1(%2,RDate,RMoney,%3AName,FName,Remark,BName) "
                       "VALUES(?,?,?,%4?,?,?,?)")
            .arg(sub.settleTable, sub.settleKey, gain ? QStringLiteral("SMoney,") : QString(),
                 gain ? QStringLiteral("?,") : QString()));
    int index = 0;
    insert.bind(++index, parentId);
    insert.bind(++index, e.date);
    insert.bind(++index, amount);
    if (gain) insert.bind(++index, profit);
    insert.bind(++index, e.account);
    insert.bind(++index, e.member);
    insert.bind(++index, e.remark);
    insert.bind(++index, dm_.book());
    insert.run();
    const qint64 id = dm_.db().lastInsertId();

    // A repayment or collection moves its amount from outstanding to settled; a return takes
    // its principal off what is invested and adds its gain to the gain so far.
    const double settled = gain ? profit : amount;
    dm_.db().exec(QStringLiteral("UPDATE %1 SET %2=round(%2-?,2),%3=round(%3+?,2) WHERE ID=?")
                      .arg(kind.table, kind.moneyColumn, sub.runningColumn),
                  amount, settled, parentId);

    if (!gain || !Money::isZero(amount)) {
        book(sub.settleSign(), amount, e.date, sub.settleType, e.remark, e.account, e.member,
             sub.settleTable, id, kNew);
    }
    if (gain) {
        // A loss is a negative amount in: it lowers the account and reads as such.
        if (!Money::isZero(profit)) {
            book(+1, profit, e.date, sub.profitType, e.remark, e.account, e.member, sub.settleTable,
                 id, kNew);
        }
        storeGainPosting(profit, e.date, p.name, e.account, e.member,
                         profit > 0 ? QStringLiteral("投资收益") : QStringLiteral("投资亏损"));
    }
    tx.commit();
    return id;
}

void SubPostingRules::removeSettlement(const PostingKind& kind, qint64 id) {
    const SubPostingKind& sub = subOf(kind);
    Transaction tx(dm_.db());
    const std::optional<Settlement> s = settlement(kind, id);
    if (!s) throw Refused(PostingRules::kNotFound, Field::None);
    const QString date = today();

    const double settled = sub.hasProfit() ? s->profit : s->amount;
    dm_.db().exec(QStringLiteral("UPDATE %1 SET %2=round(%2+?,2),%3=round(%3-?,2) WHERE ID=?")
                      .arg(kind.table, kind.moneyColumn, sub.runningColumn),
                  s->amount, settled, s->parentId);

    if (sub.hasProfit()) {
        // The income or expense booked with the return stays; an opposite one, dated today,
        // takes it back.
        const std::optional<Parent> p = parent(kind, s->parentId);
        storeGainPosting(-s->profit, date, p ? p->name : QString(), s->account, s->member,
                         QStringLiteral("删除投资记录"));
        if (!Money::isZero(s->amount)) {
            book(-1, s->amount, date, sub.settleType, sub.settleDeleteRemark, s->account, s->member,
                 sub.settleTable, id, kDeleted);
        }
        if (!Money::isZero(s->profit)) {
            book(-1, s->profit, date, sub.profitType, sub.settleDeleteRemark, s->account, s->member,
                 sub.settleTable, id, kDeleted);
        }
    } else {
        book(-sub.settleSign(), s->amount, date, sub.settleType, sub.settleDeleteRemark, s->account,
             s->member, sub.settleTable, id, kDeleted);
    }
    dm_.db().exec(QStringLiteral("DELETE FROM %1 WHERE ID=?").arg(sub.settleTable), id);
    tx.commit();
}

qint64 SubPostingRules::change(const PostingKind& kind, Change change, qint64 parentId,
                               const Entry& e) {
    const SubPostingKind& sub = subOf(kind);
    Transaction tx(dm_.db());
    const Parent p = stored(kind, parentId);
    const Verdict verdict = validateChange(kind, change, e, p.outstanding);
    if (!verdict.ok()) throw Refused(verdict.message, verdict.focus);
    double amount = 0;
    readAmount(e.amount, false, &amount);
    const bool increase = change == Change::Increase;
    const QString remark = !increase && sub.trimsDecreaseRemark ? e.remark.trimmed() : e.remark;
    const double signedAmount = increase ? amount : -amount;

    dm_.db().exec(QStringLiteral("INSERT INTO %1(%2,theDate,theMoney,AName,FName,Remark,BName) "
                                 "VALUES(?,?,?,?,?,?,?)")
                      .arg(sub.changeTable, sub.changeKey),
                  parentId, e.date, signedAmount, e.account, e.member, remark, dm_.book());
    const qint64 id = dm_.db().lastInsertId();
    dm_.db().exec(QStringLiteral("UPDATE %1 SET %2=round(%2+?,2) WHERE ID=?")
                      .arg(kind.table, kind.moneyColumn),
                  signedAmount, parentId);
    book(increase ? kind.sign : -kind.sign, amount, e.date,
         increase ? sub.increaseType : sub.decreaseType, remark, e.account, e.member,
         sub.changeTable, id, kNew);
    tx.commit();
    return id;
}

void SubPostingRules::writeOff(qint64 creditId) {
    const PostingKind& kind = PostingKind::credit();
    Transaction tx(dm_.db());
    stored(kind, creditId);
    dm_.db().exec(QStringLiteral("UPDATE %1 SET %2=0 WHERE ID=? AND BName=?")
                      .arg(kind.table, kind.moneyColumn),
                  creditId, dm_.book());
    tx.commit();
}

}  // namespace cw
