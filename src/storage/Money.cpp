#include "storage/Money.h"

#include <QRegularExpression>
#include <cmath>

namespace cw {

namespace {

// Digits with an optional sign and one decimal point; the magnitude is checked apart.
bool readNumber(const QString& text, double* value) {
    static const QRegularExpression re(QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)$"));
    const QString t = text.trimmed();
    if (!re.match(t).hasMatch()) return false;
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok || std::isinf(v)) return false;
    *value = v;
    return true;
}

}  // namespace

qint64 Money::cents(double value) {
    // The tiny nudge keeps amounts like 1.005 (stored as 1.00499999…) on the side the
    // user wrote them.
    if (std::isnan(value)) return 0;
    const double scaled = value * 100.0;
    // Out of qint64's range the rounding would wrap to the other sign; saturate instead.
    constexpr double kEdge = 9.2e18;
    if (scaled >= kEdge) return qint64(kEdge);
    if (scaled <= -kEdge) return -qint64(kEdge);
    return qint64(std::llround(scaled + (scaled >= 0 ? 1e-7 : -1e-7)));
}

double Money::round(double value) {
    return double(cents(value)) / 100.0;
}

QString Money::plain(double value) {
    // Rounded to the cent and written from the cents, so a sum that drifted in the double
    // (45288106.200000003) prints as the amount it stands for (45288106.2).
    if (std::isnan(value) || std::isinf(value)) return QStringLiteral("0");
    const qint64 c = cents(value);
    const bool negative = c < 0;
    const qint64 a = negative ? -c : c;
    QString s = QString::number(a / 100);
    const qint64 frac = a % 100;
    if (frac != 0) {
        s += QLatin1Char('.') + QString::number(frac / 10);
        if (frac % 10) s += QString::number(frac % 10);
    }
    return negative ? QLatin1Char('-') + s : s;
}

QString Money::display(double value) {
    const qint64 c = cents(value);
    const bool negative = c < 0;
    const qint64 a = negative ? -c : c;
    QString whole = QString::number(a / 100);
    for (int i = int(whole.size()) - 3; i > 0; i -= 3) whole.insert(i, QLatin1Char(','));
    const QString frac = QStringLiteral("%1").arg(a % 100, 2, 10, QLatin1Char('0'));
    return (negative ? QStringLiteral("-") : QString()) + whole + QLatin1Char('.') + frac;
}

bool Money::parse(const QString& text, double* value) {
    double v = 0;
    if (!readNumber(text, &v)) return false;
    // Compared after rounding to the cent: 999999999999.999 is 10^12 as an amount.
    if (std::fabs(v) >= kLimit || std::llabs(cents(v)) >= qint64(kLimit) * 100) return false;
    if (value) *value = v;
    return true;
}

bool Money::tooLarge(const QString& text) {
    double v = 0;
    return readNumber(text, &v) && !parse(text, nullptr);
}

}  // namespace cw
