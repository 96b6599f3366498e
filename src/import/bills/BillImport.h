#pragma once

#include <QHash>
#include <QString>
#include <vector>

#include "bookkeeping/PostingRules.h"
#include "import/bills/BillReader.h"

namespace cw {

class TfrmDM;

// Turns a bill's rows into postings of the open book and books them. Each row's proposed
// account and category come from the book's remembered mappings (the counterparty's first,
// then the app's category), else from the payment method and the app's category themselves.
// A row is ticked when it is an income or expense that succeeded and whose transaction number
// the book has not booked before; booking stores the numbers in the same transaction as the
// postings, so the same bill imported twice books nothing the second time.
class BillImport {
  public:
    enum class State { New, Imported, Skipped };
    struct Planned {
        BillRow row;
        State state = State::Skipped;
        bool ticked = false;
        // What the row is booked as: the bill's own direction, until the user picks another;
        // a neutral row must be given 收入 or 支出 before it can be booked.
        BillRow::Direction kind = BillRow::Direction::Neutral;
        // The payment method the account mapping is kept under ("/" read as 零钱).
        QString methodKey;
        // When the user picked the account or category: 0 for not, else a number that grows
        // with every pick. Booking remembers the picks, the latest for a key winning.
        int accountPick = 0;
        int categoryPick = 0;
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
    // else the app category's, else the app category itself.
    QString proposeCategory(const BillRow& row, BillRow::Direction kind);
    // The account proposed for a payment method: the remembered one, else the method itself.
    QString proposeAccount(const QString& methodKey);
    // The owner of the bill last planned; the owner-specific mappings are theirs.
    const QString& owner() const { return owner_; }
    // The key a row's category choice is remembered under: its counterparty, else its app
    // category.
    static QString categoryKey(const BillRow& row);

    // The remembered choice for `key`, empty when none.
    QString mapped(MapKind kind, const QString& key);
    void remember(MapKind kind, const QString& key, const QString& name);

    // Names longer than this many GBK bytes are cut, as the posting screens' fields cut them.
    static constexpr int kNameBytes = 20;
    static constexpr int kRemarkBytes = 60;

  private:
    // The owner's mapping for key, else the one for any owner.
    QString lookup(MapKind kind, const QString& key);
    // Remembers for the owner (when known) and for any owner.
    void rememberBoth(MapKind kind, const QString& key, const QString& name);

    TfrmDM& dm_;
    QString owner_;
    QHash<QString, QString> memo_;  // mappings already asked for
};

}  // namespace cw
