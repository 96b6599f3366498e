#pragma once

#include <QString>

namespace cw {

// Money is a double; every stored result is rounded to cents so balances never drift,
// and two amounts are equal when they are equal in cents.
class Money {
  public:
    // Every amount a user or a script enters stays below this magnitude. Cents of such amounts
    // and of any realistic sum of them are exact in a double; a larger amount would first lose
    // its cents and, far above, flip its sign when rounded.
    static constexpr double kLimit = 1e12;

    static double round(double value);
    static qint64 cents(double value);
    static bool equal(double a, double b) { return cents(a) == cents(b); }
    static bool isZero(double value) { return cents(value) == 0; }

    // Plain decimal without separators and without trailing zeros: "-550.5", "100".
    static QString plain(double value);
    // The screens' money format: thousands separators and two decimals, "-1,234.50".
    static QString display(double value);

    // Parses what a user typed into an amount field: an optional sign, digits and at most one
    // decimal point, of a magnitude below kLimit. Returns false for anything else (empty text
    // and amounts too large included).
    static bool parse(const QString& text, double* value);
    // True when the text is written as a number but its magnitude reaches kLimit: such a field
    // is not empty, it holds no valid number.
    static bool tooLarge(const QString& text);
};

}  // namespace cw
