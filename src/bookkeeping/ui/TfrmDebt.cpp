#include "bookkeeping/ui/TfrmDebt.h"

namespace cw {

TfrmDebt::TfrmDebt(AppContext& ctx, QWidget* parent)
    : SettledPostingScreen(ctx, PostingLayout::credit(), parent) {}

}  // namespace cw
