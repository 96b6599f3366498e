#include "reports/Workbook.h"

#include <QRegularExpression>
#include <stdexcept>

namespace cw {

namespace {

// Column letters to a number: "A" 1, "Z" 26, "AA" 27.
int columnNumber(const QString& letters) {
    int n = 0;
    for (const QChar c : letters) n = n * 26 + (c.unicode() - 'A' + 1);
    return n;
}

}  // namespace

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
    cell(row, column).style.wrap = wrap;
}

std::optional<double> Workbook::columnWidth(int column) const {
    const auto it = widths_.find(column);
    if (it == widths_.end()) return std::nullopt;
    return it->second;
}

void Workbook::setValue(int row, int column, const QVariant& value) {
    cell(row, column).value = value;
}

QVariant Workbook::value(int row, int column) const {
    const auto it = cells_.find(key(row, column));
    return it == cells_.end() ? QVariant() : it->second.value;
}

QString Workbook::text(int row, int column) const {
    const QVariant v = value(row, column);
    if (v.typeId() == QMetaType::Double) return QString::number(v.toDouble(), 'g', 15);
    return v.toString();
}

int Workbook::lastRow() const {
    return cells_.empty() ? 0 : rowOf(cells_.rbegin()->first);
}

}  // namespace cw
