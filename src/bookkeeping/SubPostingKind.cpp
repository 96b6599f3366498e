#include "bookkeeping/SubPostingKind.h"

namespace cw {

namespace {

SubPostingKind makeDebt() {
    return {
        .parent = &PostingKind::debt(),
        .runningLabel = QStringLiteral("已还金额"),
        .settleCliName = QStringLiteral("repay"),
        .settleTable = QStringLiteral("BorrowR"),
        .settleKey = QStringLiteral("BID"),
        .settleRecords = QStringLiteral("还债记录"),
        .settleLabel = QStringLiteral("还债金额"),
        .settleType = QStringLiteral("还债"),
        .settleDeleteRemark = QStringLiteral("还债 删除"),
        .aboveMessage = QStringLiteral("还债金额 不能大于债务金额！"),
        .belowMessage = QStringLiteral("还债金额 不能小于或等于零！"),
        .accountMessage = QStringLiteral("请选择 帐户名称！"),
        .changeTable = QStringLiteral("BList"),
        .changeKey = QStringLiteral("BID"),
        .changeRecords = QStringLiteral("增减债务记录"),
        .increaseType = QStringLiteral("增加债务"),
        .decreaseType = QStringLiteral("减少债务"),
        .decreaseAbove = QStringLiteral("减少金额 不能大于债务金额！"),
    };
}

SubPostingKind makeCredit() {
    return {
        .parent = &PostingKind::credit(),
        .runningLabel = QStringLiteral("已收金额"),
        .settleCliName = QStringLiteral("collect"),
        .settleTable = QStringLiteral("DebtR"),
        .settleKey = QStringLiteral("DID"),
        .settleRecords = QStringLiteral("收债记录"),
        .settleLabel = QStringLiteral("收债金额"),
        .settleType = QStringLiteral("收债"),
        .settleDeleteRemark = QStringLiteral("收债 删除"),
        .aboveMessage = QStringLiteral("收债金额 不能大于债权金额！"),
        .belowMessage = QStringLiteral("收债金额 不能小于或等于零！"),
        .accountMessage = QStringLiteral("请选择 账户名称！"),
        .changeTable = QStringLiteral("DList"),
        .changeKey = QStringLiteral("DID"),
        .changeRecords = QStringLiteral("增减债权记录"),
        .increaseType = QStringLiteral("增加债权"),
        .decreaseType = QStringLiteral("减少债权"),
        .decreaseAbove = QStringLiteral("减少金额 不能大于债权金额！"),
        .writesOff = true,
    };
}

// A return may take back any principal, more than is invested included, and 0; only a
// negative principal is refused.
SubPostingKind makeInvestment() {
    return {
        .parent = &PostingKind::investment(),
        .runningLabel = QStringLiteral("收益金额"),
        .settleCliName = QStringLiteral("return"),
        .settleTable = QStringLiteral("TTableR"),
        .settleKey = QStringLiteral("TID"),
        .settleRecords = QStringLiteral("收益记录"),
        .settleLabel = QStringLiteral("收回本金"),
        .settleType = QStringLiteral("收回本金"),
        .profitType = QStringLiteral("收益"),
        .settleDeleteRemark = QStringLiteral("收益 删除"),
        .belowMessage = QStringLiteral("收回本金 不能小于零！"),
        .zeroAllowed = true,
        .accountMessage = QStringLiteral("请选择 账户名称！"),
        .changeTable = QStringLiteral("TList"),
        .changeKey = QStringLiteral("TID"),
        .changeRecords = QStringLiteral("增减投资记录"),
        .increaseType = QStringLiteral("增加投资"),
        .decreaseType = QStringLiteral("减少投资"),
        .decreaseAbove = QStringLiteral("减少金额 不能大于投资金额！"),
        .trimsDecreaseRemark = true,
    };
}

}  // namespace

const SubPostingKind& SubPostingKind::debt() {
    static const SubPostingKind kind = makeDebt();
    return kind;
}

const SubPostingKind& SubPostingKind::credit() {
    static const SubPostingKind kind = makeCredit();
    return kind;
}

const SubPostingKind& SubPostingKind::investment() {
    static const SubPostingKind kind = makeInvestment();
    return kind;
}

const SubPostingKind* SubPostingKind::of(const PostingKind& parent) {
    switch (parent.id) {
        case PostingKind::Id::Debt:
            return &debt();
        case PostingKind::Id::Credit:
            return &credit();
        case PostingKind::Id::Investment:
            return &investment();
        case PostingKind::Id::Income:
        case PostingKind::Id::Expense:
        case PostingKind::Id::Transfer:
            break;
    }
    return nullptr;
}

const SubPostingKind* SubPostingKind::bySettleCliName(const QString& word) {
    for (const SubPostingKind* kind : {&debt(), &credit(), &investment()}) {
        if (kind->settleCliName == word) return kind;
    }
    return nullptr;
}

}  // namespace cw
