#pragma once

#include <QDialog>
#include <vector>

#include "widgets/AppContext.h"
#include "bookkeeping/PostingKind.h"

class QAction;
class QMenu;
class QTableWidget;

namespace cw {

// The records of one debt, credit or investment, newest first: its settlements (repayments,
// collections, returns), of which the current one can be deleted from the popup menu, or its
// increases and decreases, read-only.
class TfrmBList : public QDialog {
    Q_OBJECT

  public:
    enum class Records { Settlements, Changes };

    TfrmBList(AppContext& ctx, const PostingKind& kind, Records records, qint64 parentId,
              QWidget* parent = nullptr);

    QTableWidget* table() const { return table_; }
    // "删除 &D"; nullptr for the increase and decrease records.
    QAction* deleteAction() const { return delete_; }
    // The IDs of the settlements listed, in list order; empty for changes.
    const std::vector<qint64>& ids() const { return ids_; }

  public slots:
    // Asks, then deletes the current settlement and books it back.
    void DeleteClick();

  private:
    void reload();
    void fitColumns();

    AppContext& ctx_;
    const PostingKind& kind_;
    Records records_;
    qint64 parentId_;
    QTableWidget* table_ = nullptr;
    QMenu* popup_ = nullptr;
    QAction* delete_ = nullptr;
    std::vector<qint64> ids_;
};

}  // namespace cw
