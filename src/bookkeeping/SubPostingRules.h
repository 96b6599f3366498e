#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "bookkeeping/PostingKind.h"
#include "bookkeeping/PostingRules.h"
#include "bookkeeping/SubPostingKind.h"

namespace cw {

class TfrmDM;

// The operations of the sub-dialogs of debts, credits and investments: settling (repaying a
// debt, collecting a credit, booking an investment's return), deleting a settlement, raising
// or lowering the amount, and writing a credit off. Each is one function and one transaction:
// the sub-record, the parent's outstanding amount and running total, the balance move and the
// journal row(s) go in together or not at all. A new sub-record's journal rows carry the ID
// of the row just inserted.
//
// The checks of each dialog, in its order, are the validate functions; the operations run them
// again against the stored parent, so a dialog held open while something else changed the
// parent cannot overdraw it.
//
// Where the dialogs leave things open, this program:
// - reads a settlement's amounts as numbers with an optional sign (a pasted "-5" meets the
//   dialog's own below-zero check), and an increase's or decrease's amount as digits and one
//   decimal point, all its field lets through. Anything else is refused with the amount's
//   name + " 不是有效的数字！请重新录入！", at the point where the dialog first needs the
//   number, else after its other checks. Amounts are decided on and stored in cents.
// - takes an account or a member as picked only when it is one the pick-list offers (an enabled
//   account, a member of the book); anything else gets the dialog's "please pick" message.
// - refuses a decrease above what is outstanding, after the dialog's own checks, so no debt,
//   credit or investment goes negative that way.
// - refuses an empty or unreadable gain of a return with "收益金额 不能为空！" or
//   "收益金额 不是有效的数字！请重新录入！", after the other checks.
// - journals the deletion of a return like that of a repayment: one reversing row for the
//   principal, one for the gain, each after its balance move, dated today, Remark "收益 删除".
// - refuses a parent or a settlement that is not in the open book with PostingRules::kNotFound.
class SubPostingRules {
  public:
    // The fields a check can send the user back to.
    enum class Field { None, Date, Amount, Profit, Account, Member };
    enum class Change { Increase, Decrease };

    // The fields of a sub-dialog, as texts, as the dialog holds them.
    struct Entry {
        QString date;    // yyyy-mm-dd
        QString amount;  // repaid, collected, the principal taken back, or the change
        QString profit;  // returns only: the gain, negative for a loss
        QString account;
        QString member;
        QString remark;
    };

    struct Verdict {
        QString message;
        Field focus = Field::None;
        bool ok() const { return message.isEmpty(); }
    };

    // A refusal with the dialog's message and the field to focus; nothing was written. A
    // PostingRules::Refused, so one handler serves both.
    class Refused : public PostingRules::Refused {
      public:
        Refused(const QString& message, Field field)
            : PostingRules::Refused(message), field_(field) {}
        Field field() const { return field_; }

      private:
        Field field_;
    };

    // A debt, credit or investment as its sub-dialogs show it.
    struct Parent {
        qint64 id = 0;
        QString date;
        QString name;            // the contact, or the investment's category
        double outstanding = 0;  // BMoney, DMoney or TMoney
        double running = 0;      // RMoney: repaid, collected, or the gain so far
        QString account;
        QString member;
        QString remark;
    };

    // A stored settlement; profit is 0 but for returns.
    struct Settlement {
        qint64 id = 0;
        qint64 parentId = 0;
        QString date;
        double amount = 0;
        double profit = 0;
        QString account;
        QString member;
        QString remark;
    };

    explicit SubPostingRules(TfrmDM& dm);

    // The stored parent of the open book; nothing when it is gone. Only debts, credits and
    // investments have sub-records; other kinds are a programming error (std::logic_error).
    std::optional<Parent> parent(const PostingKind& kind, qint64 id);
    std::optional<Settlement> settlement(const PostingKind& kind, qint64 id);
    // The settlements of a parent as its records window lists them (newest date first).
    std::vector<Settlement> settlements(const PostingKind& kind, qint64 parentId);

    // Whether the popup menu offers to settle ("还债 &R", "收债 &R", "收益 &R"): when the
    // outstanding amount is not 0 in cents.
    static bool canSettle(double outstanding);
    // What a dialog shows when it opens: today; the parent's account and member; a repayment
    // or collection the whole outstanding amount; a return principal "0" and gain "0"; a
    // change no amount.
    Entry settlementPreset(const PostingKind& kind, const Parent& parent) const;
    Entry changePreset(const Parent& parent) const;

    // The dialogs' checks in their order against the outstanding amount the dialog holds.
    //   repayment, collection: amount empty, not a number, above outstanding, not above 0,
    //     account, member;
    //   return: principal empty, not a number, below 0, account, member, gain empty, gain not
    //     a number;
    //   increase, decrease: account, amount empty, member, amount not a number, a decrease
    //     above outstanding.
    // A date that is not a real day is refused first.
    Verdict validateSettlement(const PostingKind& kind, const Entry& entry, double outstanding);
    Verdict validateChange(const PostingKind& kind, Change change, const Entry& entry,
                           double outstanding);

    // Repays, collects or books a return on parent `parentId`; returns the new record's ID.
    qint64 settle(const PostingKind& kind, qint64 parentId, const Entry& entry);
    // Deletes settlement `id` (of the settlement table of `kind`), booking it back.
    void removeSettlement(const PostingKind& kind, qint64 id);
    // Raises or lowers the parent's amount; returns the new record's ID.
    qint64 change(const PostingKind& kind, Change change, qint64 parentId, const Entry& entry);
    // Writes credit `creditId` off as a bad debt: its outstanding amount becomes 0. No balance
    // moves, no journal row is written and the collected amount stays.
    void writeOff(qint64 creditId);

  private:
    static const SubPostingKind& subOf(const PostingKind& kind);
    Parent stored(const PostingKind& kind, qint64 id);
    bool pickableAccount(const QString& name);
    bool pickableMember(const QString& name);
    QString today() const;
    // Moves `account` by `amount` (direction +1 up, -1 down), then writes its journal row.
    void book(int direction, double amount, const QString& date, const QString& type,
              const QString& remark, const QString& account, const QString& member,
              const QString& table, qint64 id, const QString& event);
    // The income or expense posting a return's gain or loss (or its deletion) stores directly.
    void storeGainPosting(double profit, const QString& date, const QString& category,
                          const QString& account, const QString& member, const QString& remark);

    TfrmDM& dm_;
};

}  // namespace cw
