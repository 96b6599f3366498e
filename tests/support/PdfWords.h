#pragma once

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <map>

namespace cw::test {

// How many times a right-aligned number prints whole under `header` in a PDF. Text read back
// from a PDF holds the whole string even where the page clips it at its cell's edge, so this
// judges by where the words stand (pdftotext -bbox): a number belongs to the column whose
// header (one of `headers`) is the last one centred left of its right end, and it fits that
// column when its own middle is not left of the header's (right-aligned inside the cell's
// padding, it reaches past the cell's left edge when its middle passes the cell's middle by
// more than the padding; the point allowed is less than a digit). -1 without pdftotext.
inline int printedWhole(const QString& pdf, const QStringList& headers, const QString& header,
                        const QString& number) {
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty()) return -1;
    QProcess p;
    p.start(tool, {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    p.waitForFinished(60000);
    static const QRegularExpression word(
        QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"[\\d.]+\" xMax=\"([\\d.]+)\" "
                       "yMax=\"[\\d.]+\">([^<]*)</word>"));
    int whole = 0;
    for (const QString& page : QString::fromUtf8(p.readAllStandardOutput()).split("<page")) {
        std::map<double, QString> middles;  // of the headers on this page
        std::vector<std::pair<double, double>> found;
        for (auto it = word.globalMatch(page); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            const double left = m.captured(1).toDouble(), right = m.captured(2).toDouble();
            if (headers.contains(m.captured(3)) && !middles.count((left + right) / 2))
                middles[(left + right) / 2] = m.captured(3);
            if (m.captured(3) == number) found.push_back({left, right});
        }
        for (const auto& [left, right] : found) {
            const auto column = middles.lower_bound(right);
            if (column == middles.begin() || std::prev(column)->second != header) continue;
            if ((left + right) / 2 >= std::prev(column)->first - 1.0) ++whole;
        }
    }
    return whole;
}

}  // namespace cw::test
