#include "interchange/BookEntries.h"

#include <QRegularExpression>

#include "storage/Database.h"
#include "storage/Money.h"
#include "storage/Statement.h"

namespace cw {

namespace {

// Columns of every walk: date, label, amount on the money account, money account, member,
// remark, counter prefix, counter name. An empty prefix makes the counter a money account.
const char* kIncome =
    "SELECT IDate, IName, IMoney, AName, FName, Remark,"
    " CASE WHEN Remark IN ('投资收益','删除投资记录') THEN '收入:投资收益' ELSE '收入' END,"
    " IName FROM InTable WHERE BName=?";
const char* kExpense =
    "SELECT ODate, OName, -OMoney, AName, FName, Remark,"
    " CASE WHEN Remark IN ('投资亏损','删除投资记录') THEN '支出:投资亏损' ELSE '支出' END,"
    " OName FROM OutTable WHERE BName=?";
const char* kTransfer =
    "SELECT CDate, '转账', CMoney, NewN, FName, Remark, '', OldN FROM ChangeT WHERE BName=?";
// A debt's first amount: what is owed now, plus what was repaid, less what was added since.
const char* kBorrow =
    "SELECT BDate, '债务', BMoney + (SELECT total(RMoney) FROM BorrowR WHERE BID=b.ID)"
    " - (SELECT total(theMoney) FROM BList WHERE BID=b.ID), AName, FName, Remark,"
    " '负债:借入', BPro FROM Borrow b WHERE BName=?";
const char* kBorrowR =
    "SELECT r.RDate, '还债', -r.RMoney, r.AName, r.FName, r.Remark, '负债:借入', b.BPro"
    " FROM BorrowR r JOIN Borrow b ON b.ID=r.BID WHERE r.BName=?";
const char* kBList =
    "SELECT l.theDate, CASE WHEN l.theMoney<0 THEN '减少债务' ELSE '增加债务' END,"
    " l.theMoney, l.AName, l.FName, l.Remark, '负债:借入', b.BPro"
    " FROM BList l JOIN Borrow b ON b.ID=l.BID WHERE l.BName=?";
// Every credit of the book with F, what its records say was lent (outstanding, plus collected,
// less what was added), and U, what its journal rows took from the account. When U says more,
// the rest was written off as a bad debt, which moves no money: the credit was lent at U.
const char* kCredits =
    " FROM (SELECT d.*, DMoney + (SELECT total(RMoney) FROM DebtR WHERE DID=d.ID)"
    " - (SELECT total(theMoney) FROM DList WHERE DID=d.ID) AS F,"
    " (SELECT sum(theOut - theIn) FROM UList WHERE theT='Debt' AND theID=d.ID) AS U"
    " FROM Debt d WHERE BName=?) c";
const char* kDebt =
    "SELECT c.DDate, '债权', -max(F, coalesce(U, F)), c.AName, c.FName, c.Remark, '资产:借出',"
    " c.DPro";
// The write-off, on the last day the credit's records know of.
const char* kWriteOff =
    "SELECT max(c.DDate, coalesce((SELECT max(RDate) FROM DebtR WHERE DID=c.ID), ''),"
    " coalesce((SELECT max(theDate) FROM DList WHERE DID=c.ID), '')), U - F, c.FName, c.DPro";
const char* kDebtR =
    "SELECT r.RDate, '收债', r.RMoney, r.AName, r.FName, r.Remark, '资产:借出', d.DPro"
    " FROM DebtR r JOIN Debt d ON d.ID=r.DID WHERE r.BName=?";
const char* kDList =
    "SELECT l.theDate, CASE WHEN l.theMoney<0 THEN '减少债权' ELSE '增加债权' END,"
    " -l.theMoney, l.AName, l.FName, l.Remark, '资产:借出', d.DPro"
    " FROM DList l JOIN Debt d ON d.ID=l.DID WHERE l.BName=?";
const char* kInvestment =
    "SELECT TDate, '投资', -(TMoney + (SELECT total(RMoney) FROM TTableR WHERE TID=t.ID)"
    " - (SELECT total(theMoney) FROM TList WHERE TID=t.ID)), AName, FName, Remark,"
    " '资产:投资', TName FROM TTable t WHERE BName=?";
// Only the principal: the profit of a return lands on the account through its income row.
const char* kReturn =
    "SELECT r.RDate, '收回本金', r.RMoney, r.AName, r.FName, r.Remark, '资产:投资', t.TName"
    " FROM TTableR r JOIN TTable t ON t.ID=r.TID WHERE r.BName=? AND r.RMoney<>0";
const char* kTList =
    "SELECT l.theDate, CASE WHEN l.theMoney<0 THEN '减少投资' ELSE '增加投资' END,"
    " -l.theMoney, l.AName, l.FName, l.Remark, '资产:投资', t.TName"
    " FROM TList l JOIN TTable t ON t.ID=l.TID WHERE l.BName=?";
const char* kAdjustment =
    "SELECT theDate, '调账', theIn - theOut, AName, FName, Remark, '权益', '调账'"
    " FROM UList WHERE BName=? AND theT='SAccount' AND theType='调账'";

}  // namespace

BookEntries::BookEntries(Database& db, QString book) : db_(db), book_(std::move(book)) {
    Statement st =
        db_.prepare(QStringLiteral("SELECT AName, theType, AMoney FROM SAccount WHERE BName=?"));
    st.bind(1, book_);
    while (st.step()) {
        const QString type = st.text(1).isEmpty() ? QStringLiteral("其它") : segment(st.text(1));
        const QString top =
            type == QStringLiteral("信用卡") ? QStringLiteral("负债") : QStringLiteral("资产");
        const QString path = top + ':' + type + ':' + segment(st.text(0));
        paths_.insert(st.text(0), path);
        balances_.insert(path, Money::cents(st.number(2)));
    }
}

QString BookEntries::segment(const QString& name) {
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    QString s = name;
    s.replace(QLatin1Char(':'), QChar(0xFF1A));
    s.replace(QLatin1Char(';'), QChar(0xFF1B));
    s = s.replace(blanks, QStringLiteral(" ")).trimmed();
    return s.isEmpty() ? QStringLiteral("未命名") : s;
}

QString BookEntries::moneyAccount(const QString& name) const {
    // A deleted account's postings keep its name; it stays an asset of its own.
    const auto it = paths_.constFind(name);
    return it != paths_.constEnd() ? *it : QStringLiteral("资产:其它:") + segment(name);
}

void BookEntries::forEach(const std::function<void(const BookEntry&)>& visit, Detail detail) {
    detail_ = detail;
    incomeAndExpense(visit);
    transfers(visit);
    debtsAndCredits(visit);
    investments(visit);
    adjustments(visit);
}

void BookEntries::incomeAndExpense(const std::function<void(const BookEntry&)>& visit) {
    walk(QString::fromUtf8(kIncome), visit);
    walk(QString::fromUtf8(kExpense), visit);
}

void BookEntries::transfers(const std::function<void(const BookEntry&)>& visit) {
    walk(QString::fromUtf8(kTransfer), visit);
}

void BookEntries::debtsAndCredits(const std::function<void(const BookEntry&)>& visit) {
    for (const char* sql : {kBorrow, kBorrowR, kBList}) walk(QString::fromUtf8(sql), visit);
    walk(QString::fromUtf8(kDebt) + QString::fromUtf8(kCredits), visit);
    for (const char* sql : {kDebtR, kDList}) walk(QString::fromUtf8(sql), visit);
    writeOffs(visit);
}

void BookEntries::writeOffs(const std::function<void(const BookEntry&)>& visit) {
    // The program counts a bad debt neither as an expense nor as a movement of money, so it
    // goes to equity: the monthly income and expense stay what the reports say.
    Statement st = db_.prepare(QString::fromUtf8(kWriteOff) + QString::fromUtf8(kCredits) +
                               QStringLiteral(" WHERE U - F >= 0.005"));
    st.bind(1, book_);
    BookEntry e;
    e.label = QStringLiteral("坏账");
    while (st.step()) {
        const qint64 cents = Money::cents(st.number(1));
        e.date = st.text(0);
        e.member = st.text(2);
        e.legs[0] = {QStringLiteral("资产:借出:") + segment(st.text(3)), -cents};
        e.legs[1] = {QStringLiteral("权益:坏账"), cents};
        visit(e);
    }
}

void BookEntries::investments(const std::function<void(const BookEntry&)>& visit) {
    for (const char* sql : {kInvestment, kReturn, kTList}) walk(QString::fromUtf8(sql), visit);
}

void BookEntries::adjustments(const std::function<void(const BookEntry&)>& visit) {
    walk(QString::fromUtf8(kAdjustment), visit);
}

void BookEntries::walk(const QString& sql, const std::function<void(const BookEntry&)>& visit) {
    Statement st = db_.prepare(sql);
    st.bind(1, book_);
    BookEntry e;
    QHash<QString, QString> counters;  // prefix and name -> path; segment() is not cheap
    while (st.step()) {
        e.date = st.text(0);
        const qint64 cents = Money::cents(st.number(2));
        if (detail_ == Everything) {
            e.label = st.text(1);
            e.member = st.text(4);
            e.remark = st.text(5);
        }
        const QString prefix = st.text(6);
        const QString counter = st.text(7);
        e.legs[0] = {moneyAccount(st.text(3)), cents};
        if (prefix.isEmpty()) {
            e.legs[1] = {moneyAccount(counter), -cents};
        } else {
            const QString key = prefix + QLatin1Char('\n') + counter;
            auto it = counters.find(key);
            if (it == counters.end())
                it = counters.insert(key, prefix + QLatin1Char(':') + segment(counter));
            e.legs[1] = {*it, -cents};
        }
        visit(e);
    }
}

}  // namespace cw
