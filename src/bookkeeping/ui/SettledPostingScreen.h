#pragma once

#include <optional>

#include "bookkeeping/SubPostingRules.h"
#include "bookkeeping/ui/PostingScreen.h"

namespace cw {

// The posting screen of a debt, a credit or an investment: the shared screen plus the popup
// commands that open its sub-dialogs (settle, settlement records, increase, decrease, their
// records, and for credits the bad-debt write-off) and the refusal to delete a parent that
// has been settled against.
//
// The layout names the commands in this order: settle, settlement records, increase,
// decrease, increase and decrease records; a credit's layout adds the write-off last.
class SettledPostingScreen : public PostingScreen {
    Q_OBJECT

  public:
    SettledPostingScreen(AppContext& ctx, const PostingLayout& layout, QWidget* parent = nullptr);

    QAction* settleAction() const { return settle_; }
    QAction* settlementsAction() const { return settlements_; }
    QAction* increaseAction() const { return increase_; }
    QAction* decreaseAction() const { return decrease_; }
    QAction* changesAction() const { return changes_; }
    QAction* writeOffAction() const { return writeOff_; }  // credits only

  public slots:
    void SettleClick();
    void SettlementsClick();
    void IncreaseClick();
    void DecreaseClick();
    void ChangesClick();
    void WriteOffClick();

  protected:
    QString deleteRefusal() override;

  private:
    // The current row's parent as stored; nothing (after any message) when there is none.
    std::optional<SubPostingRules::Parent> current();
    void runChange(SubPostingRules::Change change);
    // Enables the commands as the current row allows, before the menu shows.
    void enableCommands();

    QAction* settle_ = nullptr;
    QAction* settlements_ = nullptr;
    QAction* increase_ = nullptr;
    QAction* decrease_ = nullptr;
    QAction* changes_ = nullptr;
    QAction* writeOff_ = nullptr;
};

}  // namespace cw
