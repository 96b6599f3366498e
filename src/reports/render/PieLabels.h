#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>

class QChart;
class QPieSeries;

namespace cw {

// Keeps the slice labels of a pie whole at whatever size the chart is shown or painted. The
// chart cuts a label to "…" where it would leave the plot area, so the pie shrinks to leave
// the widest label its room; where even a small pie leaves too little, the labels show the
// share alone ("20.93%"), the legend naming each slice in full.
class PieLabels : public QObject {
    Q_OBJECT

  public:
    static constexpr double kLargest = 0.7;  // of the plot area, the pie's usual size
    static constexpr double kSmallest = 0.35;

    // Becomes the chart's child; `shares` are the short labels, one per slice.
    PieLabels(QChart* chart, QPieSeries* series, const QStringList& labels,
              const QStringList& shares);

    // The pie size that leaves `labelWidth` pixels beside the pie in a plot `plotWidth` by
    // `plotHeight`; below kSmallest when no pie worth the name does.
    static double sizeFor(double plotWidth, double plotHeight, double labelWidth);

  private:
    void refit();
    double widest(const QStringList& texts) const;

    QChart* chart_;
    QPointer<QPieSeries> series_;
    QStringList labels_;
    QStringList shares_;
    bool short_ = false;
};

}  // namespace cw
