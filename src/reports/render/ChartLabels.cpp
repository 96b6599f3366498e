#include "reports/render/ChartLabels.h"

#include <QAbstractSeries>
#include <QCategoryAxis>
#include <QChart>
#include <QFontMetricsF>
#include <QGraphicsSimpleTextItem>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>

#include "reports/ChartScale.h"

namespace cw {

namespace {

// The axis keeps this much free on either side of a label and cuts a label to "…" when the
// label is wider than its share of the axis; a few pixels more stay spare for rounding.
constexpr double kLabelPadding = 4;
constexpr double kSpare = 4;
// The share of the chart's height an upright label may take before the axis cuts it.
constexpr double kUprightShare = 0.25;

double widest(const QFontMetricsF& fm, const QStringList& texts) {
    double w = 0;
    for (const QString& t : texts) w = std::max(w, fm.horizontalAdvance(t));
    return w + kSpare;
}

// The width each of `shown` labels may take on an axis `width` pixels long.
double room(double width, int shown) {
    return width / (shown + 1) - 2 * kLabelPadding;
}

// A name no wider than `width` on each of at most kMaxLines lines (the axis reads "<br>" as a
// line break), broken after a blank where the line has one, else between any two characters;
// empty when it needs more lines.
constexpr int kMaxLines = 3;

QString wrapped(const QString& label, const QFontMetricsF& fm, double width) {
    QStringList lines;
    QString line;
    for (const QChar c : label) {
        if (!line.isEmpty() && fm.horizontalAdvance(line + c) > width) {
            const qsizetype blank = line.lastIndexOf(QLatin1Char(' '));
            const qsizetype cut = blank > 0 ? blank + 1 : line.size();
            lines << line.left(cut).trimmed();
            line = line.mid(cut);
        }
        line += c;
    }
    lines << line.trimmed();
    if (lines.size() > kMaxLines) return {};
    for (QString& l : lines) l = l.toHtmlEscaped();
    return lines.join(QStringLiteral("<br>"));
}

// Every label wrapped into `width`, or empty when one of them does not go.
QStringList wrappedAll(const QStringList& labels, const QFontMetricsF& fm, double width) {
    QStringList out;
    for (const QString& l : labels) {
        const QString w = wrapped(l, fm, width - kSpare);
        if (w.isEmpty()) return {};
        out << w;
    }
    return out;
}

}  // namespace

ChartLabels::ChartLabels(QChart* chart, QCategoryAxis* axis, QAbstractSeries* series,
                         const QStringList& labels, const QList<double>& values)
    : QObject(chart),
      chart_(chart),
      axis_(axis),
      series_(series),
      labels_(labels),
      numbers_(values) {
    for (double v : values) {
        auto* item = new QGraphicsSimpleTextItem(ChartScale::shortAmount(v), chart);
        item->setFont(valueFont());
        item->setBrush(QColor(0x33, 0x33, 0x33));
        item->setZValue(100);  // over the bars and the line
        item->setVisible(false);
        values_ << item;
    }
    // A first guess until the chart is laid out at its size.
    applyPlan(plan(labels_, 800, axis_->labelsFont()));
    connect(chart, &QChart::plotAreaChanged, this, &ChartLabels::refit);
}

QFont ChartLabels::valueFont() {
    QFont f;
    f.setPointSize(8);
    return f;
}

ChartLabels::Plan ChartLabels::plan(const QStringList& labels, double width, const QFont& font,
                                    double upright) {
    const int n = int(labels.size());
    if (n == 0) return {};
    const QFontMetricsF fm(font);
    const QStringList shorter = shortForms(labels);
    if (widest(fm, labels) <= room(width, n)) return {labels, 1, false};
    if (widest(fm, shorter) <= room(width, n)) return {shorter, 1, false};
    // Names (not dates) go onto a few lines under their points.
    const bool names = shorter == labels;
    if (names) {
        if (QStringList w = wrappedAll(labels, fm, room(width, n)); !w.isEmpty()) return {w, 1};
    }
    // Upright, a label takes only its line height across; thin them until that fits. The
    // axis cuts an upright label longer than its height allows.
    if (widest(fm, shorter) <= upright) {
        Plan p{shorter, 1, true};
        const double across = fm.height() + kSpare;
        while (p.step < n && across > room(width, (n + p.step - 1) / p.step)) ++p.step;
        return p;
    }
    // Too long either way: every few names, each on its lines.
    for (int step = 2; step < n; ++step) {
        QStringList w = wrappedAll(labels, fm, room(width, (n + step - 1) / step));
        if (!w.isEmpty()) return {w, step};
    }
    return {wrappedAll(labels, fm, room(width, 1)), n};
}

QStringList ChartLabels::shortForms(const QStringList& labels) {
    static const QRegularExpression date(QStringLiteral("^\\d{4}-\\d{2}(-\\d{2})?$"));
    QStringList out;
    for (const QString& l : labels) {
        if (!date.match(l).hasMatch()) return labels;
        out << l.mid(2);
    }
    // 1926-05 and 2026-05 would both read 26-05.
    if (QSet<QString>(out.begin(), out.end()).size() != out.size()) return labels;
    return out;
}

void ChartLabels::refit() {
    // Before the chart has a size (a view not yet shown) there is nothing to fit to.
    if (!axis_ || !series_ || chart_->plotArea().isEmpty()) return;
    const Plan next = plan(labels_, chart_->plotArea().width(), axis_->labelsFont(),
                           chart_->size().height() * kUprightShare);
    // Changing the labels lays the chart out again; the same width gives the same plan, so
    // this settles after one round.
    if (!(next == plan_)) applyPlan(next);
    placeValues();
}

void ChartLabels::applyPlan(const Plan& p) {
    plan_ = p;
    for (const QString& l : axis_->categoriesLabels()) axis_->remove(l);
    axis_->setStartValue(0);
    for (int i = 0; i < p.texts.size(); i += p.step) axis_->append(p.texts[i], i);
    axis_->setLabelsAngle(p.turned ? -90 : 0);
}

void ChartLabels::placeValues() {
    const QRectF plot = chart_->plotArea();
    const int n = int(values_.size());
    if (n == 0 || plot.isEmpty()) return;
    const double slot = plot.width() / n;
    double wide = 0;
    for (const QGraphicsSimpleTextItem* item : values_) {
        wide = std::max(wide, item->boundingRect().width());
    }
    const double tall = QFontMetricsF(valueFont()).height();
    // Flat when the widest value fits over its bar, upright when its height does; with no
    // room either way the values show on hover only.
    const bool flat = wide + kSpare <= slot;
    const bool shown = flat || tall + kSpare / 2 <= slot;
    constexpr double gap = 3;
    for (int i = 0; i < n; ++i) {
        QGraphicsSimpleTextItem* item = values_[i];
        item->setVisible(shown);
        if (!shown) continue;
        const QPointF at = chart_->mapToPosition(QPointF(i, numbers_[i]), series_);
        const QRectF box = item->boundingRect();
        const bool below = numbers_[i] < 0;
        item->setRotation(flat ? 0 : -90);
        if (flat) {
            item->setPos(at.x() - box.width() / 2,
                         below ? at.y() + gap : at.y() - box.height() - gap);
        } else {
            // Turned a quarter left about its top-left corner, the text runs upwards from
            // its position.
            item->setPos(at.x() - box.height() / 2,
                         below ? at.y() + gap + box.width() : at.y() - gap);
        }
    }
}

}  // namespace cw
