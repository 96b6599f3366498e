#pragma once

#include <QLineEdit>

namespace cw {

// An amount field: only an optional sign, digits and one decimal point can be typed, so
// what it holds is a number or on its way to one ("-", "." while typing).
class MoneyEdit : public QLineEdit {
    Q_OBJECT

  public:
    static constexpr int kMaxLength = 20;

    explicit MoneyEdit(QWidget* parent = nullptr);

    // The amount; 0 with *ok false when the text is not a whole number yet ("", "-", ".").
    double value(bool* ok = nullptr) const;
    bool hasValue() const;
    // Shows the amount plainly, without separators: "-550.5", "100".
    void setValue(double value);
    // Shows a stored amount: for reading (browse mode) as the grids show money, "1,800.50";
    // for typing over, plainly. Text that is no amount is shown as it is.
    void showStored(const QString& text, bool forReading);
};

}  // namespace cw
