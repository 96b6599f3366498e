#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace cw {

// The value axis of a chart and the texts a reader sees on it: round steps that cover every
// value (and 0), labelled with thousands separators and, for large amounts, in 万 or 亿, so
// 150000000 reads "1.5亿" rather than a row of digits.
class ChartScale {
  public:
    // Round steps from the lowest value (0 at most) to the highest (0 at least), about
    // `ticks` of them; nothing to show gives 0 to 100.
    static ChartScale of(const QList<double>& values, int ticks = 6);

    double low() const { return low_; }
    double high() const { return high_; }
    double step() const { return step_; }
    // The tick values from low to high, and their labels in the scale's one unit
    // ("0", "5,000万", "1亿", "1.5亿").
    QList<double> ticks() const;
    QStringList tickLabels() const;
    QString tickLabel(double value) const;

    // A value written short for a bar or a point: three significant figures in 万 or 亿
    // from 10,000 up ("1.5亿", "9,877万", "12.3万"), below that to the cent ("1,234.5").
    static QString shortAmount(double value);
    // Digits grouped by thousands with at most `decimals` places, trailing zeros dropped.
    static QString grouped(double value, int decimals);

  private:
    double low_ = 0;
    double high_ = 100;
    double step_ = 20;
    double unit_ = 1;  // 1, 1e4 (万) or 1e8 (亿)
};

}  // namespace cw
