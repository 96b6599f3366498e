#pragma once

#include <QString>
#include <QUrl>
#include <functional>

#include "reports/SpreadsheetExport.h"

class QProgressBar;

namespace cw {

struct AppContext;
class Workbook;

// The "Excel" button of every report and query screen, and the month-by-category menus:
// the workbook is written to Export/ beside Data/, named after its title and the time, and
// opened in the desktop's spreadsheet program. When nothing opens it the user is told so,
// and where the file is; the screen stays as it was.
//
// A screen's button:
//     ExcelExport::run(ctx, ExportLayout::forScreen("TfrmP_In"), table, {book, from, to}, bar);
class ExcelExport {
  public:
    // How a written file is opened; QDesktopServices::openUrl unless a test replaces it.
    using Opener = std::function<bool(const QUrl&)>;
    static Opener& opener();

    static QString noSpreadsheetMessage() {
        return QStringLiteral("无法创建Xls文件，请确认是否安装EXCEL");
    }

    // Fills the workbook of the layout from the table (the bar, when given, follows the rows),
    // then saves and opens it. Returns the file written, empty when nothing was written.
    static QString run(AppContext& ctx, const ExportLayout& layout, const ReportTable& table,
                       const SpreadsheetExport::Title& title, QProgressBar* bar = nullptr);
    // Saves a filled workbook under Export/ and opens it.
    static QString save(AppContext& ctx, const Workbook& workbook);
};

}  // namespace cw
