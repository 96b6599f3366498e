#pragma once

#include "bookkeeping/ui/PostingScreen.h"

namespace cw {

// Income: money the household receives, into one account, under an income category.
class TfrmInTable : public PostingScreen {
    Q_OBJECT

  public:
    explicit TfrmInTable(AppContext& ctx, QWidget* parent = nullptr);
};

}  // namespace cw
