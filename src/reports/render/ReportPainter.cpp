#include "reports/render/ReportPainter.h"

#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QTextLayout>
#include <cmath>
#include <limits>

#include "reports/ProductInfo.h"
#include "storage/OutputFile.h"

namespace cw {

namespace {

constexpr double kMarginMm = 10;
constexpr double kPaddingMm = 1.2;
constexpr double kRuleMm = 0.2;
constexpr double kAddressMm = 4.5;  // the web address line under the page footer's rule
// The share of its width a wrapping column gives up to dates and numbers that would not fit
// whole: the text wraps into more lines, a number is never cut.
constexpr double kWrapGives = 0.4;

QFont font(double points, bool bold = false) {
    QFont f(ReportPainter::fontFamily());
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

// Text that fits its rectangle as it is, and otherwise in a font shrunk to fit: a cut date or
// amount would print a wrong value.
void drawWhole(QPainter& p, const QRectF& r, int align, const QString& text) {
    const double wide = QFontMetricsF(p.font(), p.device()).horizontalAdvance(text);
    if (wide <= r.width()) {
        p.drawText(r, align, text);
        return;
    }
    p.save();
    QFont small = p.font();
    small.setPointSizeF(small.pointSizeF() * r.width() / wide);
    p.setFont(small);
    p.drawText(r, align | Qt::TextDontClip, text);
    p.restore();
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
            bottoms_.push_back(height_);
        }
        layout_.endLayout();
    }

    double height() const { return height_; }
    // The bottom of each line, from the top of the first.
    const std::vector<double>& bottoms() const { return bottoms_; }
    // Draws the lines whose tops lie in [fromPx, toPx) of the text, the first of them at `at`.
    // Only those: a line clipped away would still be in the PDF's text.
    void draw(QPainter& p, QPointF at, const QRectF& clip, double fromPx, double toPx) const {
        p.save();
        p.setClipRect(clip);
        at.ry() -= fromPx;
        for (int i = 0; i < layout_.lineCount(); ++i) {
            const QTextLine line = layout_.lineAt(i);
            if (line.y() >= fromPx - kLinePx && line.y() < toPx - kLinePx) line.draw(&p, at);
        }
        p.restore();
    }

  private:
    static constexpr double kLinePx = 0.5;  // where a cut lies on a line's top, give or take

    static QString lines(QString text) {
        text.remove(QLatin1Char('\r'));
        text.replace(QLatin1Char('\n'), QChar::LineSeparator);
        return text;
    }

    QTextLayout layout_;
    double height_ = 0;
    std::vector<double> bottoms_;
};

// Where a row taller than capacityPx is cut: at the tops of lines, so each piece holds whole
// lines and at most capacityPx of them (a single taller line is a piece of its own). Returns
// the height of each piece's lines.
std::vector<double> cutBetweenLines(const std::vector<double>& bottoms, double capacityPx) {
    std::vector<double> pieces;
    double start = 0;
    double top = 0;
    for (double bottom : bottoms) {
        if (bottom - start > capacityPx && top > start) {
            pieces.push_back(top - start);
            start = top;
        }
        top = bottom;
    }
    pieces.push_back(top - start);
    return pieces;
}

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
    double lineMm = 0;              // one line of text; a row holds its lines centred
    // Each report row's pieces (one unless the row is taller than a page) and where each
    // piece's lines start inside the row's text.
    std::vector<std::vector<double>> pieceMm;
    std::vector<std::vector<double>> pieceFromMm;

    double px(double mm) const { return mm * pxPerMm; }
    QRectF rect(double x0, double y, double x1, double h) const {
        return QRectF(px(x0), px(y), px(x1 - x0), px(h));
    }
    double right() const { return x.back(); }
    // Space above the first line of a row and below its last.
    double gapMm() const { return bands.rowMm - lineMm; }
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

double ReportPainter::widestPx(const QFontMetricsF& metrics, int column, bool summed) const {
    double widest = 0;
    for (int r = 0; r < table_.rowCount(); ++r) {
        const QString text =
            column < 0 ? QString::number(table_.rowId(r)) : table_.displayText(r, column);
        widest = std::max(widest, metrics.horizontalAdvance(text));
    }
    if (!summed) return widest;
    // No page sums more than the sizes of all rows together, of either sign.
    double size = 0;
    for (int r = 0; r < table_.rowCount(); ++r)
        size += std::abs(table_.value(r, column).toDouble());
    const ColumnKind kind = table_.column(column).kind;
    for (double v : {table_.total(column), -size})
        widest = std::max(widest, metrics.horizontalAdvance(ReportTable::display(v, kind)));
    return widest;
}

std::vector<double> ReportPainter::columnWidths(const QPainter& p, const Geometry& g) const {
    const QFontMetricsF metrics(p.font(), p.device());
    std::vector<double> widths{PrintLayout::kIdWidthMm};
    std::vector<double> short_{0};  // what each column lacks to show its widest text whole
    double spare = g.widthMm - PrintLayout::kIdWidthMm;
    double wrapping = 0;  // the width the wrapping columns hold
    for (size_t i = 0; i <= layout_.columns.size(); ++i) {
        const int column = i == 0 ? -1 : columns_[i - 1];
        if (i > 0) {
            const PrintLayout::Column& c = layout_.columns[i - 1];
            widths.push_back(c.widthMm);
            short_.push_back(0);
            spare -= c.widthMm;
            if (c.wrap) wrapping += c.widthMm;
            const ColumnKind kind = table_.column(column).kind;
            if (c.wrap || (!ReportTable::isNumeric(kind) && kind != ColumnKind::Date)) continue;
        }
        const bool summed = i > 0 && summedAt_[i - 1] >= 0;
        const double need = widestPx(metrics, column, summed) / g.pxPerMm + 2 * kPaddingMm;
        short_[i] = std::max(0.0, need - widths[i]);
    }
    double lacking = 0;
    for (double s : short_) lacking += s;
    if (lacking <= 0) return widths;
    spare = std::max(0.0, spare);
    // The page's spare width goes first, then a share of the wrapping columns; whatever is
    // still lacking, drawWhole makes up by shrinking the font.
    const double given = std::min(lacking, spare + kWrapGives * wrapping);
    const double fromWrapping = std::max(0.0, given - spare);
    for (size_t i = 0; i < widths.size(); ++i) {
        widths[i] += short_[i] * given / lacking;
        if (i > 0 && layout_.columns[i - 1].wrap) widths[i] -= fromWrapping * widths[i] / wrapping;
    }
    return widths;
}

void ReportPainter::measureRows(QPainter& p, Geometry& g) const {
    const double pad = g.px(kPaddingMm);
    const double room = Pagination::rowRoomMm(layout_, g.bands);
    std::vector<int> wrapping;
    for (size_t i = 0; i < layout_.columns.size(); ++i) {
        if (layout_.columns[i].wrap) wrapping.push_back(int(i));
    }
    g.pieceMm.assign(size_t(table_.rowCount()), {g.bands.rowMm});
    g.pieceFromMm.assign(size_t(table_.rowCount()), {0.0});
    if (wrapping.empty()) return;
    for (int r = 0; r < table_.rowCount(); ++r) {
        std::vector<double> bottoms;  // of the column with the most lines
        for (int i : wrapping) {
            const double width = g.px(g.x[size_t(i) + 2] - g.x[size_t(i) + 1]) - 2 * pad;
            const WrappedText text(table_.displayText(r, columns_[size_t(i)]), p.font(), p.device(),
                                   width);
            if (!text.bottoms().empty() && (bottoms.empty() || text.height() > bottoms.back()))
                bottoms = text.bottoms();
        }
        if (bottoms.empty() || bottoms.back() / g.pxPerMm + g.gapMm() <= g.bands.rowMm) continue;
        std::vector<double>& pieces = g.pieceMm[size_t(r)];
        std::vector<double>& from = g.pieceFromMm[size_t(r)];
        pieces.clear();
        from.clear();
        double at = 0;
        for (double lines : cutBetweenLines(bottoms, g.px(room - g.gapMm()))) {
            pieces.push_back(lines / g.pxPerMm + g.gapMm());
            from.push_back(at / g.pxPerMm);
            at += lines;
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

    p.setFont(font(10));
    g.lineMm = QFontMetricsF(p.font(), device).height() / g.pxPerMm;
    const std::vector<double> widths = columnWidths(p, g);
    double tableWidth = 0;
    for (double w : widths) tableWidth += w;
    g.left = std::max(0.0, (g.widthMm - tableWidth) / 2);
    g.x.push_back(g.left);
    g.kinds.push_back(ColumnKind::Count);
    for (size_t i = 0; i < widths.size(); ++i) {
        g.x.push_back(g.x.back() + widths[i]);
        if (i > 0) g.kinds.push_back(table_.column(columns_[i - 1]).kind);
    }

    measureRows(p, g);
    const Pagination pages = Pagination::paginate(table_, layout_, g.bands, g.pieceMm);
    QPen pen(Qt::black);
    pen.setWidthF(g.px(kRuleMm));
    p.setPen(pen);
    for (size_t i = 0; i < pages.pages.size(); ++i) {
        if (i > 0) device->newPage();
        paintPage(p, g, pages, int(i));
    }
    return int(pages.pages.size());
}

double ReportPainter::paintHeader(QPainter& p, const Geometry& g, int index) const {
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

    for (size_t c = 0; c + 1 < g.x.size(); ++c) {
        const QRectF r = g.rect(g.x[c], y, g.x[c + 1], b.headerMm);
        p.drawRect(r);
        p.drawText(r, Qt::AlignCenter,
                   c == 0 ? QStringLiteral("序号") : layout_.columns[c - 1].header);
    }
    return y + b.headerMm;
}

void ReportPainter::paintPage(QPainter& p, const Geometry& g, const Pagination& pages,
                              int index) const {
    const Pagination::Page& page = pages.pages[size_t(index)];
    const BandMetrics& b = g.bands;
    double y = paintHeader(p, g, index);
    if (page.continuedRow >= 0) y += paintRow(p, g, y, page.continuedRow, page.continuedPiece);
    for (int r = page.firstRow; r < page.firstRow + page.rowCount; ++r)
        y += paintRow(p, g, y, r, 0);

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

double ReportPainter::paintRow(QPainter& p, const Geometry& g, double y, int row, int piece) const {
    const std::vector<double>& pieces = g.pieceMm[size_t(row)];
    const double height = pieces[size_t(piece)];
    // Each piece prints the lines of the row's text from where it was cut.
    const double gap = g.gapMm() / 2;
    const double from = g.px(g.pieceFromMm[size_t(row)][size_t(piece)]);
    const bool last = size_t(piece) + 1 == pieces.size();
    const double to = last ? std::numeric_limits<double>::max() : from + g.px(height - g.gapMm());
    for (size_t c = 0; c + 1 < g.x.size(); ++c) {
        const QRectF cell = g.rect(g.x[c], y, g.x[c + 1], height);
        p.drawRect(cell);
        // Cells of a grown row keep their text on its first line.
        const QRectF inner = g.rect(g.x[c] + kPaddingMm, y, g.x[c + 1] - kPaddingMm, g.bands.rowMm);
        if (c > 0 && layout_.columns[c - 1].wrap) {
            const WrappedText wrapped(table_.displayText(row, columns_[c - 1]), p.font(),
                                      p.device(), inner.width());
            wrapped.draw(p, inner.topLeft() + QPointF(0, g.px(gap)), cell, from, to);
            continue;
        }
        if (piece > 0) continue;  // a continued row's other cells were printed with its start
        const QString text =
            c == 0 ? QString::number(table_.rowId(row)) : table_.displayText(row, columns_[c - 1]);
        const bool numeric = c == 0 || ReportTable::isNumeric(g.kinds[c]);
        const int align = (numeric ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
        if (numeric || g.kinds[c] == ColumnKind::Date) {
            drawWhole(p, inner, align, text);
        } else {
            const QFontMetricsF metrics(p.font(), p.device());
            p.drawText(inner, align, metrics.elidedText(text, Qt::ElideRight, inner.width()));
        }
    }
    return height;
}

// A footer line: the label over the columns before the first summed one, then each column's
// sum (or nothing) in its own cell.
void ReportPainter::paintLine(QPainter& p, const Geometry& g, double y, double heightMm,
                              const QString& label, const std::vector<double>& sums) const {
    size_t first = layout_.columns.size() + 1;
    for (size_t i = 0; i < summedAt_.size(); ++i) {
        if (summedAt_[i] >= 0) {
            first = i + 1;
            break;
        }
    }
    const QRectF labelRect = g.rect(g.x[0], y, g.x[first], heightMm);
    p.drawRect(labelRect);
    drawWhole(p, labelRect.adjusted(g.px(kPaddingMm), 0, -g.px(kPaddingMm), 0),
              Qt::AlignLeft | Qt::AlignVCenter, label);
    for (size_t c = first; c + 1 < g.x.size(); ++c) {
        const QRectF cell = g.rect(g.x[c], y, g.x[c + 1], heightMm);
        p.drawRect(cell);
        const int k = summedAt_[c - 1];
        if (k < 0 || size_t(k) >= sums.size()) continue;
        drawWhole(p, cell.adjusted(g.px(kPaddingMm), 0, -g.px(kPaddingMm), 0),
                  Qt::AlignRight | Qt::AlignVCenter,
                  ReportTable::display(sums[size_t(k)], g.kinds[c]));
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
