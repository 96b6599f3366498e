#pragma once

#include <QAbstractSeries>
#include <QCategoryAxis>
#include <QFont>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>

class QChart;
class QGraphicsSimpleTextItem;

namespace cw {

// Keeps the texts of a bar or line chart readable at whatever size the chart is shown or
// painted: the category axis shows its labels whole, as short dates ("26-01"), turned
// upright, onto a few lines or thinned, never cut to "…"; each bar or point carries its value in
// short form when there is room for it. It refits whenever the plot area changes, so the screen's
// chart and the saved picture of the same size read the same.
class ChartLabels : public QObject {
    Q_OBJECT

  public:
    struct Plan {
        QStringList texts;  // one per point; every step-th is shown
        int step = 1;
        bool turned = false;
        bool operator==(const Plan&) const = default;
    };

    // Becomes the chart's child; `axis` spans -0.5 … n-0.5 with point i at i.
    ChartLabels(QChart* chart, QCategoryAxis* axis, QAbstractSeries* series,
                const QStringList& labels, const QList<double>& values);

    // The axis texts for a plot `width` pixels wide in `font`, upright labels at most
    // `upright` pixels long. Names that do not fit go onto up to three lines ("<br>").
    static Plan plan(const QStringList& labels, double width, const QFont& font,
                     double upright = 1e9);
    // Months and days without the century ("2026-01" → "26-01", "2026-01-05" → "26-01-05")
    // when every label is one and they stay distinct; otherwise the labels as they are.
    static QStringList shortForms(const QStringList& labels);
    static QFont valueFont();

    const Plan& current() const { return plan_; }
    // The value texts drawn over the points (hidden ones included).
    QList<QGraphicsSimpleTextItem*> valueItems() const { return values_; }

  private:
    void refit();
    void applyPlan(const Plan& plan);
    void placeValues();

    // The chart owns the axis and the series and may drop them before its children go.
    QChart* chart_;
    QPointer<QCategoryAxis> axis_;
    QPointer<QAbstractSeries> series_;
    QStringList labels_;
    QList<double> numbers_;
    QList<QGraphicsSimpleTextItem*> values_;
    Plan plan_;
};

}  // namespace cw
