#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace cw {

class TfrmDM;

// Recomputes what the open book's running figures must be and lists every place where the
// stored figure says otherwise, one readable line each. Nothing is written.
//
// Every account's balance is recomputed from the journal: its "开户" row (the opening amount),
// the balance adjustments and every posting's rows, each adding its theIn and taking its
// theOut. The result must equal the account's balance, and so must the balance written on
// the account's last journal row.
//
// An account's journal starts at its own "开户" row when it has one (theT "SAccount", theID the
// account's ID): rows of the same name before it belong to an account deleted earlier. An
// account created by a posting has no opening row and starts at 0 with the first row of its
// name.
//
// The fund-flow log may edit and delete journal rows; that leaves the balance and the journal
// apart, and the check says so: a difference the user may want to know about, not a fault of
// the check.
//
// Every debt, credit and investment is recomputed as well (checkOutstanding): its settled
// total (repaid, collected, the gain) is the sum of its settlements; its outstanding amount is
// what its own journal rows booked ("新增" or "导入", then each change's "修改" less its
// "恢复", so a change setting a new amount counts), plus its increases and decreases, less the
// principal of its settlements. A settlement whose parent is gone is a difference too.
//
// The parent's own journal rows rather than only its latest "新增"/"修改" row: a settlement
// deleted after a change gives its amount back to the parent, and once deleted nothing says
// which parent it had; summing every change as a difference needs no such link.
//
// A credit written off as a bad debt drops its outstanding amount to 0 and keeps no record of
// what it dropped (no row, no balance move: the household's choice). So a credit may be short
// of its recomputed amount by what write-offs took; above it, it is a difference.
//
// Further figures join as further rules.
class BookCheck {
  public:
    // A rule appends its differences of the open book.
    using Rule = std::function<void(TfrmDM& dm, QStringList& differences)>;

    explicit BookCheck(TfrmDM& dm);

    void addRule(Rule rule);
    // The differences found by every rule, in order; empty when the book is consistent.
    QStringList check();

    // The account rule on its own.
    static void checkAccounts(TfrmDM& dm, QStringList& differences);
    // The debt, credit and investment rule on its own.
    static void checkOutstanding(TfrmDM& dm, QStringList& differences);
    // The book's running income and expense totals against the sums of its postings.
    static void checkTotals(TfrmDM& dm, QStringList& differences);

  private:
    TfrmDM& dm_;
    std::vector<Rule> rules_;
};

}  // namespace cw
