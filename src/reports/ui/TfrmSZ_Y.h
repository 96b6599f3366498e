#pragma once

#include "reports/ui/ReportScreen.h"

namespace cw {

// "收支年报表": income against expense, one line per calendar year.
class TfrmSZ_Y : public ReportScreen {
    Q_OBJECT

  public:
    explicit TfrmSZ_Y(AppContext& ctx, QWidget* parent = nullptr);
};

}  // namespace cw
