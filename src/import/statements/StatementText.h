#pragma once

#include <QByteArray>
#include <QString>

namespace cw {

// What the readers of other ledgers' text files (QIF, OFX) share: decoding the bytes, the
// tolerant reading of their amounts, and the refusals they give.
class StatementText {
  public:
    enum class Encoding {
        // UTF-8 when the bytes are valid UTF-8 (a byte-order mark or not), else GB18030.
        Guess,
        Windows1252,
    };
    static QString decode(const QByteArray& bytes, Encoding encoding = Encoding::Guess);
    // Drops control characters (a tab or line break in a payee would split a grid cell) and
    // the blanks around.
    static QString clean(const QString& text);
    // "-1,234.56", "+12.5", "1.234,56", "12,50", "1.234.567" → the signed amount, rounded to the
    // cent. A lone comma before three digits groups thousands ("1,234"), before one or two it
    // is a decimal comma; false for anything else, and for amounts Money refuses. In a file
    // whose amounts show a decimal comma (`commaDecimal`), dots only group ("1.234" → 1234).
    static bool parseAmount(const QString& text, double* value, bool commaDecimal = false);
    // The decimal mark an amount shows beyond doubt ("1.234,56", "12,5" → ','; "1,234.56",
    // "12.50" → '.'), else none ("1,234", "1.234", "12").
    static QChar decimalMarkOf(const QString& text);

    // "第 12 行 日期 不是有效的日期！没有导入任何数据。"
    [[noreturn]] static void refuse(int line, const QString& field, const QString& what);
    [[noreturn]] static void refuseDate(int line);
    [[noreturn]] static void refuseAmount(int line);
    // The bounds a hostile file meets: a line (or a tag's text) too long, too many rows.
    [[noreturn]] static void refuseLongLine(int line, int maxChars);
    [[noreturn]] static void refuseRows(int maxRows);
};

}  // namespace cw
