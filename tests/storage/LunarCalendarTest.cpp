#include "storage/LunarCalendar.h"

#include <gtest/gtest.h>

#include <string>

namespace cw {
namespace {

std::string lunar(int y, int m, int d) {
    return LunarCalendar::text(QDate(y, m, d)).toStdString();
}

// The ends of the table: the first and last convertible days and their neighbours.
TEST(LunarCalendarRange, BoundariesOfTheTable) {
    EXPECT_EQ(lunar(1990, 1, 27), "农历一九九零年一月初一");
    EXPECT_EQ(lunar(1990, 1, 26), "输入越界");
    EXPECT_EQ(lunar(2051, 2, 10), "农历二零五零年十二月二十九");
    EXPECT_EQ(lunar(2051, 2, 11), "输入越界");

    EXPECT_FALSE(LunarCalendar::convert(QDate(1990, 1, 26)).has_value());
    EXPECT_FALSE(LunarCalendar::convert(QDate(2051, 2, 11)).has_value());
    EXPECT_FALSE(LunarCalendar::convert(QDate(1800, 6, 1)).has_value());
    EXPECT_FALSE(LunarCalendar::convert(QDate(3000, 6, 1)).has_value());
}

TEST(LunarCalendarRange, InvalidDateIsOutOfRange) {
    EXPECT_FALSE(LunarCalendar::convert(QDate()).has_value());
    EXPECT_FALSE(LunarCalendar::convert(QDate(2021, 2, 30)).has_value());
    EXPECT_EQ(LunarCalendar::text(QDate()).toStdString(), "输入越界");
    EXPECT_TRUE(LunarCalendar::weekdayText(QDate()).isEmpty());
}

// Lunar New Year's Days as published in the almanac, spread across the table so a
// wrong word in any decade shifts at least one of them.
TEST(LunarCalendarConvert, KnownNewYears) {
    EXPECT_EQ(lunar(1995, 1, 31), "农历一九九五年一月初一");
    EXPECT_EQ(lunar(2000, 2, 5), "农历二零零零年一月初一");
    EXPECT_EQ(lunar(2008, 2, 7), "农历二零零八年一月初一");
    EXPECT_EQ(lunar(2020, 1, 25), "农历二零二零年一月初一");
    EXPECT_EQ(lunar(2023, 1, 22), "农历二零二三年一月初一");
    EXPECT_EQ(lunar(2026, 2, 17), "农历二零二六年一月初一");
    EXPECT_EQ(lunar(2050, 1, 23), "农历二零五零年一月初一");

    // The eve belongs to the last month of the previous year.
    EXPECT_EQ(lunar(2008, 2, 6), "农历二零零七年十二月三十");
    EXPECT_EQ(lunar(2026, 2, 16), "农历二零二五年十二月二十九");
}

TEST(LunarCalendarConvert, LeapMonths) {
    // Leap fifth month of 2009 (29-day leap).
    EXPECT_EQ(lunar(2009, 6, 22), "农历二零零九年五月三十");
    EXPECT_EQ(lunar(2009, 6, 23), "农历二零零九年五月(闰)初一");
    const auto leap = LunarCalendar::convert(QDate(2009, 6, 23));
    ASSERT_TRUE(leap.has_value());
    EXPECT_EQ(leap->year, 2009);
    EXPECT_EQ(leap->month, 5);
    EXPECT_EQ(leap->day, 1);
    EXPECT_TRUE(leap->leap);

    // 2017 carries a 30-day leap sixth month, which takes a day from the ordinary
    // sixth month: that month has 29 days although its bit says 30.
    EXPECT_EQ(lunar(2017, 6, 24), "农历二零一七年六月初一");
    EXPECT_EQ(lunar(2017, 7, 22), "农历二零一七年六月二十九");
    EXPECT_EQ(lunar(2017, 7, 23), "农历二零一七年六月(闰)初一");
    EXPECT_EQ(lunar(2017, 8, 21), "农历二零一七年六月(闰)三十");
    EXPECT_EQ(lunar(2017, 8, 22), "农历二零一七年七月初一");

    // Further leap months from the almanac.
    EXPECT_EQ(lunar(2020, 5, 23), "农历二零二零年四月(闰)初一");
    EXPECT_EQ(lunar(2023, 3, 22), "农历二零二三年二月(闰)初一");
    EXPECT_EQ(lunar(2025, 7, 25), "农历二零二五年六月(闰)初一");
    EXPECT_EQ(lunar(2033, 12, 22), "农历二零三三年十一月(闰)初一");
}

TEST(LunarCalendarText, DayForms) {
    // First month of 2008 starts on 7 Feb 2008.
    EXPECT_EQ(lunar(2008, 2, 7), "农历二零零八年一月初一");
    EXPECT_EQ(lunar(2008, 2, 16), "农历二零零八年一月初十");
    EXPECT_EQ(lunar(2008, 2, 17), "农历二零零八年一月十一");
    EXPECT_EQ(lunar(2008, 2, 25), "农历二零零八年一月十九");
    EXPECT_EQ(lunar(2008, 2, 26), "农历二零零八年一月二十");
    EXPECT_EQ(lunar(2008, 2, 27), "农历二零零八年一月二十一");
    EXPECT_EQ(lunar(2008, 3, 6), "农历二零零八年一月二十九");
    EXPECT_EQ(lunar(2008, 2, 6), "农历二零零七年十二月三十");
}

TEST(LunarCalendarText, MonthAndYearForms) {
    EXPECT_EQ(lunar(2008, 3, 8), "农历二零零八年二月初一");
    EXPECT_EQ(lunar(2008, 11, 28), "农历二零零八年十一月初一");
    EXPECT_EQ(lunar(2008, 12, 27), "农历二零零八年十二月初一");
    EXPECT_EQ(lunar(2010, 2, 14), "农历二零一零年一月初一");
}

TEST(LunarCalendarStatusBar, WeekdayText) {
    // 2 Feb 2026 is a Monday; walk one week.
    const char* expected[] = {"  星期一", "  星期二", "  星期三", "  星期四",
                              "  星期五", "  星期六", "  星期日"};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(LunarCalendar::weekdayText(QDate(2026, 2, 2 + i)).toStdString(), expected[i]);
    }
}

TEST(LunarCalendarStatusBar, DateLine) {
    EXPECT_EQ(LunarCalendar::dateLine(QDate(2008, 2, 7)).toStdString(),
              "公历2008年02月07日 农历二零零八年一月初一  星期四");
    EXPECT_EQ(LunarCalendar::dateLine(QDate(2017, 7, 23)).toStdString(),
              "公历2017年07月23日 农历二零一七年六月(闰)初一  星期日");
    // Outside the table the line still shows the civil date and weekday.
    EXPECT_EQ(LunarCalendar::dateLine(QDate(1989, 12, 31)).toStdString(),
              "公历1989年12月31日 输入越界  星期日");
}

// Every day in the table must follow its predecessor by exactly one lunar day, so
// the month lengths leave no gap or overlap and add up to the table's span.
TEST(LunarCalendarConvert, EveryDayAdvancesByOne) {
    const QDate first(1990, 1, 27);
    const QDate last(2051, 2, 10);

    auto prev = LunarCalendar::convert(first);
    ASSERT_TRUE(prev.has_value());
    EXPECT_EQ(prev->year, 1990);
    EXPECT_EQ(prev->month, 1);
    EXPECT_EQ(prev->day, 1);
    EXPECT_FALSE(prev->leap);

    int days = 1;
    int newYears = 1;
    int leapMonths = 0;
    for (QDate d = first.addDays(1); d <= last; d = d.addDays(1)) {
        const auto cur = LunarCalendar::convert(d);
        ASSERT_TRUE(cur.has_value()) << d.toString(Qt::ISODate).toStdString();
        ++days;
        if (cur->day != 1) {
            ASSERT_EQ(cur->year, prev->year) << d.toString(Qt::ISODate).toStdString();
            ASSERT_EQ(cur->month, prev->month) << d.toString(Qt::ISODate).toStdString();
            ASSERT_EQ(cur->leap, prev->leap) << d.toString(Qt::ISODate).toStdString();
            ASSERT_EQ(cur->day, prev->day + 1) << d.toString(Qt::ISODate).toStdString();
            ASSERT_LE(cur->day, 30) << d.toString(Qt::ISODate).toStdString();
        } else {
            // A lunar month has 29 or 30 days.
            ASSERT_GE(prev->day, 29) << d.toString(Qt::ISODate).toStdString();
            const bool leapStarts =
                cur->leap && !prev->leap && cur->year == prev->year && cur->month == prev->month;
            const bool nextMonth =
                !cur->leap && cur->year == prev->year && cur->month == prev->month + 1;
            const bool nextYear =
                !cur->leap && cur->year == prev->year + 1 && cur->month == 1 && prev->month == 12;
            ASSERT_TRUE(leapStarts || nextMonth || nextYear)
                << d.toString(Qt::ISODate).toStdString();
            if (nextYear) ++newYears;
            if (leapStarts) ++leapMonths;
        }
        prev = cur;
    }
    EXPECT_EQ(days, 22295);
    EXPECT_EQ(newYears, 61);
    EXPECT_EQ(leapMonths, 23);
    EXPECT_EQ(prev->year, 2050);
    EXPECT_EQ(prev->month, 12);
}

}  // namespace
}  // namespace cw
