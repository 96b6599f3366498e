#pragma once

#include <QString>
#include <QStringList>
#include <array>

#include "storage/Query.h"

namespace cw {

class TfrmDM;

// Creating a book. The first-book wizard writes the book with its seeded categories and its
// settings row, then members and accounts one at a time; an additional book fills each of
// its six lists from another book, from the seeds or not at all. Every action that writes
// is one transaction: a refused or failing action leaves the file as it was.
class BookCreation {
  public:
    // The field a refused action sends the user back to.
    enum class Field {
        None,  // the message alone; the focus stays where it is
        BookName,
        Password,
        MemberName,
        AccountType,
        AccountMember,
        AccountName,
        Amount,
        SourceBook,  // the book list of the group named in Result::group
    };

    // The six lists of an additional book, in the order they are written.
    enum Group { Income, Expense, Investment, Members, Accounts, Contacts, GroupCount };
    enum class Fill { Copy, Seed, Empty };
    struct GroupChoice {
        Fill fill = Fill::Empty;
        QString sourceBook;  // the book copied from when fill is Copy
    };
    using Groups = std::array<GroupChoice, GroupCount>;

    // Done (message empty; id names the row written, where there is one) or refused with the
    // message to show and the field to focus.
    struct Result {
        QString message;
        Field focus = Field::None;
        int group = -1;
        qint64 id = 0;
        bool ok() const { return message.isEmpty(); }
    };

    // Longest book name, in characters: what the wizard's and the rename dialog's fields take.
    static constexpr int kMaxBookNameLength = 20;

    explicit BookCreation(TfrmDM& dm);

    // The default categories of a new book, in the order they are inserted.
    static const QStringList& incomeSeeds();
    static const QStringList& expenseSeeds();
    static const QStringList& investmentSeeds();
    // Categories seeded, members, accounts and contacts left empty.
    static Groups defaultGroups();
    // "我家账簿", numbered by the books already there so the offer is rarely taken.
    static QString defaultBookName(int bookCount);

    int bookCount();
    bool bookExists(const QString& name);

    // The checks of both new-book windows, first failure wins: password confirmation, empty
    // name, a name already taken.
    Result checkNewBook(const QString& name, const QString& password, const QString& confirm);
    // The first failing group: a copy without a book to copy from.
    static Result checkGroups(const Groups& groups);

    // Writes the book, the ticked seed lists and the settings row; on success the new book
    // becomes myBName, since the member and account steps work on it before any login.
    Result createFirstBook(const QString& name, const QString& password, const QString& remark,
                           bool seedIncome, bool seedExpense, bool seedInvestment);
    // Every check first, then the book, its six lists and its settings row together.
    // myBName is left alone: the new book is opened by logging in.
    Result createAdditionalBook(const QString& name, const QString& password, const QString& remark,
                                const Groups& groups);

    // Members and accounts of the open book (myBName), as the wizard's steps enter them.
    Query members();
    Query accounts();
    Result addMember(const QString& name, const QString& relation, const QString& birthday,
                     const QString& remark);
    void deleteMember(qint64 id);
    // The account checks in the order the step shows them; the amount as typed.
    Result checkAccount(const QString& type, const QString& member, const QString& name,
                        const QString& amountText);
    // The account with its opening amount, and the journal row "开户" that explains it.
    Result openAccount(const QString& type, const QString& member, const QString& name,
                       double amount, const QString& remark);
    // Money would vanish with an account that still holds some, so only an empty one goes.
    Result checkDeleteAccount(qint64 id);
    Result deleteAccount(qint64 id);

  private:
    QString today() const;
    bool bookHasMember(const QString& name);
    bool bookHasAccount(const QString& name);
    void insertBook(const QString& name, const QString& password, const QString& remark);
    void insertSettings(const QString& book);
    void seed(Group group, const QString& book);
    void copy(Group group, const QString& from, const QString& to);
    void copyAccounts(const QString& from, const QString& to);

    TfrmDM& dm_;
};

}  // namespace cw
