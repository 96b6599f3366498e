#include "reports/render/PieLabels.h"

#include <QChart>
#include <QFontMetricsF>
#include <QLegend>
#include <QLegendMarker>
#include <QPieSeries>
#include <QPieSlice>
#include <algorithm>
#include <cmath>

namespace cw {

namespace {

// A label stands beyond the pie's edge by its arm (a share of the radius) and a few pixels.
constexpr double kArm = 0.3;
constexpr double kPadding = 12;
// A plot smaller than this is a chart still waiting for its size.
constexpr double kMinPlot = 160;

}  // namespace

PieLabels::PieLabels(QChart* chart, QPieSeries* series, const QStringList& labels,
                     const QStringList& shares)
    : QObject(chart), chart_(chart), series_(series), labels_(labels), shares_(shares) {
    connect(chart, &QChart::plotAreaChanged, this, &PieLabels::refit);
}

double PieLabels::sizeFor(double plotWidth, double plotHeight, double labelWidth) {
    const double across = std::min(plotWidth, plotHeight);
    if (across <= 0) return 0;
    // radius × (1 + arm) + label + padding on each side of the centre.
    const double radius = (plotWidth / 2 - labelWidth - kPadding) / (1 + kArm);
    return std::min(kLargest, 2 * radius / across);
}

double PieLabels::widest(const QStringList& texts) const {
    double w = 0;
    const QList<QPieSlice*> slices = series_->slices();
    for (int i = 0; i < slices.size() && i < texts.size(); ++i) {
        if (!slices[i]->isLabelVisible()) continue;
        w = std::max(w, QFontMetricsF(slices[i]->labelFont()).horizontalAdvance(texts[i]));
    }
    return w;
}

void PieLabels::refit() {
    // Before the chart has its size (a view not yet shown) there is nothing to fit to.
    const QRectF plot = chart_->plotArea();
    if (!series_ || plot.width() < kMinPlot || plot.height() < kMinPlot) return;
    double size = sizeFor(plot.width(), plot.height(), widest(labels_));
    const bool shortened = size < kSmallest;
    if (shortened) size = sizeFor(plot.width(), plot.height(), widest(shares_));
    size = std::clamp(size, 0.1, kLargest);
    if (shortened != short_) {
        short_ = shortened;
        const QList<QPieSlice*> slices = series_->slices();
        for (int i = 0; i < slices.size() && i < labels_.size(); ++i)
            slices[i]->setLabel(shortened ? shares_[i] : labels_[i]);
        // The legend takes a slice's label; it keeps the name in full.
        const QList<QLegendMarker*> markers = chart_->legend()->markers(series_);
        for (int i = 0; i < markers.size() && i < labels_.size(); ++i)
            markers[i]->setLabel(labels_[i]);
    }
    // The same plot area gives the same size, so this settles after one round.
    if (std::abs(series_->pieSize() - size) > 0.005) series_->setPieSize(size);
}

}  // namespace cw
