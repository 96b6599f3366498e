#include "bookkeeping/ui/TfrmOutTable.h"

#include "bookkeeping/ui/PostingWarnings.h"

namespace cw {

TfrmOutTable::TfrmOutTable(AppContext& ctx, QWidget* parent)
    : PostingScreen(ctx, PostingLayout::expense(), parent) {}

void TfrmOutTable::afterSaveNew(qint64, const PostingRules::Posting& posting) {
    // The expense is stored whatever the cap says: the message only warns. A change of an
    // expense is never checked.
    QString warning;
    guarded([&] {
        warning = PostingWarnings(context().dm).monthlyCap(kind(), posting.date, posting.name);
    });
    if (!warning.isEmpty()) context().messages.warn(warning);
}

}  // namespace cw
