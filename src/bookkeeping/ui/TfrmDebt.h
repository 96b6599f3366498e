#pragma once

#include "bookkeeping/ui/SettledPostingScreen.h"

namespace cw {

// Credits: what the household has lent out, the mirror of debts, with the bad-debt write-off.
class TfrmDebt : public SettledPostingScreen {
    Q_OBJECT

  public:
    explicit TfrmDebt(AppContext& ctx, QWidget* parent = nullptr);
};

}  // namespace cw
