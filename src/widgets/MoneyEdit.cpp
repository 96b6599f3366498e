#include "widgets/MoneyEdit.h"

#include <QRegularExpression>
#include <QRegularExpressionValidator>

#include "storage/Money.h"

namespace cw {

MoneyEdit::MoneyEdit(QWidget* parent) : QLineEdit(parent) {
    // ASCII digits only: \d would let full-width digits in, which no amount parses.
    static const QRegularExpression amount(QStringLiteral("[+-]?[0-9]*\\.?[0-9]*"));
    setValidator(new QRegularExpressionValidator(amount, this));
    setMaxLength(kMaxLength);
}

double MoneyEdit::value(bool* ok) const {
    double v = 0;
    const bool parsed = Money::parse(text(), &v);
    if (ok) *ok = parsed;
    return parsed ? v : 0.0;
}

bool MoneyEdit::hasValue() const {
    return Money::parse(text(), nullptr);
}

void MoneyEdit::setValue(double value) {
    setText(Money::plain(value));
}

void MoneyEdit::showStored(const QString& text, bool forReading) {
    double v = 0;
    if (!Money::parse(text, &v)) {
        setText(text);
        return;
    }
    setText(forReading ? Money::display(v) : Money::plain(v));
}

}  // namespace cw
