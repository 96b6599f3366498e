#pragma once

#include "bookkeeping/ui/PostingScreen.h"

namespace cw {

// Transfers: money moved from one account of the household to another.
class TfrmChangeT : public PostingScreen {
    Q_OBJECT

  public:
    explicit TfrmChangeT(AppContext& ctx, QWidget* parent = nullptr);
};

}  // namespace cw
