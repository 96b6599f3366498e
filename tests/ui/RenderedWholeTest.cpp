#include <QChart>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QGraphicsTextItem>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "reports/PrintLayout.h"
#include "reports/render/AnalysisChart.h"
#include "reports/render/ReportPainter.h"
#include "support/FieldKinds.h"
#include "support/PdfWords.h"

using namespace cw;
using cw::test::kindOf;

namespace {

// Every printed layout and every chart kind, rendered offscreen at fixed sizes with the
// longest texts a book holds: what the user reads on paper or in the picture is whole: no
// number cut at its column's edge, no remark or note cut short, no label ending in "…".

const QString kRemark = QStringLiteral(
    "暑期家教课时费，按照每小时五十元计算，共计二十个小时，由张老师代收后转入工商银行卡，"
    "另附交通补贴两次，合计一千一百元，已于月底入账。");
const QString kTitle = QStringLiteral("年度家庭旅行计划与预算安排及各项注意事项");

QString longText(Field field) {
    return field == Field::Title ? kTitle : kRemark;
}

ReportTable tableFor(const PrintLayout& layout) {
    std::vector<ReportColumn> columns;
    for (const PrintLayout::Column& c : layout.columns)
        columns.push_back({c.field, c.header, kindOf(c.field), c.widthMm});
    ReportTable t(columns);
    for (qint64 id : {1234567, 1234568})
        t.addRow(test::sampleRow(t, 999999999999.99, 987654321, longText), id);
    return t;
}

QString squeezedPdfText(const QString& pdf) {
    QProcess p;
    p.start(QStandardPaths::findExecutable(QStringLiteral("pdftotext")),
            {QStringLiteral("-raw"), pdf, QStringLiteral("-")});
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput())
        .remove(QRegularExpression(QStringLiteral("\\s")));
}

void checkPrint(const QString& name) {
    const PrintLayout& l = PrintLayout::named(name);
    const ReportTable t = tableFor(l);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
    QVERIFY(ReportPainter(l, t, QStringLiteral("我家"), QDateTime::currentDateTime())
                .writePdf(pdf, QString()));
    const QString text = squeezedPdfText(pdf);
    QStringList headers{QStringLiteral("序号")};
    for (const PrintLayout::Column& c : l.columns) headers << c.header;
    for (size_t i = 0; i < l.columns.size(); ++i) {
        const PrintLayout::Column& c = l.columns[i];
        const int column = t.requireColumn(c.field);
        if (c.wrap) {
            // Both rows' texts, every character.
            QCOMPARE(text.count(longText(c.field)), 2);
        } else if (t.column(column).kind == ColumnKind::Money && !c.header.isEmpty()) {
            const int whole = test::printedWhole(pdf, headers, c.header, t.displayText(0, column));
            QVERIFY2(whole == 2, qPrintable(c.header));
        }
    }
}

// Each category name of a year's expense, short and long, Latin and CJK.
AnalysisChart::Points names() {
    AnalysisChart::Points p{QStringLiteral("支出分析"), {}, {}, false};
    const char* items[] = {"餐饮",
                           "子女教育课外辅导班学费",
                           "房贷月供及物业管理费",
                           "交通",
                           "Netflix 年度会员订阅",
                           "医疗保健与体检",
                           "人情往来礼金",
                           "服装鞋帽",
                           "水电燃气",
                           "宠物食品与疫苗",
                           "旅游度假机票酒店",
                           "其他"};
    double v = 1234567.89;
    for (const char* item : items) {
        p.labels << QString::fromUtf8(item);
        p.values << v;
        v *= 0.71;
    }
    return p;
}

QStringList shownTexts(const QGraphicsScene& scene) {
    QStringList out;
    for (const QGraphicsItem* item : scene.items()) {
        if (!item->isVisible()) continue;
        if (const auto* t = dynamic_cast<const QGraphicsTextItem*>(item)) out << t->toPlainText();
        if (const auto* t = dynamic_cast<const QGraphicsSimpleTextItem*>(item)) out << t->text();
    }
    return out;
}

void checkChart(AnalysisChart::Kind kind, QSize size) {
    const AnalysisChart::Points points = names();
    QGraphicsScene scene;
    AnalysisChart::laidOut(scene, kind, points, size);
    const QStringList texts = shownTexts(scene);
    for (const QString& t : texts) {
        QVERIFY2(!t.contains(QChar(0x2026)) && !t.contains(QLatin1String("...")),
                 qPrintable(texts.join(QLatin1Char('|'))));
    }
    QVERIFY(texts.contains(points.title));
    // The largest item is named whole wherever the chart names its items.
    const bool named = std::any_of(texts.begin(), texts.end(), [&](const QString& t) {
        return t == points.labels[0] || t.startsWith(points.labels[0] + QLatin1Char(' '));
    });
    QVERIFY2(named, qPrintable(texts.join(QLatin1Char('|'))));
}

}  // namespace

class RenderedWholeTest : public QObject {
    Q_OBJECT

  private slots:
    void everyPictureReadsWhole_data();
    void everyPictureReadsWhole();
};

void RenderedWholeTest::everyPictureReadsWhole_data() {
    QTest::addColumn<QString>("layout");  // a print layout, or empty for a chart
    QTest::addColumn<int>("chart");
    QTest::addColumn<QSize>("size");
    for (const PrintLayout& l : PrintLayout::all())
        QTest::newRow(qPrintable(l.name)) << l.name << -1 << QSize();
    const std::pair<const char*, AnalysisChart::Kind> kinds[] = {
        {"bar", AnalysisChart::Kind::Bar},
        {"line", AnalysisChart::Kind::Line},
        {"pie", AnalysisChart::Kind::Pie}};
    for (const auto& [word, kind] : kinds) {
        for (const QSize size : {AnalysisChart::pngSize(), QSize(640, 420)}) {
            const QString row = QStringLiteral("%1 %2x%3")
                                    .arg(QString::fromLatin1(word))
                                    .arg(size.width())
                                    .arg(size.height());
            QTest::newRow(qPrintable(row)) << QString() << int(kind) << size;
        }
    }
}

void RenderedWholeTest::everyPictureReadsWhole() {
    QFETCH(QString, layout);
    QFETCH(int, chart);
    QFETCH(QSize, size);
    if (!layout.isEmpty()) {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        checkPrint(layout);
    } else {
        checkChart(AnalysisChart::Kind(chart), size);
    }
}

QTEST_MAIN(RenderedWholeTest)
#include "RenderedWholeTest.moc"
