#include "plans/PlanSchedule.h"

#include <cmath>

namespace cw {

bool PlanSchedule::valid() const {
    if (day < 1 || day > 28) return rule == Rule::Daily || rule == Rule::EveryNDays;
    switch (rule) {
        case Rule::EveryNDays:
            return n >= 1 && n <= 31;
        case Rule::Yearly:
            return month >= 1 && month <= 12;
        case Rule::EveryNMonths:
            return n >= 1 && n <= 12;
        default:
            return true;
    }
}

std::vector<QDate> PlanSchedule::dates(const QDate& from, const QDate& to) const {
    std::vector<QDate> out;
    if (!valid() || !from.isValid() || !to.isValid() || to < from) return out;
    const qint64 days = from.daysTo(to);
    const qint64 months = qint64(std::floor(double(days) / 30.4375));
    const qint64 years = qint64(std::floor(double(days) / 365.25));
    const QDate firstOfMonth(from.year(), from.month(), 1);
    switch (rule) {
        case Rule::Daily:
            for (qint64 k = 0; k <= days; ++k) out.push_back(from.addDays(k));
            break;
        case Rule::EveryNDays:
            for (qint64 k = 1; k <= days / n + 1; ++k) out.push_back(from.addDays(k * n));
            break;
        case Rule::Monthly:
            for (qint64 k = 1; k <= months + 1; ++k) {
                const QDate m = firstOfMonth.addMonths(int(k));
                out.emplace_back(m.year(), m.month(), day);
            }
            break;
        case Rule::Yearly:
            for (qint64 k = 1; k <= years + 1; ++k)
                out.emplace_back(from.year() + int(k), month, day);
            break;
        case Rule::EveryNMonths:
            for (qint64 k = 1; k <= months + 1; ++k) {
                if (k % n != 0) continue;
                const QDate m = firstOfMonth.addMonths(int(k));
                out.emplace_back(m.year(), m.month(), day);
            }
            break;
    }
    return out;
}

QDate PlanSchedule::defaultEnd(Rule rule, const QDate& start) {
    switch (rule) {
        case Rule::Daily:
            return start.addMonths(1);
        case Rule::EveryNDays:
            return start.addMonths(3);
        case Rule::Yearly:
            return start.addMonths(60);
        default:
            return start.addMonths(12);
    }
}

}  // namespace cw
