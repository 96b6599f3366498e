#pragma once

#include <QDate>
#include <QString>

#include <optional>

namespace cw {

// A date in the Chinese lunar calendar. `leap` marks the intercalary month that
// follows the ordinary month of the same number.
struct LunarDate {
    int year;
    int month;
    int day;
    bool leap;
};

// Gregorian to lunar conversion for the status bar. The lunar calendar cannot be
// computed cheaply from first principles, so it is read from a table of month
// lengths covering lunar years 1990..2050 (27 Jan 1990 .. 10 Feb 2051).
class LunarCalendar {
  public:
    // Text shown for dates outside the table.
    static const QString& outOfRangeText();

    // The lunar date for `date`, or nothing when the date is invalid or outside
    // the table.
    static std::optional<LunarDate> convert(const QDate& date);

    // "农历二零零八年一月初一", "农历二零零九年五月(闰)初一", or "输入越界".
    static QString text(const QDate& date);

    // "  星期一" .. "  星期日"; the two leading spaces separate it from the lunar
    // text in the status bar. Empty for an invalid date.
    static QString weekdayText(const QDate& date);

    // The full status-bar line, e.g.
    // "公历2008年02月07日 农历二零零八年一月初一  星期四".
    static QString dateLine(const QDate& date);
};

}  // namespace cw
