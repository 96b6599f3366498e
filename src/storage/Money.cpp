#include "storage/Money.h"

#include <QRegularExpression>
#include <cmath>

namespace cw {

qint64 Money::cents(double value) {
    // The tiny nudge keeps amounts like 1.005 (stored as 1.00499999…) on the side the
    // user wrote them.
    const double scaled = value * 100.0;
    return qint64(std::llround(scaled + (scaled >= 0 ? 1e-7 : -1e-7)));
}

double Money::round(double value) {
    return double(cents(value)) / 100.0;
}

QString Money::plain(double value) {
    if (std::isnan(value) || std::isinf(value)) return QStringLiteral("0");
    if (std::fabs(value) < 1e15 && value == std::trunc(value)) {
        return QString::number(qint64(value));
    }
    QString s = QString::number(value, 'f', 10);
    while (s.endsWith(QLatin1Char('0'))) s.chop(1);
    if (s.endsWith(QLatin1Char('.'))) s.chop(1);
    if (s == QLatin1String("-0")) s = QStringLiteral("0");
    return s;
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
    static const QRegularExpression re(QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)$"));
    const QString t = text.trimmed();
    if (!re.match(t).hasMatch()) return false;
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok || std::isinf(v)) return false;
    if (value) *value = v;
    return true;
}

}  // namespace cw
