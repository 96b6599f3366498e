#include <gtest/gtest.h>

#include "plans/PlanSchedule.h"

using namespace cw;
using Rule = PlanSchedule::Rule;

namespace {

QDate d(const char* text) {
    return QDate::fromString(QString::fromLatin1(text), QStringLiteral("yyyy-MM-dd"));
}

std::vector<QString> texts(const PlanSchedule& s, const char* from, const char* to) {
    std::vector<QString> out;
    for (const QDate& day : s.dates(d(from), d(to)))
        out.push_back(day.toString(QStringLiteral("yyyy-MM-dd")));
    return out;
}

std::vector<QString> list(std::initializer_list<const char*> items) {
    std::vector<QString> out;
    for (const char* i : items) out.push_back(QString::fromLatin1(i));
    return out;
}

}  // namespace

TEST(PlanScheduleTest, DailyPlansEveryDayFromTheStartToTheEnd) {
    const PlanSchedule s{.rule = Rule::Daily};
    EXPECT_EQ(texts(s, "2024-03-01", "2024-03-05"),
              list({"2024-03-01", "2024-03-02", "2024-03-03", "2024-03-04", "2024-03-05"}));
    // Ten years of days, 29 Februaries included.
    const auto tenYears = s.dates(d("2024-01-01"), d("2033-12-31"));
    EXPECT_EQ(tenYears.size(), 3653u);
    EXPECT_EQ(tenYears.back(), d("2033-12-31"));
}

TEST(PlanScheduleTest, EveryNDaysStartsOneStepAfterTheStartAndMayPassTheEnd) {
    const PlanSchedule s{.rule = Rule::EveryNDays, .n = 7};
    EXPECT_EQ(texts(s, "2024-03-01", "2024-03-31"),
              list({"2024-03-08", "2024-03-15", "2024-03-22", "2024-03-29", "2024-04-05"}));
    const PlanSchedule daily{.rule = Rule::EveryNDays, .n = 1};
    EXPECT_EQ(texts(daily, "2024-02-27", "2024-03-01"),
              list({"2024-02-28", "2024-02-29", "2024-03-01", "2024-03-02"}));
}

TEST(PlanScheduleTest, MonthlyPlansDayDOfEachMonthAfterTheStartMonth) {
    const PlanSchedule s{.rule = Rule::Monthly, .day = 20};
    const auto dates = texts(s, "2024-01-15", "2025-01-15");
    ASSERT_EQ(dates.size(), 13u);
    EXPECT_EQ(dates.front(), QStringLiteral("2024-02-20"));
    EXPECT_EQ(dates.back(), QStringLiteral("2025-02-20"));
    // Day 28 exists in every February; a series starting late in January crosses the year.
    const PlanSchedule late{.rule = Rule::Monthly, .day = 28};
    EXPECT_EQ(texts(late, "2023-12-31", "2024-02-29"), list({"2024-01-28", "2024-02-28"}));
}

TEST(PlanScheduleTest, EveryNMonthsPlansEveryNthStep) {
    const PlanSchedule s{.rule = Rule::EveryNMonths, .n = 3, .day = 5};
    EXPECT_EQ(texts(s, "2024-01-10", "2025-01-10"),
              list({"2024-04-05", "2024-07-05", "2024-10-05", "2025-01-05"}));
    const PlanSchedule longer{.rule = Rule::EveryNMonths, .n = 12, .day = 1};
    EXPECT_TRUE(longer.dates(d("2024-01-10"), d("2024-06-10")).empty());
}

TEST(PlanScheduleTest, YearlyCountsYearsOfThreeHundredSixtyFiveAndAQuarterDays) {
    const PlanSchedule s{.rule = Rule::Yearly, .day = 28, .month = 2};
    EXPECT_EQ(texts(s, "2024-01-01", "2028-12-31"),
              list({"2025-02-28", "2026-02-28", "2027-02-28", "2028-02-28", "2029-02-28"}));
    // A range holding 29 February 2024 is 366 days: one whole year, two plans.
    EXPECT_EQ(texts(s, "2023-03-01", "2024-03-01"), list({"2024-02-28", "2025-02-28"}));
    // 365 days are not yet a whole year of 365.25: one plan.
    EXPECT_EQ(texts(s, "2022-03-01", "2023-03-01"), list({"2023-02-28"}));
}

TEST(PlanScheduleTest, NumbersOutOfTheirRangesPlanNothing) {
    EXPECT_TRUE((PlanSchedule{.rule = Rule::Monthly, .day = 29})
                    .dates(d("2024-01-01"), d("2024-12-31"))
                    .empty());
    EXPECT_TRUE((PlanSchedule{.rule = Rule::EveryNDays, .n = 0})
                    .dates(d("2024-01-01"), d("2024-12-31"))
                    .empty());
    EXPECT_TRUE((PlanSchedule{.rule = Rule::Yearly, .day = 1, .month = 13})
                    .dates(d("2024-01-01"), d("2030-12-31"))
                    .empty());
}

TEST(PlanScheduleTest, ChoosingARuleMovesTheEndDate) {
    const QDate start = d("2024-01-31");
    EXPECT_EQ(PlanSchedule::defaultEnd(Rule::Daily, start), d("2024-02-29"));
    EXPECT_EQ(PlanSchedule::defaultEnd(Rule::EveryNDays, start), d("2024-04-30"));
    EXPECT_EQ(PlanSchedule::defaultEnd(Rule::Monthly, start), d("2025-01-31"));
    EXPECT_EQ(PlanSchedule::defaultEnd(Rule::Yearly, start), d("2029-01-31"));
    EXPECT_EQ(PlanSchedule::defaultEnd(Rule::EveryNMonths, start), d("2025-01-31"));
}
