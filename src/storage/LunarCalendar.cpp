#include "storage/LunarCalendar.h"

#include <array>
#include <cstdint>

namespace cw {

namespace {

constexpr int kFirstYear = 1990;

// Day number of 27 Jan 1990 (lunar 1990, first month, first day) when days are
// counted from 30 Dec 1899 as day 0.
constexpr qint64 kFirstDay = 32900;
constexpr qint64 kDayZeroJulian = 2415019;  // QDate(1899, 12, 30).toJulianDay()

// One word per lunar year from 1990. Bits 0..11: bit m-1 set when month m has
// 30 days. Bits 12..15 (f): 0 = no leap month; 1..12 = month f is followed by a
// 29-day leap month; 13..15 = month (f & 7) is followed by a 30-day leap month,
// and that ordinary month is then one day shorter than its bit says.
constexpr std::array<std::uint16_t, 61> kYears = {
    0x5f52, 0x0e92, 0x0d26, 0x352e, 0x0a57, 0x8ad6, 0x035a, 0x06d5, 0x5b69, 0x0749,  // 1990
    0x0693, 0x4a9b, 0x052b, 0x0a5b, 0x2aae, 0x056a, 0x7dd5, 0x0ba4, 0x0b49, 0x5d53,  // 2000
    0x0a95, 0x052d, 0x455d, 0x0ab5, 0x9baa, 0x05d2, 0x0da5, 0xeeaa, 0x0d4a, 0x0c95,  // 2010
    0x4a9e, 0x0556, 0x0ad5, 0x2ada, 0x06d2, 0x6765, 0x0725, 0x064b, 0x5657, 0x0cab,  // 2020
    0x055a, 0x356e, 0x0b56, 0xbf52, 0x0b52, 0x0b25, 0xed2b, 0x0a4b, 0x04ab, 0x52bb,  // 2030
    0x05ad, 0x0b6a, 0x2daa, 0x0d92, 0x7ea5, 0x0d25, 0x0a55, 0xda5d, 0x04b6, 0x05b5,  // 2040
    0x36d6,                                                                          // 2050
};

// Total days covered by the table; offsets 0..kTableDays-1 convert.
constexpr qint64 kTableDays = 22295;

const std::array<QString, 11>& numerals() {
    static const std::array<QString, 11> kNumerals = {
        QStringLiteral("零"), QStringLiteral("一"), QStringLiteral("二"), QStringLiteral("三"),
        QStringLiteral("四"), QStringLiteral("五"), QStringLiteral("六"), QStringLiteral("七"),
        QStringLiteral("八"), QStringLiteral("九"), QStringLiteral("十"),
    };
    return kNumerals;
}

// Lunar years are read out digit by digit: 2008 -> 二零零八.
QString yearText(int year) {
    QString out;
    for (QChar c : QString::number(year)) {
        if (c.isDigit()) out += numerals()[c.digitValue()];
    }
    return out;
}

QString monthText(int month) {
    if (month <= 10) return numerals()[month];
    return numerals()[10] + numerals()[month - 10];
}

QString dayText(int day) {
    if (day <= 10) return QStringLiteral("初") + numerals()[day];
    if (day < 20) return numerals()[10] + numerals()[day - 10];
    const int tens = day / 10;
    const int units = day % 10;
    QString out = numerals()[tens] + numerals()[10];
    if (units != 0) out += numerals()[units];
    return out;
}

}  // namespace

const QString& LunarCalendar::outOfRangeText() {
    static const QString kText = QStringLiteral("输入越界");
    return kText;
}

std::optional<LunarDate> LunarCalendar::convert(const QDate& date) {
    if (!date.isValid()) return std::nullopt;
    qint64 n = date.toJulianDay() - kDayZeroJulian - kFirstDay;
    if (n < 0 || n >= kTableDays) return std::nullopt;

    for (int i = 0; i < static_cast<int>(kYears.size()); ++i) {
        const unsigned word = kYears[static_cast<std::size_t>(i)];
        const unsigned f = word >> 12;
        const int leapMonth = f <= 12 ? static_cast<int>(f) : static_cast<int>(f & 7);
        const int leapDays = f <= 12 ? 29 : 30;
        const int year = kFirstYear + i;

        for (int m = 1; m <= 12; ++m) {
            int days = 29 + static_cast<int>((word >> (m - 1)) & 1);
            // A 30-day leap month borrows a day from the month it follows.
            if (m == leapMonth && leapDays == 30) --days;
            if (n < days) return LunarDate{year, m, static_cast<int>(n) + 1, false};
            n -= days;
            if (m == leapMonth) {
                if (n < leapDays) return LunarDate{year, m, static_cast<int>(n) + 1, true};
                n -= leapDays;
            }
        }
    }
    return std::nullopt;
}

QString LunarCalendar::text(const QDate& date) {
    const auto lunar = convert(date);
    if (!lunar) return outOfRangeText();
    QString out = QStringLiteral("农历") + yearText(lunar->year) + QStringLiteral("年") +
                  monthText(lunar->month) + QStringLiteral("月");
    if (lunar->leap) out += QStringLiteral("(闰)");
    out += dayText(lunar->day);
    return out;
}

QString LunarCalendar::weekdayText(const QDate& date) {
    static const std::array<QString, 7> kDays = {
        QStringLiteral("  星期一"), QStringLiteral("  星期二"), QStringLiteral("  星期三"),
        QStringLiteral("  星期四"), QStringLiteral("  星期五"), QStringLiteral("  星期六"),
        QStringLiteral("  星期日"),
    };
    if (!date.isValid()) return QString();
    // QDate numbers Monday as 1 and Sunday as 7.
    return kDays[static_cast<std::size_t>(date.dayOfWeek() - 1)];
}

QString LunarCalendar::dateLine(const QDate& date) {
    const QString gregorian = QStringLiteral("公历%1年%2月%3日 ")
                                  .arg(date.year(), 4, 10, QLatin1Char('0'))
                                  .arg(date.month(), 2, 10, QLatin1Char('0'))
                                  .arg(date.day(), 2, 10, QLatin1Char('0'));
    return gregorian + text(date) + weekdayText(date);
}

}  // namespace cw
