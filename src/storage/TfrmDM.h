#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "storage/Clock.h"
#include "storage/GlobalState.h"
#include "storage/Database.h"

namespace cw {

// The shared data services: balance moves, the journal row, usage counts and states,
// creation of names typed into a posting, month sums, the lists behind drop-down boxes
// and the name search. Every statement is restricted to the open book and binds its values.
class TfrmDM {
  public:
    TfrmDM(Database& db, GlobalState& state, Clock clock = Clock::system());

    Database& db() { return db_; }
    GlobalState& state() { return state_; }
    const Clock& clock() const { return clock_; }
    const QString& book() const { return state_.myBName; }

    // Balances and the journal. Balances are stored rounded to cents.
    void AccountUp(double amount, const QString& account);
    void AccountDown(double amount, const QString& account);
    // The balance as plain text; "0" when the book has no such account.
    QString RetAMoney(const QString& account);
    double balance(const QString& account);
    // Writes one journal row carrying the account's balance as it is now (callers move the
    // balance first). Returns the new row's ID.
    qint64 List_Add(const QString& theDate, const QString& theType, const QString& remark,
                    double theIn, double theOut, const QString& account, const QString& member,
                    const QString& theT, qint64 theID, const QString& theE);
    // The highest ID of a table as text, empty when the table is empty.
    QString myRetID(const QString& table);

    // Usage counts, states and names created on save.
    void myCountUp(const QString& table, const QString& nameColumn, const QString& name);
    void myState(const QString& table, const QString& state, qint64 id);
    // Creates an enabled category or contact of the book unless the name exists (in any state).
    bool mySaveNew(const QString& table, const QString& nameColumn, const QString& name);
    bool NewFamily(const QString& member);
    // Creates a cash account with balance 0 owned by member unless the book has the name.
    bool NewAccount(const QString& account, const QString& member);

    // A single write with bound values; returns the number of rows changed.
    template <typename... Args>
    int myESql(const QString& sql, const Args&... args) {
        state_.mySQL = sql;
        return db_.exec(sql, args...);
    }

    // The member's total of the current month (by the clock at the time of the call).
    double myRetMMoney(const QString& table, const QString& member, const QString& moneyColumn,
                       const QString& dateColumn);

    // Drop-down lists of the open book: enabled names in the book's list order.
    QStringList ComInType();
    QStringList ComOutType();
    QStringList ComTZType();
    QStringList ComPType();
    QStringList ComAccount();
    QStringList ComFamily();
    QStringList DBComInType() { return ComInType(); }
    QStringList DBComOutType() { return ComOutType(); }
    QStringList DBComTZType() { return ComTZType(); }
    QStringList DBComPType() { return ComPType(); }
    QStringList DBComAccount() { return ComAccount(); }
    QStringList DBComFamily() { return ComFamily(); }
    QStringList DBComSBook();
    QStringList DBComSAType();
    // The journal kinds of the open book.
    QStringList DBComSZType();

    // The name search of the type-ahead boxes: the names of the book (enabled ones, members
    // always) containing the typed text in the name or in its pinyin code, Latin letters in
    // either case. Returns the full name when exactly one row matches.
    std::optional<QString> mySelectCom(const QString& typed, const QString& nameColumn,
                                       const QString& table);
    QStringList searchNames(const QString& typed, const QString& nameColumn, const QString& table,
                            int limit = -1);

    // Shows or hides the book-dependent menus; the main window installs the switch.
    void setMenuSwitch(std::function<void(bool)> menuSwitch) {
        menuSwitch_ = std::move(menuSwitch);
    }
    void myShow(bool on);

    // Start and end of a month's dates as a half-open text range, so month selections use
    // the date indexes: [yyyy-mm, yyyy-mm with its last character raised).
    static std::pair<QString, QString> monthRange(const QString& yearMonth);

  private:
    void moveBalance(double delta, const QString& account);
    QStringList namesOf(const QString& table, const QString& nameColumn);

    Database& db_;
    GlobalState& state_;
    Clock clock_;
    std::function<void(bool)> menuSwitch_;
};

}  // namespace cw
