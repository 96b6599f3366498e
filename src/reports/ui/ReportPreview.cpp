#include "reports/ui/ReportPreview.h"

#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QToolBar>

#include "reports/SpreadsheetExport.h"
#include "reports/render/ReportPainter.h"
#include "storage/Database.h"
#include "storage/OutputFile.h"
#include "widgets/AppContext.h"

namespace cw {

namespace {

void exportPdf(AppContext& ctx, const ReportPainter& painter, QWidget* parent) {
    const QString folder = SpreadsheetExport::exportFolder(ctx.programDir);
    OutputFile::makePrivateFolder(folder);
    QString suggested =
        SpreadsheetExport::fileFor(ctx.programDir, painter.title(), QDateTime::currentDateTime());
    suggested.chop(int(qstrlen(".xlsx")));
    const QString path = QFileDialog::getSaveFileName(parent, ReportPreview::pdfActionText(),
                                                      suggested + QStringLiteral(".pdf"),
                                                      QStringLiteral("PDF文件 (*.pdf)"));
    if (path.isEmpty()) return;
    QString error;
    if (!painter.writePdf(path, ctx.db.path(), &error)) ctx.messages.warn(error);
}

}  // namespace

QPrinter& ReportPreview::printer() {
    static QPrinter printer(QPrinter::HighResolution);
    return printer;
}

void ReportPreview::show(AppContext& ctx, const ReportPainter& painter, QWidget* parent,
                         const DialogRunner& runDialog) {
    QPrinter& p = printer();
    p.setPageLayout(painter.pageLayout());
    p.setDocName(painter.title());
    QPrintPreviewDialog dialog(&p, parent);
    dialog.setWindowTitle(painter.title());
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&painter](QPrinter* target) { painter.paint(target); });
    if (auto* bar = dialog.findChild<QToolBar*>()) {
        bar->addSeparator();
        QAction* pdf = bar->addAction(pdfActionText());
        pdf->setObjectName(QStringLiteral("exportPdf"));
        QObject::connect(pdf, &QAction::triggered, &dialog,
                         [&ctx, &painter, &dialog] { exportPdf(ctx, painter, &dialog); });
    }
    dialog.resize(1000, 720);
    if (runDialog) {
        runDialog(dialog);
    } else {
        dialog.exec();
    }
}

}  // namespace cw
