#pragma once

#include <QString>

namespace cw {

struct AppContext;
class ScreenHost;

// Plugs the report screens into the menu "报表中心【&R】": the monthly and yearly reports, and
// the six month-by-category workbooks of 收入月报表 and 支出月报表.
void registerReportScreens(ScreenHost& host);

// The month-by-category workbook of one menu entry ("InMonthByCategory" …), written to
// Export/ and opened in the spreadsheet program.
void mySumReport(AppContext& ctx, const QString& menuScreen);

}  // namespace cw
