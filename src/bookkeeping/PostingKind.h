#pragma once

#include <QString>
#include <QVariantList>
#include <vector>

#include "storage/GlobalState.h"

namespace cw {

// What sets one kind of posting apart from the others: its table and columns, the screen that
// keeps it, how its amount moves its account(s), what the journal rows call it, which names a
// save creates, which counts it raises and the checks of its entry fields. The posting rules,
// the screens and the headless companion all work from these descriptors, so a kind is added
// by describing it once, not by copying the rules.
//
// A plain aggregate: the kinds are written with designated initialisers, and a test may build
// a kind of its own the same way.
class PostingKind {
  public:
    enum class Id { Income, Expense, Transfer, Debt, Credit, Investment };

    // The entry fields a check can send the user back to.
    enum class Field { None, Date, Name, Amount, Account, Target, Member };

    // One check of the save, in the screen's order. Name, Account, Target, Member and Amount
    // refuse an empty text; SameAccounts refuses a target equal to the source. The change of a
    // posting shows editMessage where the screen words it differently.
    enum class Rule { Empty, SameAccounts };
    struct Check {
        Field field;
        QString message;
        QString editMessage = {};
        Rule rule = Rule::Empty;
    };

    // The filter a posting screen starts with when the book's flag for it is set.
    enum class OpenFilter { ThisMonth, Outstanding };

    // A delete the screen refuses before asking: while the posting's `column` is above 0, or
    // while `childTable` holds a row whose `childKey` names it. Both empty: no refusal.
    struct DeleteGuard {
        QString column = {};
        QString childTable = {};
        QString childKey = {};
        QString message = {};
    };

    // A list condition appended after the book condition, with its values bound in order.
    struct Filter {
        QString condition;
        QVariantList values;
    };

    // The filters a screen offers in its list's popup menu.
    enum class ListFilter { ThisMonth, History, Outstanding, Settled, Everything };
    struct FilterItem {
        QString text;  // the menu item: "未还债务 &D"
        ListFilter which;
    };

    Id id;
    QString cliName;     // the word the headless companion knows it by: "income"
    QString className;   // the screen: "TfrmInTable"
    QString caption;     // the screen's caption: "收入"
    QString table;       // "InTable"
    QString dateColumn;  // "IDate"
    QString nameColumn;  // the category or contact: "IName"; empty for transfers
    QString moneyColumn;
    QString accountColumn;      // the account moved; for a transfer the one the money leaves
    QString targetColumn = {};  // transfers only: the account the money reaches
    // Where a typed category or contact is created (TfrmDM::mySaveNew); empty for transfers.
    QString nameTable = {};
    QString nameTableColumn = {};
    bool nameBeforeMember = true;  // categories are created before the member, contacts after
    // theType of the journal rows; empty means the posting's own name (its category).
    QString journalType = {};
    // +1 when saving a new posting raises its account (income, a debt), -1 when it lowers it.
    // A transfer lowers its source and raises its target.
    int sign = 1;
    bool raisesCounts = false;   // a new posting raises the usage counts of category and account
    bool extendsRemark = false;  // a new transfer appends " source->target" to its remark
    bool canDeleteAll = false;
    QString amountLabel = QStringLiteral("金额");  // names the amount in the not-a-number message
    bool GlobalState::*openFlag = nullptr;
    OpenFilter openFilter = OpenFilter::ThisMonth;
    QString reminderWord = {};  // the kind word of the monthly reminders; empty: none
    std::vector<Check> checks = {};
    DeleteGuard deleteGuard = {};
    // The popup menu's filter items, in menu order.
    std::vector<FilterItem> filterItems = {};

    static const PostingKind& income();
    static const PostingKind& expense();
    static const PostingKind& transfer();
    static const PostingKind& debt();        // Borrow: what the household owes
    static const PostingKind& credit();      // Debt: what others owe the household
    static const PostingKind& investment();  // TTable
    // Every kind known so far, in menu order.
    static const std::vector<const PostingKind*>& all();
    // nullptr when no kind answers to the word or the table.
    static const PostingKind* byCliName(const QString& word);
    static const PostingKind* byTable(const QString& table);

    bool isTransfer() const { return !targetColumn.isEmpty(); }
    // The journal's theType for a posting of this kind named `name`.
    QString journalTypeFor(const QString& name) const {
        return journalType.isEmpty() ? name : journalType;
    }

    // The list filters of the screens. A month is "yyyy-mm"; dates compare as text.
    Filter everything() const { return {}; }
    Filter monthOf(const QString& yearMonth) const;
    Filter before(const QString& yearMonth) const;
    // Debts, credits, investments: what is still owed or invested, and what is settled (exactly
    // 0; amounts are stored in cents, so a settled one is 0, not nearly 0). A negative amount
    // is neither.
    Filter outstanding() const;
    Filter settled() const;
    // The filter of a popup-menu item; the month is the current one at the time of the click.
    Filter filterOf(ListFilter which, const QString& yearMonth) const;
    // The filter at open: the book's flag decides, the month is the current one.
    Filter atOpen(const GlobalState& state, const QString& yearMonth) const;
    // The list order of the book's posting sort code.
    QString sortClause(const QString& jzpx) const;
};

}  // namespace cw
