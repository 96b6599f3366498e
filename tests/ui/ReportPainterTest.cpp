#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "reports/PrintLayout.h"
#include "reports/render/ReportPainter.h"
#include "support/FieldKinds.h"
#include "support/PdfWords.h"

using namespace cw;
using cw::test::kindOf;

namespace {

const QString kBook = QStringLiteral("我家");

// The layout's columns with the kinds its report gives them. What the paper sums is the
// layout's to say, not the table's: no column is marked summed here.
ReportTable tableFor(const PrintLayout& layout) {
    std::vector<ReportColumn> columns;
    for (const PrintLayout::Column& c : layout.columns)
        columns.push_back({c.field, c.header, kindOf(c.field), c.widthMm});
    return ReportTable(columns);
}

// One row: every amount `amount`, every count `count`, the remark or note `text`.
void addRow(ReportTable& t, qint64 id, double amount, qint64 count, const QString& text) {
    t.addRow(test::sampleRow(t, amount, count,
                             [&](Field f) {
                                 return f == Field::Remark || f == Field::Detail
                                            ? text
                                            : QStringLiteral("文字");
                             }),
             id);
}

// The report as a PDF, read back in the order it was painted, one string per page.
QStringList printed(const ReportPainter& painter) {
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty()) return {};
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("report.pdf"));
    if (!painter.writePdf(path, QString())) return {QStringLiteral("not written")};
    QProcess p;
    p.start(tool, {QStringLiteral("-raw"), path, QStringLiteral("-")});
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput())
        .split(QLatin1Char('\f'), Qt::SkipEmptyParts);
}

QString squeezed(const QStringList& pages) {
    return pages.join(QString()).remove(QRegularExpression(QStringLiteral("\\s")));
}

// Each page's "本页合计 n" and its first sum, added up over the report.
std::pair<int, double> pageFooters(const QStringList& pages) {
    static const QRegularExpression foot(QStringLiteral("本页合计 (\\d+)\\s+([-\\d,.]+)"));
    int rows = 0;
    double sum = 0;
    for (const QString& page : pages) {
        const QRegularExpressionMatch m = foot.match(page);
        if (!m.hasMatch()) return {-1, 0};
        rows += m.captured(1).toInt();
        sum += m.captured(2).remove(QLatin1Char(',')).toDouble();
    }
    return {rows, sum};
}

}  // namespace

class ReportPainterTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void numbersPrintWhole_data();
    void numbersPrintWhole();
    void tallRowsContinue_data();
    void tallRowsContinue();
};

void ReportPainterTest::initTestCase() {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
}

void ReportPainterTest::numbersPrintWhole_data() {
    QTest::addColumn<QString>("layout");
    for (const PrintLayout& l : PrintLayout::all()) QTest::newRow(qPrintable(l.name)) << l.name;
}

// The largest amounts a posting holds, in every money column, with totals of 13 digits: every
// number in the cells, the page sums and the totals prints whole, never cut at its column's
// edge.
void ReportPainterTest::numbersPrintWhole() {
    QFETCH(QString, layout);
    const PrintLayout& l = PrintLayout::named(layout);
    ReportTable t = tableFor(l);
    addRow(t, 1234567, 999999999999.99, 123456789, QStringLiteral("备注"));
    addRow(t, 1234568, 123456789012.99, 987654321, QStringLiteral("备注"));
    addRow(t, 1234569, -999999999.99, 1, QStringLiteral("备注"));
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
    QVERIFY(ReportPainter(l, t, kBook, QDateTime::currentDateTime()).writePdf(pdf, QString()));
    QStringList headers{QStringLiteral("序号")};
    for (const PrintLayout::Column& c : l.columns) headers << c.header;
    const auto whole = [&](const QString& header, const QString& number, int times) {
        const int n = test::printedWhole(pdf, headers, header, number);
        QVERIFY2(
            n == times,
            qPrintable(
                QStringLiteral("%1 %2: %3 of %4 whole").arg(header, number).arg(n).arg(times)));
    };
    for (int r = 0; r < t.rowCount(); ++r) whole(headers[0], QString::number(t.rowId(r)), 1);
    for (size_t i = 0; i < l.columns.size(); ++i) {
        const int c = t.requireColumn(l.columns[i].field);
        // The ratio of the monthly report has no header to find its column by.
        if (!ReportTable::isNumeric(t.column(c).kind) || l.columns[i].header.isEmpty()) continue;
        for (int r = 0; r < t.rowCount(); ++r) whole(l.columns[i].header, t.displayText(r, c), 1);
        // Once under the page's rows, once under the whole report.
        const bool summed = std::count(l.summed.begin(), l.summed.end(), l.columns[i].field);
        if (l.footers && summed)
            whole(l.columns[i].header, ReportTable::display(t.total(c), t.column(c).kind), 2);
    }
}

void ReportPainterTest::tallRowsContinue_data() {
    QTest::addColumn<QString>("layout");
    QTest::newRow("remark") << QStringLiteral("Print/theSR.rf3");
    QTest::newRow("note") << QStringLiteral("Print/theJS.rf3");
}

// A row taller than a page goes on over the next pages, none of its lines lost or printed
// twice; the rows around it keep their places, and it counts once in the page sums.
void ReportPainterTest::tallRowsContinue() {
    QFETCH(QString, layout);
    const PrintLayout& l = PrintLayout::named(layout);
    QString tall;
    for (int i = 1; i <= 300; ++i)
        tall += QStringLiteral("第%1段按时记账。").arg(i, 3, 10, QLatin1Char('0'));
    tall += QStringLiteral("全文完");
    ReportTable t = tableFor(l);
    addRow(t, 1, 1, 1, QStringLiteral("前一行"));
    addRow(t, 2, 2, 1, tall);
    addRow(t, 3, 3, 1, QStringLiteral("后一行"));
    const QStringList pages = printed(ReportPainter(l, t, kBook, QDateTime::currentDateTime()));
    QVERIFY2(pages.size() >= 3, qPrintable(pages.join(QString())));
    const QString text = squeezed(pages);
    QCOMPARE(text.count(QStringLiteral("段")), 300);
    for (const char* part : {"前一行", "第001段", "全文完", "后一行"})
        QVERIFY2(text.contains(QString::fromUtf8(part)), part);
    QVERIFY(text.indexOf(QStringLiteral("前一行")) < text.indexOf(QStringLiteral("第001段")));
    QVERIFY(text.indexOf(QStringLiteral("全文完")) < text.indexOf(QStringLiteral("后一行")));
    if (!l.footers) return;
    QCOMPARE(pageFooters(pages), std::make_pair(3, 6.0));
    QVERIFY(pages.back().contains(QStringLiteral("合计 3")));
}

QTEST_MAIN(ReportPainterTest)
#include "ReportPainterTest.moc"
