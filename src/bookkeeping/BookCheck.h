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
// Deleting an investment return moves its account without a journal row, and the fund-flow
// log may edit journal rows; both leave the balance and the journal apart, and the check says
// so: that is a difference the user may want to know about, not a fault of the check.
//
// More figures (the amounts still owed, to collect or invested) join as further rules.
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

  private:
    TfrmDM& dm_;
    std::vector<Rule> rules_;
};

}  // namespace cw
