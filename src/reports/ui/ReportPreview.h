#pragma once

#include <QString>
#include <functional>

class QDialog;
class QPrinter;
class QWidget;

namespace cw {

struct AppContext;
class ReportPainter;

// The preview of a printed report (QPrintPreviewDialog): print, page set-up, zoom, paging,
// and "导出PDF" for the same pages as a PDF file. Every preview prints on the program's one
// printer, the one "打印设置 &P" sets up.
//
// A screen's "打印" button:
//     ReportPainter painter(PrintLayout::named("Print/theSR.rf3"), table, book,
//                           QDateTime::currentDateTime());
//     ReportPreview::show(ctx, painter, this, runDialog);
class ReportPreview {
  public:
    using DialogRunner = std::function<int(QDialog&)>;

    static QPrinter& printer();

    // Puts the report's page (A4, its orientation, 10 mm margins) on the printer and runs the
    // preview through runDialog (exec() when none is given). The PDF dialog starts in Export/
    // under the program folder.
    static void show(AppContext& ctx, const ReportPainter& painter, QWidget* parent,
                     const DialogRunner& runDialog = {});

    static QString pdfActionText() { return QStringLiteral("导出PDF"); }
};

}  // namespace cw
