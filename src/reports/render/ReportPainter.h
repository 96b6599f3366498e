#pragma once

#include <QDateTime>
#include <QPageLayout>
#include <QString>

#include "reports/Pagination.h"
#include "reports/PrintLayout.h"
#include "reports/ReportTable.h"

class QFontMetricsF;
class QPagedPaintDevice;
class QPainter;

namespace cw {

// Paints a printed report: a PrintLayout over a ReportTable, page by page as Pagination lays
// it out, ruled as a table. The same painting serves the printer behind the preview and a PDF
// file, so the paper and the PDF show the same pages.
//
//     ReportPainter painter(PrintLayout::named("Print/theSZ_M.rf3"), table, book,
//                           QDateTime::currentDateTime());
//     painter.writePdf(path, db.path());       // a PDF, fonts embedded, text searchable
//     painter.paint(printer);                  // in QPrintPreviewDialog::paintRequested
//
// Needs a QGuiApplication (any platform, offscreen included).
class ReportPainter {
  public:
    ReportPainter(const PrintLayout& layout, const ReportTable& table, const QString& book,
                  const QDateTime& printedAt);

    // The font of every printed and exported page; its PDF text reads back exactly.
    static QString fontFamily() { return QStringLiteral("WenQuanYi Micro Hei"); }

    // A4, the layout's orientation, 10 mm margins on all four sides.
    QPageLayout pageLayout() const;
    QString title() const { return layout_.titleFor(book_); }

    // Paints every page inside the device's current page layout; returns the page count
    // (0 when the device could not be painted on).
    int paint(QPagedPaintDevice* device) const;
    // Writes the report as a PDF on the layout's page through OutputFile (never into the
    // folder of dataFile, the open data file); false with *error set when the file cannot be
    // written, and then no file at path is changed.
    bool writePdf(const QString& path, const QString& dataFile, QString* error = nullptr) const;

  private:
    struct Geometry;
    // Each column's width on this device: the layout's, widened where a date or number
    // would not fit whole.
    std::vector<double> columnWidths(const QPainter& p, const Geometry& g) const;
    // The widest text a numeric or date column prints: its cells, and for a column the
    // layout sums, its total and the largest page sum it could show. Column -1 is 序号, the
    // rows' IDs.
    double widestPx(const QFontMetricsF& metrics, int column, bool summed) const;
    // Each row's height on this device, in pieces: taller where a wrapping column needs more
    // lines, cut between lines where a row is taller than a page.
    void measureRows(QPainter& p, Geometry& g) const;
    void paintPage(QPainter& p, const Geometry& g, const Pagination& pages, int index) const;
    double paintHeader(QPainter& p, const Geometry& g, int index) const;
    // One piece of a row at y; returns its height.
    double paintRow(QPainter& p, const Geometry& g, double y, int row, int piece) const;
    void paintLine(QPainter& p, const Geometry& g, double y, double heightMm, const QString& label,
                   const std::vector<double>& sums) const;

    const PrintLayout& layout_;
    const ReportTable& table_;
    QString book_;
    QDateTime printedAt_;
    std::vector<int> columns_;   // report column of each layout column
    std::vector<int> summedAt_;  // for each layout column, its index in summed, or -1
};

}  // namespace cw
