#pragma once

#include <QString>
#include <optional>
#include <vector>

namespace cw {

class PostingKind;
class TfrmDM;

// The two warnings of the posting screens, read from the book as it stands: the monthly
// reminders of a kind (thresholds kept in UWarn) and the monthly cap of an expense category.
// Reads only; nothing here writes.
class PostingWarnings {
  public:
    // One enabled threshold of the open book, member and hint trimmed.
    struct Threshold {
        QString member;
        double amount = 0;
        QString hint;
    };

    // A threshold reached this month, with the words of its popup.
    struct Reminder {
        QString caption;  // member + " " + month + " 收入 提醒"
        QString member;   // member + "："
        QString amounts;  // "每月提醒金额：…，本月记账金额：…。"
        QString hint;
    };

    explicit PostingWarnings(TfrmDM& dm);

    // The enabled thresholds of the kind, in the order they were set up; none for a kind
    // without reminders.
    std::vector<Threshold> thresholds(const PostingKind& kind);
    // The reminder of one threshold when the member's total of the current month has reached
    // it (equal is enough); nothing otherwise.
    std::optional<Reminder> reached(const PostingKind& kind, const Threshold& threshold);

    // After an expense of `date` in `category` was saved: month + " " + category +
    // " 已超月上限！" when the category has a cap above 0 in the open book and that month's
    // spending in it has passed the cap (equal is not enough); empty otherwise.
    QString monthlyCap(const PostingKind& kind, const QString& date, const QString& category);

  private:
    TfrmDM& dm_;
};

}  // namespace cw
