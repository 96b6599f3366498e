#pragma once

#include <QString>

#include "bookkeeping/PostingKind.h"

namespace cw {

// The records that hang under a debt, a credit or an investment: the settlements that pay it
// off (repayments of a debt, collections of a credit, returns of an investment, each with its
// own dialog and records window) and the increases and decreases of the amount. The three
// families work alike; this says where they differ, so the rules are written once.
//
// Every settlement and every change names its parent by ID; the parent's outstanding amount
// (its PostingKind::moneyColumn) and its running total (runningColumn) move with them.
struct SubPostingKind {
    const PostingKind* parent = nullptr;
    // The parent's total settled so far: repaid, collected, or the gain of an investment.
    QString runningColumn = QStringLiteral("RMoney");
    QString runningLabel;  // "已还金额"

    // Settlements. The amount is RMoney and the date RDate in all three tables; a return also
    // books a gain (SMoney).
    QString settleCliName;  // the headless companion's word: "repay"
    QString settleTable;    // "BorrowR"
    QString settleKey;      // "BID"
    QString settleRecords;  // what its records window calls them: "还债记录"
    QString settleLabel;    // names the amount in the dialog's messages: "还债金额"
    QString settleType;  // theType of the journal row: "还债"; a return's principal "收回本金"
    QString profitType = {};     // returns only: theType of the gain's row, "收益"
    QString settleDeleteRemark;  // the Remark of the row a deletion writes: "还债 删除"
    // The dialog's checks beyond "empty": the amount above what is outstanding (empty: not
    // compared), and the amount at or below 0 (at 0 allowed when zeroAllowed).
    QString aboveMessage = {};
    QString belowMessage;
    bool zeroAllowed = false;
    QString accountMessage;  // the repayment dialog writes 帐 where the others write 账
    QString memberMessage = QStringLiteral("请选择 家庭成员！");

    // Increases and decreases. The amount is theMoney (negative for a decrease), the date theDate.
    QString changeTable;               // "BList"
    QString changeKey;                 // "BID"
    QString changeRecords;             // the caption of their records window: "增减债务记录"
    QString increaseType;              // "增加债务"
    QString decreaseType;              // "减少债务"
    QString decreaseAbove;             // a decrease may not take more than is outstanding
    bool trimsDecreaseRemark = false;  // the investment's decrease trims its remark

    bool writesOff = false;  // credits can be written off as bad debts

    static const SubPostingKind& debt();
    static const SubPostingKind& credit();
    static const SubPostingKind& investment();
    // nullptr for kinds without sub-records (income, expense, transfers).
    static const SubPostingKind* of(const PostingKind& parent);
    // By the companion's word for a settlement ("repay", "collect", "return"); nullptr if none.
    static const SubPostingKind* bySettleCliName(const QString& word);

    bool hasProfit() const { return !profitType.isEmpty(); }
    // A settlement moves its account against the parent: repaying lowers it, collecting and
    // returns raise it. An increase moves it as the parent did, a decrease against it.
    int settleSign() const { return -parent->sign; }
};

}  // namespace cw
