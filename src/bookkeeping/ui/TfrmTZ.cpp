#include "bookkeeping/ui/TfrmTZ.h"

namespace cw {

TfrmTZ::TfrmTZ(AppContext& ctx, QWidget* parent)
    : SettledPostingScreen(ctx, PostingLayout::investment(), parent) {}

}  // namespace cw
