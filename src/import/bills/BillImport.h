#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <vector>

#include "bookkeeping/PostingRules.h"
#include "import/bills/BillReader.h"

namespace cw {

class TfrmDM;

// Turns a bill's rows into postings of the open book and books them. Each row's proposed
// account and category come from the book's remembered mappings (the counterparty's first,
// then the app's category), else from the book's categories the app's words suggest, else
// from the book's default categories. A row is ticked when it is an income or expense that
// moved money and that the book has not booked before. A transaction is known by its number
// together with its time, amount, direction and counterparty: one number may stand for
// several rows, and many rows have none. Booking stores those keys in the same transaction
// as the postings, so the same bill imported twice books nothing the second time.
//
// Money that never moved (closed, failed, refunded whole) cannot be ticked. A refund reduces
// its purchase: netted into it when both are in the bill, else booked as a negative expense
// of the same category and account. Moves between the household's own accounts are proposed
// as transfers, unticked; a fee they name is booked as an expense of the paying account.
//
// A bank statement, QIF or OFX file moves money in and out of one account of the book, the one
// the user names (or the file's own account, mapped as a payment method is). A row whose
// counterparty is another of the book's accounts (by name, or as the user mapped it before)
// or that the file names as a transfer is a transfer between the two, ticked. A transfer is
// known by its two accounts, amount and day, so the same move read from the other account's
// statement a few days apart is shown 已导入 instead of being booked twice.
class BillImport {
  public:
    // Void: the row moved no money (or its money is counted in another row); it cannot be
    // ticked.
    enum class State { New, Imported, Skipped, Void };
    struct Planned {
        BillRow row;
        State state = State::Skipped;
        bool ticked = false;
        // What the row is booked as: the bill's own direction, 支出 for a refund (a negative
        // amount), 转账 for a wallet move, until the user picks another; a neutral row must be
        // given 收入 or 支出 before it can be booked.
        BillRow::Direction kind = BillRow::Direction::Neutral;
        // The payment method the account mapping is kept under ("/" read as 零钱); for a
        // transfer the method the money reaches is targetKey.
        QString methodKey;
        QString targetKey;
        // What the transaction is known by once booked.
        QString key;
        // Why a row is not booked as it stands, for the preview and the dry run.
        QString why;
        // Whether the row can neither be ticked nor changed.
        bool fixed() const { return state == State::Imported || state == State::Void; }
        // When the user picked the account or category: 0 for not, else a number that grows
        // with every pick. Booking remembers the picks, the latest for a key winning.
        int accountPick = 0;
        int categoryPick = 0;
        // A statement row's counterparty (its account number, else its name), and when the
        // user picked the book's account it stands for.
        QString counterKey;
        int counterPick = 0;
        // A statement's transfer that reads like an earlier one of the same day and account:
        // its number among them, part of what it is known by.
        int occurrence = 1;
        int memberPick = 0;
        PostingRules::Posting posting;
    };
    struct Counts {
        int added = 0;
        int imported = 0;
        int skipped = 0;
    };
    // What a mapping maps: a payment method to an account, a category or counterparty to an
    // income or an expense category, the bill's owner to a member. Each is kept for the
    // bill's owner when the bill names one, and for any owner: both apps call the wallet
    // 零钱 / 余额 whoever's it is, so two people's bills keep their own accounts, and a bill of
    // someone new starts from what was picked before.
    enum class MapKind { Account, Income, Expense, Member };

    explicit BillImport(TfrmDM& dm);

    std::vector<Planned> plan(const Bill& bill);
    // Books the ticked rows in one transaction, with the choices the user made remembered in
    // it; returns how many were booked. A ticked row that cannot be booked is named by its row
    // number (PostingRules::Refused) and nothing is booked.
    int book(const std::vector<Planned>& rows);
    static Counts count(const std::vector<Planned>& rows);
    // The first ticked row that cannot be booked, with the whole message; -1 when all can.
    static int firstRefused(const std::vector<Planned>& rows, QString* message);
    // Why a ticked row cannot be booked ("第 7 行 账户 不能为空！"); empty when it can.
    static QString check(const Planned& row);

    // The category proposed for a row booked as `kind`: the counterparty's remembered one,
    // else the app category's, else the first of the book's categories the app's words
    // suggest (BillRules), else the book's default category, else 其他支出 / 其他收入 / 其他.
    QString proposeCategory(const BillRow& row, BillRow::Direction kind);
    // The key a bill row is stored under once booked; `occurrence` tells apart rows that
    // read exactly alike within one bill.
    static QString keyOf(const BillRow& row, int occurrence);
    // A row as a script reviews it before booking: 状态, 日期, 收/支, 金额, 账户, 类别, 备注
    // and why it is not booked; reviewHeader names them.
    static QStringList review(const Planned& row);
    static const QStringList& reviewHeader();
    // 收入, 支出, 转账 or 不计收支.
    static QString kindText(BillRow::Direction kind);
    // The account proposed for a payment method: the remembered one, else the method itself.
    QString proposeAccount(const QString& methodKey);
    // The owner of the bill last planned; the owner-specific mappings are theirs.
    const QString& owner() const { return owner_; }
    // The key a row's category choice is remembered under: its counterparty, else its app
    // category.
    static QString categoryKey(const BillRow& row);

    // A statement's closing balance against the account's: the account's balance in the
    // fund-flow journal at the end of the statement's closing day. Known only for a statement
    // that gives a balance and names an account.
    struct BalanceCheck {
        bool known = false;
        QString account;
        QString day;
        double statement = 0;
        double book = 0;
        double difference() const { return statement - book; }
    };
    BalanceCheck balanceCheck(const Bill& bill);
    // "对账：账单余额 1,234.50，账户 招行卡 2026-11-30 余额 1,200.00，相差 34.50" or
    // "对账：账单余额与账户余额相符（1,234.50）"; empty when the check is not known.
    static QString balanceText(const BalanceCheck& check);

    // The remembered choice for `key`, empty when none.
    QString mapped(MapKind kind, const QString& key);
    void remember(MapKind kind, const QString& key, const QString& name);

    // The other of the book's accounts a statement row's transfer moves money with; empty for
    // an income or expense.
    static QString counterAccount(const Planned& p);
    // Makes a statement row a transfer with `account`, or, for an empty name or the row's own
    // account, the income or expense the file shows again.
    void setCounterAccount(Planned& p, const QString& account);

    // What the user changed in `before` (ticks, kinds, dates, amounts, categories, members,
    // remarks, 对方账户), carried to the same rows planned again for another account.
    void keepEdits(std::vector<Planned>& rows, const std::vector<Planned>& before);

    // Whether the bill is a statement, QIF or OFX file rather than a payment app's bill.
    static bool fromFile(Bill::Source source);
    // Days a transfer's two sides may lie apart in the two accounts' statements.
    static constexpr int kTransferDays = 3;

    // Names longer than this many GBK bytes are cut, as the posting screens' fields cut them.
    static constexpr int kNameBytes = 20;
    static constexpr int kRemarkBytes = 60;

  private:
    struct Done;
    // Keys of the rows booked before, and the bare numbers an older version stored.
    Done loadDone();
    void loadBook();
    QString findCategory(const BillRow& row, BillRow::Direction kind);
    // The first of `names` the book has as a category of `kind`; empty when it has none.
    QString bookCategory(BillRow::Direction kind, const QStringList& names) const;
    // Nets refunds into their purchases within the bill; returns which rows they went into.
    static std::vector<int> matchRefunds(const Bill& bill, std::vector<double>* refunded);
    Planned planRow(const BillRow& row, const Bill& bill);
    // A statement row's account and, for a move between two of the book's accounts, its
    // transfer; false when the row is an income or expense.
    void planFileRow(Planned& p, const Bill& bill);
    // The book's account the file's row means by `key` (an account number, a counterparty, a
    // QIF transfer's account name); empty when none.
    QString bookAccount(const QString& key);
    // Marks a statement row booked before: by its own key, or, for a transfer, by the other
    // account's statement within kTransferDays.
    bool fileRowDone(Planned& p, const Done& done) const;
    // A file's opening balance (QIF: a transfer with the account itself, or "Opening Balance"),
    // which is no income and no transfer.
    static bool opening(const BillRow& row);
    // A file listing several accounts shows a transfer between two of them in both: the second
    // side is paired with the first (same accounts, amount and day, the other account's own)
    // and left out.
    static void pairTransfer(Planned& p, const std::vector<Planned>& earlier,
                             QHash<QString, std::vector<size_t>>* sides);
    // "T", the two accounts, the amount, the day, and the row's occurrence when it is not the
    // first alike.
    static QString transferKey(const Planned& p, const QString& day);
    // The keys the transfer would have been booked under from either account's statement:
    // its own day and kTransferDays either side.
    static QStringList transferKeysAround(const Planned& p);
    // What a statement row is known by once booked: a transfer by its accounts, amount and
    // day; any other row by the account, the row as keyOf reads it and the balance after it.
    static QString fileKey(const Planned& p);
    // Accounts the booked rows name that the book lacks, made with the type their name shows.
    void createAccounts(const std::vector<Planned>& rows);
    // The owner's mapping for key, else the one for any owner.
    QString lookup(MapKind kind, const QString& key);
    // Remembers for the owner (when known) and for any owner.
    void rememberBoth(MapKind kind, const QString& key, const QString& name);

    TfrmDM& dm_;
    QString owner_;
    Bill::Source source_ = Bill::Source::WeChat;
    QHash<QString, QString> memo_;        // mappings already asked for
    QHash<QString, QString> categories_;  // proposals already made
    QString member_;                      // proposed for every row
    QSet<QString> incomeNames_;
    QSet<QString> expenseNames_;
    QSet<QString> accountNames_;
    QString defaultIncome_;
    QString defaultExpense_;
};

}  // namespace cw
