#pragma once

#include <QHash>
#include <QString>
#include <functional>

namespace cw {

class Database;

// One side of a booked movement: the account it lands on, written as Chinese segments
// joined by ':' ("资产:现金:钱包", "收入:工资"), and the amount in cents, positive for money
// coming into the account (a debit).
struct BookLeg {
    QString account;
    qint64 cents = 0;
};

// One posting of the book seen as a double entry: two legs that sum to zero.
struct BookEntry {
    QString date;   // yyyy-mm-dd
    QString label;  // the category, or the journal's word for the movement ("转账", "还债")
    QString member;
    QString remark;
    BookLeg legs[2];
};

// Walks the postings of one book as double entries, for the ledgers of other programs.
//
// The money accounts are named after their type: 资产:<type>:<name>, credit cards under
// 负债:信用卡; debts owed to a creditor are 负债:借入:<creditor>, credits to a debtor
// 资产:借出:<debtor>, investments 资产:投资:<category>. A debt, credit or investment is booked
// at its first amount (what is outstanding now plus what was repaid, less what was added),
// each repayment, collection, returned principal and change on its own date; a credit written
// off as a bad debt is lent at what the journal took from the account and written off to
// 权益:坏账. Profits and losses
// of investments are the income and expense rows the return wrote; they alone carry them.
// Account names keep what the user typed, except that ':' (the separator) becomes '：' and
// blank runs become one space, so the names survive the target's syntax.
class BookEntries {
  public:
    BookEntries(Database& db, QString book);

    enum Detail { Everything, AmountsOnly };

    // Calls visit for every posting, table after table. AmountsOnly leaves label, member and
    // remark empty, for a pass that only sums.
    void forEach(const std::function<void(const BookEntry&)>& visit, Detail detail = Everything);

    // The book's money accounts with their balance in cents, by path.
    const QHash<QString, qint64>& balances() const { return balances_; }
    // True for the paths that stand for the book's money accounts (kept in SAccount).
    bool isMoneyAccount(const QString& path) const { return balances_.contains(path); }
    // The path of a money account by its name.
    QString moneyAccount(const QString& name) const;

    // The name as it stands in a path.
    static QString segment(const QString& name);

  private:
    void incomeAndExpense(const std::function<void(const BookEntry&)>& visit);
    void transfers(const std::function<void(const BookEntry&)>& visit);
    void debtsAndCredits(const std::function<void(const BookEntry&)>& visit);
    void writeOffs(const std::function<void(const BookEntry&)>& visit);
    void investments(const std::function<void(const BookEntry&)>& visit);
    void adjustments(const std::function<void(const BookEntry&)>& visit);
    // Runs sql (bound to the book) and makes an entry of each row: columns date, label,
    // amount, account, member, remark, counter account. The amount lands on the money
    // account, its opposite on the counter account.
    void walk(const QString& sql, const std::function<void(const BookEntry&)>& visit);

    Database& db_;
    QString book_;
    QHash<QString, QString> paths_;  // money account name -> path
    QHash<QString, qint64> balances_;
    Detail detail_ = Everything;
};

}  // namespace cw
