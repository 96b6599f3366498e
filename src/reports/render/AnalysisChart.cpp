#include "reports/render/AnalysisChart.h"

#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QCoreApplication>
#include <QGraphicsScene>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPainter>
#include <QPieSeries>
#include <QPieSlice>
#include <cmath>

#include "reports/ChartScale.h"
#include "reports/ReportTable.h"
#include "reports/render/ChartLabels.h"
#include "reports/render/PieLabels.h"
#include "storage/Money.h"
#include "storage/OutputFile.h"

namespace cw {

namespace {

// Slices below this share carry no label of their own (their value shows on hover).
constexpr double kLabelledShare = 0.03;
constexpr int kMaxLegendSlices = 16;

QFont titleFont() {
    QFont f;
    f.setPointSize(14);
    f.setBold(true);
    return f;
}

// The horizontal axis of the bar and line charts: one position per point; ChartLabels
// decides which texts it shows at the chart's size.
QCategoryAxis* categoryAxis(int count) {
    auto* axis = new QCategoryAxis;
    axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    axis->setRange(-0.5, std::max(0.5, count - 0.5));
    axis->setGridLineVisible(false);
    return axis;
}

// The vertical axis: round steps written for a reader ("5,000万", "1.5亿"), not printf's
// 150000000.
QCategoryAxis* valueAxis(const QList<double>& values) {
    const ChartScale scale = ChartScale::of(values);
    auto* axis = new QCategoryAxis;
    axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    axis->setRange(scale.low(), scale.high());
    axis->setStartValue(scale.low());
    for (double tick : scale.ticks()) axis->append(scale.tickLabel(tick), tick);
    return axis;
}

QString seriesName(bool income) {
    return income ? QStringLiteral("收入金额") : QStringLiteral("支出金额");
}

}  // namespace

AnalysisChart::Points AnalysisChart::points(const ReportTable& table, const QString& title,
                                            bool income) {
    Points p{title, {}, {}, income};
    if (!table.hasColumn(Field::Item) || !table.hasColumn(Field::Amount)) return p;
    for (int r = 0; r < table.rowCount(); ++r) {
        p.labels << table.text(r, Field::Item);
        p.values << table.number(r, Field::Amount);
    }
    return p;
}

QColor AnalysisChart::colour(bool income) {
    return income ? QColor(0x2e, 0x8b, 0x57) : QColor(0xc0, 0x39, 0x2b);
}

QColor AnalysisChart::sliceColour(bool income, int index) {
    // Hues around the side's colour (greens to teals, reds to oranges), lightness stepping
    // so neighbours differ.
    const int base = income ? 150 : 5;
    const int hue = (base + (index * 23) % 70 - 35 + 360) % 360;
    const int lightness = 80 + (index * 37) % 100;
    return QColor::fromHsl(hue, 170, lightness);
}

QString AnalysisChart::sliceLabel(const QString& label, double value, double total) {
    const double share = total == 0 ? 0 : value * 100.0 / total;
    return label + QLatin1Char(' ') + QString::number(share, 'f', 2) + QLatin1Char('%');
}

QStringList AnalysisChart::tabCaptions() {
    return {QStringLiteral("柱图"), QStringLiteral("折线图"), QStringLiteral("饼图")};
}

bool AnalysisChart::kindFromWord(const QString& word, Kind* kind) {
    static const QStringList words{QStringLiteral("bar"), QStringLiteral("line"),
                                   QStringLiteral("pie")};
    const qsizetype i = words.indexOf(word);
    if (i < 0) return false;
    *kind = Kind(i);
    return true;
}

QChart* AnalysisChart::make(Kind kind, const Points& p) {
    auto* chart = new QChart;
    chart->setTitle(p.title);
    chart->setTitleFont(titleFont());
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->legend()->setAlignment(Qt::AlignBottom);
    const QColor colour = AnalysisChart::colour(p.income);

    if (kind == Kind::Pie) {
        auto* series = new QPieSeries;
        double total = 0;
        for (double v : p.values) total += std::abs(v);
        QStringList labels, shares;
        for (int i = 0; i < p.labels.size(); ++i) {
            // A pie cannot show a negative share; it shows its size.
            const double v = std::abs(p.values[i]);
            labels << sliceLabel(p.labels[i], v, total);
            shares << sliceLabel(QString(), v, total).mid(1);
            auto* slice = series->append(labels.last(), v);
            slice->setColor(sliceColour(p.income, i));
            slice->setBorderColor(Qt::white);
            if (p.labels.size() > 60) slice->setBorderWidth(0);
            slice->setLabelVisible(total > 0 && v / total >= kLabelledShare);
        }
        series->setPieSize(PieLabels::kLargest);
        chart->addSeries(series);
        chart->legend()->setAlignment(Qt::AlignRight);
        chart->legend()->setVisible(p.labels.size() <= kMaxLegendSlices);
        new PieLabels(chart, series, labels, shares);  // the chart owns it
        return chart;
    }

    auto* x = categoryAxis(int(p.labels.size()));
    auto* y = valueAxis(p.values);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    if (kind == Kind::Bar) {
        auto* set = new QBarSet(seriesName(p.income));
        for (double v : p.values) *set << v;
        set->setColor(colour);
        set->setBorderColor(colour.darker(120));
        auto* series = new QBarSeries;
        series->append(set);
        series->setBarWidth(0.7);
        chart->addSeries(series);
        series->attachAxis(x);
        series->attachAxis(y);
        new ChartLabels(chart, x, series, p.labels, p.values);  // the chart owns it
    } else {
        auto* series = new QLineSeries;
        series->setName(seriesName(p.income));
        for (int i = 0; i < p.values.size(); ++i) series->append(i, p.values[i]);
        QPen pen(colour);
        pen.setWidth(2);
        series->setPen(pen);
        series->setPointsVisible(p.values.size() <= 60);
        chart->addSeries(series);
        series->attachAxis(x);
        series->attachAxis(y);
        new ChartLabels(chart, x, series, p.labels, p.values);  // the chart owns it
    }
    return chart;
}

QChart* AnalysisChart::laidOut(QGraphicsScene& scene, Kind kind, const Points& points, QSize size) {
    QChart* chart = make(kind, points);
    scene.addItem(chart);  // the scene owns it from here
    chart->setGeometry(QRectF(QPointF(0, 0), size));
    // Let the chart lay out its axes and legend before it is painted; fitting the labels to
    // the size lays it out once more.
    for (int round = 0; round < 3; ++round) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
    return chart;
}

QImage AnalysisChart::image(Kind kind, const Points& points, QSize size) {
    QGraphicsScene scene;
    laidOut(scene, kind, points, size);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    scene.render(&painter, QRectF(QPointF(0, 0), size), QRectF(QPointF(0, 0), size));
    painter.end();
    return image;
}

bool AnalysisChart::writePng(Kind kind, const Points& points, const QString& path,
                             const QString& dataFile, QString* error, QSize size) {
    const QImage img = image(kind, points, size);
    return OutputFile::write(
        path, dataFile, [&img](QIODevice& device) { return img.save(&device, "PNG"); }, error);
}

}  // namespace cw
