#pragma once

#include "bookkeeping/ui/PostingScreen.h"

namespace cw {

// Expenses: the mirror of income, plus a warning when a new expense takes its category's
// spending of that month past the category's monthly cap.
class TfrmOutTable : public PostingScreen {
    Q_OBJECT

  public:
    explicit TfrmOutTable(AppContext& ctx, QWidget* parent = nullptr);

  protected:
    void afterSaveNew(qint64 id, const PostingRules::Posting& posting) override;
};

}  // namespace cw
