#pragma once

#include "bookkeeping/ui/SettledPostingScreen.h"

namespace cw {

// Debts: what the household has borrowed, from whom, into which account, and how much of it
// has been repaid.
class TfrmBorrow : public SettledPostingScreen {
    Q_OBJECT

  public:
    explicit TfrmBorrow(AppContext& ctx, QWidget* parent = nullptr);
};

}  // namespace cw
