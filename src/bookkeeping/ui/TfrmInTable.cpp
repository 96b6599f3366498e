#include "bookkeeping/ui/TfrmInTable.h"

namespace cw {

TfrmInTable::TfrmInTable(AppContext& ctx, QWidget* parent)
    : PostingScreen(ctx, PostingLayout::income(), parent) {}

}  // namespace cw
