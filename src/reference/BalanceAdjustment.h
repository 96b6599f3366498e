#pragma once

#include <QString>

#include "reference/ReferenceManager.h"

namespace cw {

class TfrmDM;

// Setting an account to the amount it really holds: the balance moves by the difference and
// the journal explains it with one "调账" row, money in when the balance rises, money out
// when it falls. The typed amount and the stored balance are compared in cents, so an
// amount equal to the balance ("100.0" against 100) is refused and no row of 0 is written.
class BalanceAdjustment {
  public:
    using Result = ReferenceManager::Result;

    static const QString kJournalType;  // "调账"
    static const QString kRemark;       // "调整账户余额"

    explicit BalanceAdjustment(TfrmDM& dm);

    // The account of the open book with that ID set to the typed amount.
    Result adjust(qint64 accountId, const QString& actual);

  private:
    TfrmDM& dm_;
};

}  // namespace cw
