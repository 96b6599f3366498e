#include "reports/ui/ExcelExport.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProgressBar>

#include "reports/XlsxWriter.h"
#include "storage/Database.h"
#include "storage/OutputFile.h"
#include "widgets/AppContext.h"

namespace cw {

ExcelExport::Opener& ExcelExport::opener() {
    static Opener open = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    return open;
}

QString ExcelExport::run(AppContext& ctx, const ExportLayout& layout, const ReportTable& table,
                         const SpreadsheetExport::Title& title, QProgressBar* bar) {
    SpreadsheetExport::Progress progress;
    if (bar) {
        bar->setRange(0, std::max(1, table.rowCount()));
        bar->setValue(0);
        progress = [bar](int done, int) {
            bar->setValue(done);
            // Let the bar repaint; input waits until the export is done.
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        };
    }
    return save(ctx, SpreadsheetExport::build(layout, table, title, progress));
}

QString ExcelExport::save(AppContext& ctx, const Workbook& workbook) {
    const QString path = SpreadsheetExport::fileFor(ctx.programDir, workbook.caption(),
                                                    QDateTime::currentDateTime());
    XlsxWriter writer;
    if (!OutputFile::makePrivateFolder(SpreadsheetExport::exportFolder(ctx.programDir)) ||
        !writer.write(workbook, path, ctx.db.path())) {
        const QString why =
            writer.errorString().isEmpty()
                ? QStringLiteral("无法创建文件夹：") +
                      QDir::toNativeSeparators(SpreadsheetExport::exportFolder(ctx.programDir))
                : writer.errorString();
        ctx.messages.warn(noSpreadsheetMessage() + QLatin1Char('\n') + why);
        return QString();
    }
    if (!opener()(QUrl::fromLocalFile(path))) {
        // The workbook is written; only a program to show it is missing. Saying it could not be
        // made would send the user looking for a fault that is not there.
        const QString where = QStringLiteral("已导出到 ") + QDir::toNativeSeparators(path);
        const bool openFolder = ctx.messages.ask(
            where + QStringLiteral("\n没有可以打开它的程序，要打开它所在的文件夹吗？"),
            QStringLiteral("导出Excel"), true);
        if (openFolder && !opener()(QUrl::fromLocalFile(QFileInfo(path).absolutePath()))) {
            ctx.messages.inform(where);
        }
    }
    return path;
}

}  // namespace cw
