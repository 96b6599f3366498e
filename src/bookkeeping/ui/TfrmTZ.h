#pragma once

#include "bookkeeping/ui/SettledPostingScreen.h"

namespace cw {

// Investments: principal still invested, its category and account, and the gain booked so far.
class TfrmTZ : public SettledPostingScreen {
    Q_OBJECT

  public:
    explicit TfrmTZ(AppContext& ctx, QWidget* parent = nullptr);
};

}  // namespace cw
