#pragma once

#include "reports/ui/ReportScreen.h"

namespace cw {

class ScreenHost;

// "收支统计表": income and expense grouped by the chosen dimension, side by side.
class TfrmPage1 : public ReportScreen {
    Q_OBJECT

  public:
    explicit TfrmPage1(AppContext& ctx, QWidget* parent = nullptr);
};

// "债务债权统计表": what is still owed, by creditor, beside what is still to collect, by debtor.
class TfrmPage2 : public ReportScreen {
    Q_OBJECT

  public:
    explicit TfrmPage2(AppContext& ctx, QWidget* parent = nullptr);
};

// "收入分析": income per day, month, year, member, category or account, with its charts.
class TfrmE_I : public ReportScreen {
    Q_OBJECT

  public:
    explicit TfrmE_I(AppContext& ctx, QWidget* parent = nullptr);
};

// "支出分析": the same for expense.
class TfrmE_O : public ReportScreen {
    Q_OBJECT

  public:
    explicit TfrmE_O(AppContext& ctx, QWidget* parent = nullptr);
};

// "账户查询": the enabled accounts with their balances.
class TfrmA_Q : public ReportScreen {
    Q_OBJECT

  public:
    explicit TfrmA_Q(AppContext& ctx, QWidget* parent = nullptr);
};

// Plugs the five screens into the menu "报表中心【&R】".
void registerStatisticsScreens(ScreenHost& host);

}  // namespace cw
