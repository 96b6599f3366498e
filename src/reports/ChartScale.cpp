#include "reports/ChartScale.h"

#include <algorithm>
#include <cmath>

namespace cw {

namespace {

constexpr double kWan = 1e4;
constexpr double kYi = 1e8;

QString unitName(double unit) {
    if (unit == kYi) return QStringLiteral("亿");
    if (unit == kWan) return QStringLiteral("万");
    return QString();
}

// The places a multiple of `step` needs to be written exactly (0.25 needs two).
int placesOf(double step) {
    int places = 0;
    double scaled = step;
    while (places < 4 && std::abs(scaled - std::round(scaled)) > 1e-6 * std::max(1.0, scaled)) {
        scaled *= 10;
        ++places;
    }
    return places;
}

}  // namespace

ChartScale ChartScale::of(const QList<double>& values, int ticks) {
    ChartScale s;
    double lo = 0;
    double hi = 0;
    for (double v : values) {
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
    if (hi - lo <= 0) return s;
    const double raw = (hi - lo) / std::max(1, ticks);
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 2.5, 5.0, 10.0}) {
        s.step_ = m * magnitude;
        if (s.step_ >= raw * (1 - 1e-9)) break;
    }
    s.low_ = std::floor(lo / s.step_ + 1e-9) * s.step_;
    s.high_ = std::ceil(hi / s.step_ - 1e-9) * s.step_;
    // The value written above the highest bar needs room below the top of the plot.
    if (hi > 0 && s.high_ - hi < (s.high_ - s.low_) * 0.06) s.high_ += s.step_;
    const double largest = std::max(std::abs(s.low_), std::abs(s.high_));
    s.unit_ = largest >= kYi ? kYi : largest >= 10 * kWan ? kWan : 1;
    return s;
}

QList<double> ChartScale::ticks() const {
    QList<double> out;
    const int n = int(std::lround((high_ - low_) / step_));
    for (int i = 0; i <= n; ++i) out << low_ + i * step_;
    return out;
}

QStringList ChartScale::tickLabels() const {
    QStringList out;
    for (double t : ticks()) out << tickLabel(t);
    return out;
}

QString ChartScale::tickLabel(double value) const {
    if (std::abs(value) < step_ * 1e-6) return QStringLiteral("0");
    return grouped(value / unit_, placesOf(step_ / unit_)) + unitName(unit_);
}

QString ChartScale::shortAmount(double value) {
    const double a = std::abs(value);
    const QString sign = value < 0 ? QStringLiteral("-") : QString();
    if (a < kWan) return grouped(value, 2);
    double unit = a >= kYi ? kYi : kWan;
    const auto places = [&] {
        const double x = a / unit;
        return x >= 100 ? 0 : x >= 10 ? 1 : 2;
    };
    // 99,999,999 rounds to 10,000万: that is 1亿.
    if (unit == kWan && std::round(a / unit) >= kWan) unit = kYi;
    return sign + grouped(a / unit, places()) + unitName(unit);
}

QString ChartScale::grouped(double value, int decimals) {
    QString text = QString::number(std::abs(value), 'f', decimals);
    qsizetype point = text.indexOf(QLatin1Char('.'));
    if (point >= 0) {
        while (text.endsWith(QLatin1Char('0'))) text.chop(1);
        if (text.endsWith(QLatin1Char('.'))) text.chop(1);
    } else {
        point = text.size();
    }
    point = std::min(point, text.size());
    for (qsizetype i = point - 3; i > 0; i -= 3) text.insert(i, QLatin1Char(','));
    const bool zero = text == QLatin1String("0");
    return (value < 0 && !zero ? QStringLiteral("-") : QString()) + text;
}

}  // namespace cw
