#include "reports/render/ReportPainter.h"

#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QTextLayout>

#include "reports/ProductInfo.h"
#include "storage/OutputFile.h"

namespace cw {

namespace {

constexpr double kMarginMm = 10;
constexpr double kPaddingMm = 1.2;
constexpr double kRuleMm = 0.2;
constexpr double kAddressMm = 4.5;  // the web address line under the page footer's rule

QFont font(double points, bool bold = false) {
    QFont f(ReportPainter::fontFamily());
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

bool isNumeric(ColumnKind kind) {
    return ReportTable::isNumeric(kind);
}

// A cell's text broken into lines of at most widthPx, between words where it can and inside
// a word where it must; the text's own line breaks are kept. Measuring and painting use the
// same lines, so a row is exactly as high as its text.
class WrappedText {
  public:
    WrappedText(const QString& text, const QFont& font, QPaintDevice* device, double widthPx)
        : layout_(lines(text), font, device) {
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout_.setTextOption(option);
        layout_.beginLayout();
        for (QTextLine line = layout_.createLine(); line.isValid(); line = layout_.createLine()) {
            line.setLineWidth(widthPx);
            line.setPosition(QPointF(0, height_));
            height_ += line.height();
        }
        layout_.endLayout();
    }

    double height() const { return height_; }
    void draw(QPainter& p, const QPointF& at, const QRectF& clip) const {
        p.save();
        p.setClipRect(clip);
        layout_.draw(&p, at);
        p.restore();
    }

  private:
    static QString lines(QString text) {
        text.remove(QLatin1Char('\r'));
        text.replace(QLatin1Char('\n'), QChar::LineSeparator);
        return text;
    }

    QTextLayout layout_;
    double height_ = 0;
};

}  // namespace

// Where everything goes on the device, in millimetres from the top left of the area inside
// the margins; px() turns millimetres into device units.
struct ReportPainter::Geometry {
    double pxPerMm = 1;
    double widthMm = 0;
    BandMetrics bands;
    double left = 0;                // the table's left edge (the table is centred)
    std::vector<double> x;          // left edge of each column, 序号 first; back() = right edge
    std::vector<ColumnKind> kinds;  // per column, 序号 first
    std::vector<double> rowMm;      // each report row's height; taller than bands.rowMm
                                    // where a wrapping column's text takes several lines

    double px(double mm) const { return mm * pxPerMm; }
    QRectF rect(double x0, double y, double x1, double h) const {
        return QRectF(px(x0), px(y), px(x1 - x0), px(h));
    }
    double right() const { return x.back(); }
};

ReportPainter::ReportPainter(const PrintLayout& layout, const ReportTable& table,
                             const QString& book, const QDateTime& printedAt)
    : layout_(layout), table_(table), book_(book), printedAt_(printedAt) {
    for (const PrintLayout::Column& c : layout_.columns) {
        columns_.push_back(table_.requireColumn(c.field));
        int at = -1;
        for (size_t k = 0; k < layout_.summed.size(); ++k) {
            if (layout_.summed[k] == c.field) at = int(k);
        }
        summedAt_.push_back(at);
    }
}

QPageLayout ReportPainter::pageLayout() const {
    return QPageLayout(QPageSize(QPageSize::A4),
                       layout_.landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm),
                       QPageLayout::Millimeter);
}

void ReportPainter::measureRows(QPainter& p, Geometry& g) const {
    const QFontMetricsF metrics(p.font(), p.device());
    const double pad = g.px(kPaddingMm);
    // The first line sits where a one-line row would centre it; further lines add their
    // height below.
    const double extra = g.px(g.bands.rowMm) - metrics.height();
    std::vector<int> wrapping;
    for (size_t i = 0; i < layout_.columns.size(); ++i) {
        if (layout_.columns[i].wrap) wrapping.push_back(int(i));
    }
    g.rowMm.assign(size_t(table_.rowCount()), g.bands.rowMm);
    if (wrapping.empty()) return;
    for (int r = 0; r < table_.rowCount(); ++r) {
        for (int i : wrapping) {
            const double width = g.px(g.x[size_t(i) + 2] - g.x[size_t(i) + 1]) - 2 * pad;
            const WrappedText text(table_.displayText(r, columns_[size_t(i)]), p.font(), p.device(),
                                   width);
            g.rowMm[size_t(r)] = std::max(g.rowMm[size_t(r)], (text.height() + extra) / g.pxPerMm);
        }
    }
}

int ReportPainter::paint(QPagedPaintDevice* device) const {
    QPainter p(device);
    if (!p.isActive()) return 0;
    Geometry g;
    g.pxPerMm = device->logicalDpiY() / 25.4;
    g.widthMm = device->width() / g.pxPerMm;
    g.bands.pageHeightMm = device->height() / g.pxPerMm;
    g.bands.pageFooterMm += kAddressMm;

    double tableWidth = PrintLayout::kIdWidthMm;
    for (const PrintLayout::Column& c : layout_.columns) tableWidth += c.widthMm;
    g.left = std::max(0.0, (g.widthMm - tableWidth) / 2);
    g.x.push_back(g.left);
    g.kinds.push_back(ColumnKind::Count);
    double at = g.left + PrintLayout::kIdWidthMm;
    g.x.push_back(at);
    for (size_t i = 0; i < layout_.columns.size(); ++i) {
        at += layout_.columns[i].widthMm;
        g.x.push_back(at);
        g.kinds.push_back(table_.column(columns_[i]).kind);
    }

    p.setFont(font(10));
    measureRows(p, g);
    const Pagination pages = Pagination::paginate(table_, layout_, g.bands, g.rowMm);
    QPen pen(Qt::black);
    pen.setWidthF(g.px(kRuleMm));
    p.setPen(pen);
    for (size_t i = 0; i < pages.pages.size(); ++i) {
        if (i > 0) device->newPage();
        paintPage(p, g, pages, int(i));
    }
    return int(pages.pages.size());
}

void ReportPainter::paintPage(QPainter& p, const Geometry& g, const Pagination& pages,
                              int index) const {
    const Pagination::Page& page = pages.pages[size_t(index)];
    const BandMetrics& b = g.bands;
    double y = 0;

    p.setFont(font(14, true));
    p.drawText(g.rect(0, y, g.widthMm, b.titleMm), Qt::AlignCenter, title());
    y += b.titleMm;

    p.setFont(font(10));
    const QRectF info = g.rect(g.left, y, g.right(), b.infoMm);
    p.drawText(info, Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("页数 ") + QString::number(index + 1));
    p.drawText(info, Qt::AlignRight | Qt::AlignVCenter,
               printedAt_.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    y += b.infoMm;

    const int cells = int(g.x.size()) - 1;
    for (int c = 0; c < cells; ++c) {
        const QRectF r = g.rect(g.x[size_t(c)], y, g.x[size_t(c) + 1], b.headerMm);
        p.drawRect(r);
        const QString header =
            c == 0 ? QStringLiteral("序号") : layout_.columns[size_t(c) - 1].header;
        p.drawText(r, Qt::AlignCenter, header);
    }
    y += b.headerMm;

    const QFontMetricsF metrics(p.font(), p.device());
    for (int r = page.firstRow; r < page.firstRow + page.rowCount; ++r) {
        const double rowMm = std::min(g.rowMm[size_t(r)], Pagination::rowRoomMm(layout_, b));
        for (int c = 0; c < cells; ++c) {
            const QRectF cell = g.rect(g.x[size_t(c)], y, g.x[size_t(c) + 1], rowMm);
            p.drawRect(cell);
            const QString text = c == 0 ? QString::number(table_.rowId(r))
                                        : table_.displayText(r, columns_[size_t(c) - 1]);
            // Cells of a grown row keep their text on its first line.
            const QRectF first = g.rect(g.x[size_t(c)], y, g.x[size_t(c) + 1], b.rowMm);
            const QRectF inner = first.adjusted(g.px(kPaddingMm), 0, -g.px(kPaddingMm), 0);
            if (c > 0 && layout_.columns[size_t(c) - 1].wrap) {
                const WrappedText wrapped(text, p.font(), p.device(), inner.width());
                const double top = (inner.height() - metrics.height()) / 2;
                wrapped.draw(p, inner.topLeft() + QPointF(0, top), cell);
                continue;
            }
            const bool right = c == 0 || isNumeric(g.kinds[size_t(c)]);
            const int align = (right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
            const double wide = metrics.horizontalAdvance(text);
            if (wide > inner.width() && (right || g.kinds[size_t(c)] == ColumnKind::Date)) {
                // A cut date or amount would print a wrong value: it shrinks to fit instead.
                p.save();
                QFont small = p.font();
                small.setPointSizeF(small.pointSizeF() * inner.width() / wide);
                p.setFont(small);
                p.drawText(inner, align, text);
                p.restore();
                continue;
            }
            p.drawText(inner, align, metrics.elidedText(text, Qt::ElideRight, inner.width()));
        }
        y += rowMm;
    }

    if (!layout_.footers) return;
    if (page.footer) {
        paintLine(p, g, y, b.footerMm, QStringLiteral("合计 ") + QString::number(pages.rowCount),
                  pages.totals);
    }
    const double foot = b.pageHeightMm - b.pageFooterMm;
    paintLine(p, g, foot, b.pageFooterMm - kAddressMm,
              QStringLiteral("本页合计 ") + QString::number(page.rowCount), page.sums);
    p.drawText(g.rect(g.left, foot + b.pageFooterMm - kAddressMm, g.right(), kAddressMm),
               Qt::AlignRight | Qt::AlignVCenter, ProductInfo::webAddress());
}

// A footer line: the label over the columns before the first summed one, then each column's
// sum (or nothing) in its own cell.
void ReportPainter::paintLine(QPainter& p, const Geometry& g, double y, double heightMm,
                              const QString& label, const std::vector<double>& sums) const {
    int first = int(layout_.columns.size()) + 1;
    for (size_t i = 0; i < summedAt_.size(); ++i) {
        if (summedAt_[i] >= 0) {
            first = int(i) + 1;
            break;
        }
    }
    const QRectF labelRect = g.rect(g.x[0], y, g.x[size_t(first)], heightMm);
    p.drawRect(labelRect);
    p.drawText(labelRect.adjusted(g.px(kPaddingMm), 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
               label);
    for (int c = first; c < int(g.x.size()) - 1; ++c) {
        const QRectF cell = g.rect(g.x[size_t(c)], y, g.x[size_t(c) + 1], heightMm);
        p.drawRect(cell);
        const int k = summedAt_[size_t(c) - 1];
        if (k < 0 || size_t(k) >= sums.size()) continue;
        p.drawText(cell.adjusted(0, 0, -g.px(kPaddingMm), 0), Qt::AlignRight | Qt::AlignVCenter,
                   ReportTable::display(sums[size_t(k)], g.kinds[size_t(c)]));
    }
}

bool ReportPainter::writePdf(const QString& path, const QString& dataFile, QString* error) const {
    return OutputFile::write(
        path, dataFile,
        [this](QIODevice& device) {
            // The writer finishes the file when it goes out of scope, before the commit.
            QPdfWriter pdf(&device);
            pdf.setPageLayout(pageLayout());
            pdf.setTitle(title());
            pdf.setCreator(ProductInfo::name());
            pdf.setResolution(600);
            return paint(&pdf) > 0;
        },
        error);
}

}  // namespace cw
