#pragma once

#include <QString>
#include <vector>

#include "bookkeeping/PostingRules.h"
#include "import/bills/BillReader.h"

namespace cw {

class TfrmDM;

// Turns a bill's rows into postings of the open book and books them. Each row's proposed
// account and category come from the book's remembered mappings (the counterparty's first,
// then the app's category), else from the payment method and the app's category themselves.
// A row is ticked when it is an income or expense that succeeded and whose transaction number
// the book has not booked before; booking stores the numbers in the same transaction as the
// postings, so the same bill imported twice books nothing the second time.
class BillImport {
  public:
    enum class State { New, Imported, Skipped };
    struct Planned {
        BillRow row;
        State state = State::Skipped;
        bool ticked = false;
        PostingRules::Posting posting;
    };
    struct Counts {
        int added = 0;
        int imported = 0;
        int skipped = 0;
    };
    // What a mapping maps: a payment method to an account, a category or counterparty to an
    // income or an expense category.
    enum class MapKind { Account, Income, Expense };

    explicit BillImport(TfrmDM& dm);

    std::vector<Planned> plan(const Bill& bill);
    // Books the ticked rows in one transaction; returns how many were booked.
    int book(const std::vector<Planned>& rows);
    static Counts count(const std::vector<Planned>& rows);

    // The remembered choice for `key`, empty when none.
    QString mapped(MapKind kind, const QString& key);
    void remember(MapKind kind, const QString& key, const QString& name);

  private:
    TfrmDM& dm_;
};

}  // namespace cw
