#include "bookkeeping/ui/TfrmChangeT.h"

namespace cw {

TfrmChangeT::TfrmChangeT(AppContext& ctx, QWidget* parent)
    : PostingScreen(ctx, PostingLayout::transfer(), parent) {}

}  // namespace cw
