#pragma once

#include <QString>

namespace cw {

// Money is a double; every stored result is rounded to cents so balances never drift,
// and two amounts are equal when they are equal in cents.
class Money {
  public:
    static double round(double value);
    static qint64 cents(double value);
    static bool equal(double a, double b) { return cents(a) == cents(b); }
    static bool isZero(double value) { return cents(value) == 0; }

    // Plain decimal without separators and without trailing zeros: "-550.5", "100".
    static QString plain(double value);
    // The screens' money format: thousands separators and two decimals, "-1,234.50".
    static QString display(double value);

    // Parses what a user typed into an amount field: an optional sign, digits and at most one
    // decimal point. Returns false for anything else (empty text included).
    static bool parse(const QString& text, double* value);
};

}  // namespace cw
