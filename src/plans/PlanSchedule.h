#pragma once

#include <QDate>
#include <vector>

namespace cw {

// The recurrence of a plan series and the dates it plans. Spans are measured on the two chosen
// days: the days between them, whole months as days / 30.4375 and whole years as
// days / 365.25. The day of a month is at most 28, so every planned date exists.
struct PlanSchedule {
    enum class Rule {
        Daily,       // "每天 执行": the start date and each following day up to the end
        EveryNDays,  // "每 N 日 执行": start + N, start + 2N, …; the last may pass the end
        Monthly,     // "每月 D 日 执行": day D of each month after the start month
        Yearly,  // "每年 M 月 D 日 执行": month M, day D of each year after the start year
        EveryNMonths,  // "每 N 月 D 日 执行": day D of every N-th month after the start month
    };

    Rule rule = Rule::Daily;
    int n = 7;      // days for EveryNDays (1..31), months for EveryNMonths (1..12)
    int day = 20;   // 1..28
    int month = 1;  // 1..12, yearly only

    // The planned dates in order; none when the numbers are out of their ranges.
    std::vector<QDate> dates(const QDate& from, const QDate& to) const;
    bool valid() const;

    // Where the end date moves when a recurrence is chosen: one month after the start for the
    // daily rule, three for every N days, twelve for the monthly rules, sixty for the yearly.
    static QDate defaultEnd(Rule rule, const QDate& start);
};

}  // namespace cw
