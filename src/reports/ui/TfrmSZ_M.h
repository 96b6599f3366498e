#pragma once

#include "reports/ui/ReportScreen.h"

namespace cw {

// "收支月报表": income against expense, one line per calendar month.
class TfrmSZ_M : public ReportScreen {
    Q_OBJECT

  public:
    explicit TfrmSZ_M(AppContext& ctx, QWidget* parent = nullptr);
};

}  // namespace cw
