#include "bookkeeping/ui/SettledPostingScreen.h"

#include <QAction>
#include <QMenu>

#include "bookkeeping/ui/TfrmBList.h"
#include "bookkeeping/ui/TfrmB_ZJ.h"
#include "bookkeeping/ui/TfrmBorrow_R.h"
#include "storage/TfrmDM.h"
#include "widgets/Messages.h"
#include "widgets/QueryGrid.h"
#include "widgets/QueryGridModel.h"

namespace cw {

SettledPostingScreen::SettledPostingScreen(AppContext& ctx, const PostingLayout& layout,
                                           QWidget* parent)
    : PostingScreen(ctx, layout, parent) {
    QStringList commands;
    for (const PostingLayout::PopupItem& item : layout.popup) {
        if (item.type == PostingLayout::PopupItem::Type::Command) commands << item.caption;
    }
    auto bind = [this, &commands](int index, void (SettledPostingScreen::*slot)()) -> QAction* {
        if (index >= commands.size()) return nullptr;
        QAction* action = popupAction(commands.at(index));
        if (action) connect(action, &QAction::triggered, this, slot);
        return action;
    };
    settle_ = bind(0, &SettledPostingScreen::SettleClick);
    settlements_ = bind(1, &SettledPostingScreen::SettlementsClick);
    increase_ = bind(2, &SettledPostingScreen::IncreaseClick);
    decrease_ = bind(3, &SettledPostingScreen::DecreaseClick);
    changes_ = bind(4, &SettledPostingScreen::ChangesClick);
    if (SubPostingKind::of(kind())->writesOff) {
        writeOff_ = bind(5, &SettledPostingScreen::WriteOffClick);
    }
    // The running amount reads as money like the outstanding one.
    grid()->gridModel()->setMoneyColumns(
        {layout.titleOf(kind().moneyColumn), layout.titleOf(QStringLiteral("RMoney"))});
    connect(popupMenu(), &QMenu::aboutToShow, this, &SettledPostingScreen::enableCommands);
}

std::optional<SubPostingRules::Parent> SettledPostingScreen::current() {
    const qint64 id = currentId();
    if (id <= 0) return std::nullopt;
    std::optional<SubPostingRules::Parent> p;
    guarded([&] { p = SubPostingRules(context().dm).parent(kind(), id); });
    return p;
}

void SettledPostingScreen::enableCommands() {
    if (mode() != Mode::Browse) return;
    const bool hasRow = currentId() > 0;
    bool open = false;
    if (hasRow) {
        if (const auto p = current()) open = SubPostingRules::canSettle(p->outstanding);
    }
    for (QAction* a : {settlements_, increase_, decrease_, changes_, writeOff_}) {
        if (a) a->setEnabled(hasRow);
    }
    if (settle_) settle_->setEnabled(open);
}

void SettledPostingScreen::SettleClick() {
    if (mode() != Mode::Browse) return;
    const auto p = current();
    if (!p || !SubPostingRules::canSettle(p->outstanding)) return;
    TfrmBorrow_R dialog(context(), kind(), *p, this);
    if (runDialog(dialog) == QDialog::Accepted) myRef();
}

void SettledPostingScreen::SettlementsClick() {
    if (mode() != Mode::Browse) return;
    const auto p = current();
    if (!p) return;
    TfrmBList dialog(context(), kind(), TfrmBList::Records::Settlements, p->id, this);
    runDialog(dialog);
    myRef();
}

void SettledPostingScreen::runChange(SubPostingRules::Change change) {
    if (mode() != Mode::Browse) return;
    const auto p = current();
    if (!p) return;
    TfrmB_ZJ dialog(context(), kind(), change, *p, this);
    if (runDialog(dialog) == QDialog::Accepted) myRef();
}

void SettledPostingScreen::IncreaseClick() {
    runChange(SubPostingRules::Change::Increase);
}

void SettledPostingScreen::DecreaseClick() {
    runChange(SubPostingRules::Change::Decrease);
}

void SettledPostingScreen::ChangesClick() {
    if (mode() != Mode::Browse) return;
    const auto p = current();
    if (!p) return;
    TfrmBList dialog(context(), kind(), TfrmBList::Records::Changes, p->id, this);
    runDialog(dialog);
    myRef();
}

void SettledPostingScreen::WriteOffClick() {
    if (mode() != Mode::Browse) return;
    const qint64 id = currentId();
    if (id <= 0) return;
    if (!context().messages.ask(QStringLiteral("确认该债权为坏账吗？该操作将不可恢复！"),
                                QStringLiteral("删除"), false)) {
        return;
    }
    guarded([&] { SubPostingRules(context().dm).writeOff(id); });
    myRef();
}

QString SettledPostingScreen::deleteRefusal() {
    const qint64 id = currentId();
    if (id <= 0) return QString();
    const PostingKind::DeleteGuard& guard = kind().deleteGuard;
    bool held = false;
    guarded([&] {
        SubPostingRules rules(context().dm);
        if (!guard.column.isEmpty()) {
            const auto p = rules.parent(kind(), id);
            held = p && p->running > 0;
        } else if (!guard.childTable.isEmpty()) {
            held = !rules.settlements(kind(), id).empty();
        }
    });
    return held ? guard.message : QString();
}

}  // namespace cw
