#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <stdexcept>
#include <vector>

#include "bookkeeping/PostingKind.h"

namespace cw {

class TfrmDM;

// How postings move money. Every user action that writes is one function here and one
// transaction: the names typed that the book lacks, the usage counts, the balance moves, the
// posting row and its journal rows go in together or not at all. Each balance moves before
// the journal row that reports it is written, so the row's AMoney is the balance after it.
//
// A change is booked as a reversal of the values stored before ("恢复" rows), then the new
// values ("修改" rows); a delete books the reversal alone ("删除" rows).
//
// Things the screens leave open, and what this program does:
// - Amounts are what the amount field holds: an optional sign, digits and one decimal point.
//   Zero and negative amounts are accepted (a negative income lowers its account). Anything
//   else is refused with the amount's name + " 不是有效的数字！请重新录入！", and a date that
//   is not a real yyyy-mm-dd day with "日期 不是有效的日期！请重新选择！". The amount is kept
//   in cents, like every balance, so the posting, its journal rows and the balance agree.
// - A field holding blanks only counts as empty: no name consists of blanks. Names that pass
//   are stored exactly as typed, blanks, quotes and all; the same-account check of a transfer
//   compares the two texts exactly as typed.
// - A posting is found by its ID within the open book only; an ID of another book, or one that
//   is gone, is refused with "找不到这条记录！" and nothing is written.
// - A transfer's remark is extended with " source->target" when it is first saved, never again
//   on a change.
// - "Delete all" is one transaction too: when any posting of the list cannot go (a refusal, an
//   engine error), none goes.
// - The reversal of a changed transfer books one account and its row before the next; a new
//   transfer, the new values of a change and a delete move both accounts first, then write both
//   rows. The two orders only differ for a stored transfer whose accounts have come to carry the
//   same name (an account renamed onto another); there, too, the balances end right.
class PostingRules {
  public:
    // The entry fields of a posting, as texts, as the screen holds them.
    struct Posting {
        QString date;     // yyyy-mm-dd
        QString name;     // the category or contact; unused by transfers
        QString amount;   // as typed
        QString account;  // the account moved; for a transfer the one the money leaves
        QString target;   // transfers: the account the money reaches
        QString member;
        QString remark;
    };

    // The outcome of the checks: empty message when the posting may be saved.
    struct Verdict {
        QString message;
        PostingKind::Field focus = PostingKind::Field::None;
        bool ok() const { return message.isEmpty(); }
    };

    // An operation the screens would refuse; carries the screen's message. Nothing was written.
    class Refused : public std::runtime_error {
      public:
        explicit Refused(const QString& message,
                         PostingKind::Field focus = PostingKind::Field::None)
            : std::runtime_error(message.toStdString()), focus_(focus) {}
        QString message() const { return QString::fromUtf8(what()); }
        PostingKind::Field focus() const { return focus_; }

      private:
        PostingKind::Field focus_;
    };

    enum class Mode { New, Edit };

    static const QString kNotFound;
    // The stored row no longer holds what the screen loaded before the change.
    static const QString kChangedElsewhere;
    // A date that is not a real day: only a script can send one, the screens pick dates.
    static const QString kBadDate;
    // Whether `text` is a real day written yyyy-mm-dd.
    static bool isDay(const QString& text);

    explicit PostingRules(TfrmDM& dm);

    // The screen's checks in its order; the first that fails gives the message and the field
    // to focus.
    static Verdict validate(const PostingKind& kind, const Posting& posting, Mode mode);

    // Saves a new posting; returns its ID.
    qint64 saveNew(const PostingKind& kind, const Posting& posting);
    // Replaces the stored posting `id` with `posting`. The values reversed are read from the
    // stored row inside the same write transaction, whatever the caller believes they were.
    // When `loaded` is given (what the screen showed when the change began), the change is
    // refused with kChangedElsewhere, nothing written, unless the stored row still holds it:
    // otherwise a change made meanwhile by another copy would silently be overwritten.
    void saveEdit(const PostingKind& kind, qint64 id, const Posting& posting,
                  const std::optional<Posting>& loaded = std::nullopt);
    // Changes some fields of the stored posting `id`: `change` is applied to the row read
    // inside the write transaction, so two amendments of different fields both stay.
    void amend(const PostingKind& kind, qint64 id, const std::function<void(Posting&)>& change);
    void remove(const PostingKind& kind, qint64 id);
    // Deletes every posting of the list under `filter`, in the list's order (the book's
    // posting sort code), as the screens' "delete all" does. Returns how many went.
    int removeAll(const PostingKind& kind, const PostingKind::Filter& filter);

    // Books postings read from a spreadsheet, all in one transaction, as saving each new would,
    // except: the journal event is "导入", no usage count is raised, a transfer's remark stays
    // as read and its target's row comes before its source's, and the screens' checks are the
    // caller's (the import checks every row before it books any). A name is created on its
    // first mention only, so a new account belongs to the member of the row that first names
    // it. `progress` hears how many are booked. Returns how many were booked.
    int saveImported(const PostingKind& kind, const std::vector<Posting>& postings,
                     const std::function<void(int)>& progress = {});

    // The stored posting of the open book, amounts as plain decimals; nothing when it is gone.
    std::optional<Posting> load(const PostingKind& kind, qint64 id);
    // The IDs of the list under `filter`, in the list's order.
    std::vector<qint64> listIds(const PostingKind& kind, const PostingKind::Filter& filter);

  private:
    struct Stored {
        Posting posting;
        double amount = 0;
    };

    // Throws Refused unless the checks pass; returns the amount in cents.
    static double accepted(const PostingKind& kind, const Posting& posting, Mode mode);
    void createNames(const PostingKind& kind, const Posting& posting);
    Stored stored(const PostingKind& kind, qint64 id);
    void refuseDeleteWhenGuarded(const PostingKind& kind, qint64 id);
    // Books the stored values backwards under `event` ("恢复" or "删除").
    void reverse(const PostingKind& kind, const Stored& old, qint64 id, const QString& event);
    void removeOne(const PostingKind& kind, qint64 id);
    // Inserts the posting row; returns its ID.
    // wholeTransaction: any failure undoes the whole transaction, not only this statement.
    qint64 insertRow(const PostingKind& kind, const Posting& p, double amount,
                     bool wholeTransaction = false);

    TfrmDM& dm_;
};

}  // namespace cw
