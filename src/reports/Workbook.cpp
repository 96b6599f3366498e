#include "reports/Workbook.h"

#include <QRegularExpression>
#include <stdexcept>

#include "storage/Money.h"

namespace cw {

namespace {

// Column letters to a number: "A" 1, "Z" 26, "AA" 27.
int columnNumber(const QString& letters) {
    int n = 0;
    for (const QChar c : letters) n = n * 26 + (c.unicode() - 'A' + 1);
    return n;
}

}  // namespace

bool Workbook::isNumber(const QVariant& v) {
    switch (v.typeId()) {
        case QMetaType::Double:
        case QMetaType::Float:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
            return true;
        default:
            return false;
    }
}

namespace {

// Wide characters (CJK, full-width forms) take two character widths of the default font.
bool isWide(char16_t c) {
    return (c >= 0x1100 && c <= 0x115f) || (c >= 0x2e80 && c <= 0xa4cf) ||
           (c >= 0xac00 && c <= 0xd7a3) || (c >= 0xf900 && c <= 0xfaff) ||
           (c >= 0xfe30 && c <= 0xfe4f) || (c >= 0xff00 && c <= 0xff60) ||
           (c >= 0xffe0 && c <= 0xffe6);
}

// The spreadsheet's default font is 11 points.
constexpr double kDefaultFontSize = 11;

}  // namespace

QString Workbook::shown(const QVariant& value, const QString& numberFormat) {
    if (!isNumber(value)) return value.toString();
    const double v = value.toDouble();
    if (numberFormat == moneyFormat()) return Money::display(v);
    if (numberFormat == percentFormat()) return QString::number(v * 100, 'f', 2) + u'%';
    if (numberFormat == ratioFormat()) return QString::number(v, 'f', 2);
    if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float)
        return QString::number(v, 'g', 15);
    return value.toString();
}

double Workbook::widthFor(const QVariant& value, const Style& style) {
    const QString text = shown(value, style.numberFormat);
    if (text.isEmpty()) return 0;
    double chars = 0;
    // A character beyond the basic plane is two halves, two widths together.
    for (const QChar c : text) chars += c.isSurrogate() || !isWide(c.unicode()) ? 1 : 2;
    if (style.fontSize > kDefaultFontSize) chars *= style.fontSize / kDefaultFontSize;
    if (style.bold) chars *= 1.1;
    return std::min(chars + 1, kMaxFittedWidth);
}

Workbook::Range Workbook::Range::parse(const QString& ref) {
    static const QRegularExpression re(
        QStringLiteral("^([A-Z]{1,3})([1-9][0-9]*)(?::([A-Z]{1,3})([1-9][0-9]*))?$"));
    const QRegularExpressionMatch m = re.match(ref.trimmed().toUpper());
    if (!m.hasMatch()) throw std::invalid_argument("not a range: " + ref.toStdString());
    Range r;
    r.left = columnNumber(m.captured(1));
    r.top = m.captured(2).toInt();
    r.right = m.captured(3).isEmpty() ? r.left : columnNumber(m.captured(3));
    r.bottom = m.captured(4).isEmpty() ? r.top : m.captured(4).toInt();
    if (r.right < r.left) std::swap(r.left, r.right);
    if (r.bottom < r.top) std::swap(r.top, r.bottom);
    return r;
}

QString Workbook::Range::ref() const {
    const QString first = columnLetters(left) + QString::number(top);
    if (top == bottom && left == right) return first;
    return first + QLatin1Char(':') + columnLetters(right) + QString::number(bottom);
}

QString Workbook::columnLetters(int column) {
    QString s;
    for (int n = column; n > 0; n = (n - 1) / 26) {
        s.prepend(QChar(u'A' + (n - 1) % 26));
    }
    return s;
}

void Workbook::mergeRows(const Range& range) {
    for (int r = range.top; r <= range.bottom; ++r) {
        Range row = range;
        row.top = row.bottom = r;
        merges_.removeIf([&](const Range& m) { return m.top == r; });
        merges_.append(row);
    }
}

void Workbook::centre(const Range& range) {
    forEach(range, [](Style& s) { s.centred = true; });
}

void Workbook::setFontName(const Range& range, const QString& name) {
    forEach(range, [&](Style& s) { s.fontName = name; });
}

void Workbook::setFontSize(const Range& range, double size) {
    forEach(range, [&](Style& s) { s.fontSize = size; });
}

void Workbook::setBold(const Range& range, bool bold) {
    forEach(range, [&](Style& s) { s.bold = bold; });
}

void Workbook::setBorders(const Range& range) {
    forEach(range, [](Style& s) { s.border = true; });
}

void Workbook::setWrapText(int row, int column, bool wrap) {
    forEach(Range{row, column, row, column}, [&](Style& s) { s.wrap = wrap; });
}

void Workbook::setNumberFormat(const Range& range, const QString& format) {
    forEach(range, [&](Style& s) { s.numberFormat = format; });
}

std::optional<double> Workbook::columnWidth(int column) const {
    const auto it = widths_.find(column);
    if (it == widths_.end()) return std::nullopt;
    return it->second;
}

void Workbook::setValue(int row, int column, const QVariant& value) {
    if (body_.holds(row)) throw std::logic_error("a cell inside the body rows");
    cell(row, column).value = value;
}

void Workbook::setValue(int row, int column, const QVariant& value, const QString& numberFormat) {
    setValue(row, column, value);
    cell(row, column).style.numberFormat = numberFormat;
}

QVariant Workbook::value(int row, int column) const {
    if (body_.holds(row)) {
        if (column < 1 || column > body_.columns) return {};
        return body_.value(row - body_.firstRow, column);
    }
    const auto it = cells_.find(key(row, column));
    return it == cells_.end() ? QVariant() : it->second.value;
}

QString Workbook::text(int row, int column) const {
    if (body_.holds(row)) {
        const QString format = column >= 1 && column <= body_.columns
                                   ? body_.styles[size_t(column)].numberFormat
                                   : QString();
        return shown(value(row, column), format);
    }
    const auto it = cells_.find(key(row, column));
    if (it == cells_.end()) return {};
    return shown(it->second.value, it->second.style.numberFormat);
}

int Workbook::lastRow() const {
    const int last = cells_.empty() ? 0 : rowOf(cells_.rbegin()->first);
    return body_.rows > 0 ? std::max(last, body_.lastRow()) : last;
}

void Workbook::setBody(Body body) {
    for (int r = body.firstRow; r < body.firstRow + body.rows; ++r) {
        for (int c = 1; c <= body.columns; ++c) cells_.erase(key(r, c));
    }
    body.styles.resize(size_t(body.columns) + 1);
    body_ = std::move(body);
}

bool Workbook::touchesBody(const Range& range) const {
    if (body_.rows == 0 || range.bottom < body_.firstRow || range.top > body_.lastRow())
        return false;
    if (range.top > body_.firstRow || range.bottom < body_.lastRow())
        throw std::logic_error("a range over only some of the body rows");
    return true;
}

bool Workbook::isMerged(int row, int column) const {
    for (const Range& m : merges_) {
        if (m.top == row && column >= m.left && column <= m.right) return true;
    }
    return false;
}

std::map<int, double> Workbook::fittedWidths() const {
    std::map<int, double> widths = widths_;
    const auto widen = [&](int column, double needed) {
        const auto it = widths.find(column);
        const double now = it == widths.end() ? kDefaultWidth : it->second;
        if (needed > now) widths[column] = needed;
    };
    for (const auto& [k, cell] : cells_) {
        // A wrapping cell grows downwards, a merged one spans its neighbours, and a text runs
        // on over an empty neighbour (a title written into A1 alone).
        if (cell.style.wrap || isMerged(rowOf(k), columnOf(k))) continue;
        if (!isNumber(cell.value) && text(rowOf(k), columnOf(k) + 1).isEmpty()) continue;
        widen(columnOf(k), widthFor(cell.value, cell.style));
    }
    for (int c = 1; c <= body_.columns; ++c) {
        const Style& style = body_.styles[size_t(c)];
        if (style.wrap) continue;
        double needed = 0;
        for (int r = 0; r < body_.rows; ++r)
            needed = std::max(needed, widthFor(body_.value(r, c), style));
        widen(c, needed);
    }
    return widths;
}

}  // namespace cw
