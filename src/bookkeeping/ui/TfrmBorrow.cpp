#include "bookkeeping/ui/TfrmBorrow.h"

namespace cw {

TfrmBorrow::TfrmBorrow(AppContext& ctx, QWidget* parent)
    : SettledPostingScreen(ctx, PostingLayout::debt(), parent) {}

}  // namespace cw
