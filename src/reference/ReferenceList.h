#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "storage/GlobalState.h"

namespace cw {

// One list of a book's reference data (members, contacts, accounts, the three category
// lists) described once: where its rows live, how its manager lists them, how its name
// reads in messages, and every place that stores the name as text, so a rename reaches
// all of them. The managers are one design driven by these descriptions.
class ReferenceList {
  public:
    enum Kind { Income, Expense, Investment, Members, Contacts, Accounts, KindCount };

    // One place that stores the name: table.column of the same book. A plan names a category
    // or a contact in the same column, so there the rename keeps to the plan kinds given.
    struct Cascade {
        QString table;
        QString column;
        QStringList planKinds;
    };

    static const ReferenceList& of(Kind kind);
    // The list kept in table ("InD", "SFamily", …); nullptr for any other table.
    static const ReferenceList* ofTable(const QString& table);

    Kind kind = Income;
    QString table;
    QString nameColumn;
    // How the name is called in messages; it is also its column title in the manager.
    QString label;
    // The manager's columns with their titles, in the order shown.
    QString columns;
    QStringList hiddenColumns;
    QStringList moneyColumns;
    // Rows with a state (启用/停用) and a usage count; members have neither.
    bool hasState = true;
    // Listed in the book's drop-down order (myPX); members are listed as entered.
    bool ordered = true;
    std::vector<Cascade> cascade;
    // The book's default of this list, kept in step with SMRX while the book is open.
    QString GlobalState::*defaultName = nullptr;

    QString emptyMessage() const { return label + QStringLiteral("不能为空！请重新录入！"); }
    QString duplicateMessage() const { return label + QStringLiteral("添加重复！"); }
    // The manager's list statement for the open book (one bound value: the book) in the
    // order of sort code px.
    QString listSql(const QString& px) const;
};

}  // namespace cw
