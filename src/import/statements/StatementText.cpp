#include "import/statements/StatementText.h"

#include "import/SheetLimits.h"
#include "import/SheetRows.h"
#include "import/SpreadsheetImport.h"
#include "import/bills/BillReader.h"
#include "storage/Money.h"

namespace cw {

namespace {

// Windows-1252 differs from Latin-1 only in 0x80–0x9F, where it has printable characters
// (€, ‚, „, …, curly quotes, dashes); the five holes stay as their Latin-1 control codes.
QString fromWindows1252(const QByteArray& bytes) {
    static const char16_t high[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* to = out.data();
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        *to++ = QChar(b >= 0x80 && b < 0xA0 ? high[b - 0x80] : char16_t(b));
    }
    return out;
}

bool digits(QStringView text) {
    for (const QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    return true;
}

// Digits, separators only between groups of three, and at most one decimal mark after them.
bool wellFormed(const QString& text, QChar group, QChar decimal) {
    const qsizetype at = text.indexOf(decimal);
    if (at >= 0 && text.indexOf(decimal, at + 1) >= 0) return false;
    const QStringView whole = QStringView(text).left(at >= 0 ? at : text.size());
    const QStringView fraction = at >= 0 ? QStringView(text).mid(at + 1) : QStringView();
    if (!digits(fraction) || (whole.isEmpty() && fraction.isEmpty())) return false;
    if (group.isNull() || !whole.contains(group)) return digits(whole);
    const QList<QStringView> groups = whole.split(group);
    for (qsizetype i = 0; i < groups.size(); ++i) {
        const qsizetype n = groups[i].size();
        if (!digits(groups[i]) || n == 0 || n > 3 || (i > 0 && n != 3)) return false;
    }
    return true;
}

}  // namespace

QString StatementText::decode(const QByteArray& bytes, Encoding encoding) {
    QString text;
    if (encoding == Encoding::Windows1252 && !bytes.startsWith("\xEF\xBB\xBF")) {
        text = fromWindows1252(bytes);
    } else if (!BillReader::decode(bytes, &text)) {
        // No GB18030 decoder at hand for a text that is no UTF-8.
        text = fromWindows1252(bytes);
    }
    if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
    return text;
}

QString StatementText::clean(const QString& text) {
    return BillReader::clean(text);
}

QChar StatementText::decimalMarkOf(const QString& text) {
    const QString t = text.trimmed();
    const qsizetype comma = t.lastIndexOf(QLatin1Char(','));
    const qsizetype dot = t.lastIndexOf(QLatin1Char('.'));
    // The later of two marks, or a lone one before one or two digits.
    const auto shows = [&](qsizetype mark, qsizetype other) {
        const qsizetype decimals = t.size() - mark - 1;
        return mark > other && (other >= 0 || decimals == 1 || decimals == 2);
    };
    if (comma >= 0 && shows(comma, dot)) return QLatin1Char(',');
    if (dot >= 0 && shows(dot, comma)) return QLatin1Char('.');
    return QChar();
}

bool StatementText::parseAmount(const QString& text, double* value, bool commaDecimal) {
    QString t = text.trimmed();
    t.remove(QLatin1Char(' ')).remove(QChar(0xA0));
    QString sign;
    if (t.startsWith(QLatin1Char('-')) || t.startsWith(QLatin1Char('+'))) {
        sign = t.left(1);
        t.remove(0, 1);
    }
    const qsizetype comma = t.lastIndexOf(QLatin1Char(','));
    const qsizetype dot = t.lastIndexOf(QLatin1Char('.'));
    QChar decimal = QLatin1Char('.');
    QChar group;
    if (commaDecimal && !(comma >= 0 && dot > comma)) {
        decimal = QLatin1Char(',');
        group = QLatin1Char('.');
    } else if (comma >= 0 && dot >= 0) {
        decimal = comma > dot ? QLatin1Char(',') : QLatin1Char('.');
        group = comma > dot ? QLatin1Char('.') : QLatin1Char(',');
    } else if (comma >= 0) {
        const bool single = t.count(QLatin1Char(',')) == 1;
        if (single && t.size() - comma - 1 != 3) {
            decimal = QLatin1Char(',');
        } else {
            group = QLatin1Char(',');
        }
    } else if (dot >= 0 && t.count(QLatin1Char('.')) > 1) {
        group = QLatin1Char('.');
        decimal = QLatin1Char(',');
    }
    if (!wellFormed(t, group, decimal)) return false;
    if (!group.isNull()) t.remove(group);
    t.replace(decimal, QLatin1Char('.'));
    double v = 0;
    if (!Money::parse(sign + t, &v)) return false;
    *value = Money::round(v);
    return true;
}

void StatementText::refuse(int line, const QString& field, const QString& what) {
    throw SheetError(QStringLiteral("第 %1 行 %2 %3").arg(line).arg(field, what) +
                     SpreadsheetImport::nothingImported());
}

void StatementText::refuseDate(int line) {
    refuse(line, QStringLiteral("日期"), QStringLiteral("不是有效的日期！"));
}

void StatementText::refuseAmount(int line) {
    refuse(line, QStringLiteral("金额"), QStringLiteral("不是有效的金额！"));
}

void StatementText::refuseLongLine(int line, int maxChars) {
    throw SheetError(SheetLimits::billExceeded(
        QStringLiteral("第 %1 行超过 %2 个字符").arg(line).arg(maxChars)));
}

void StatementText::refuseRows(int maxRows) {
    throw SheetError(SheetLimits::billExceeded(QStringLiteral("多于 %1 条交易").arg(maxRows)));
}

}  // namespace cw
