#pragma once

#include <QString>
#include <vector>

#include "storage/GlobalState.h"
#include "bookkeeping/PostingKind.h"

namespace cw {

class TfrmDM;

// What a posting screen shows of one kind: the list's columns and titles, the entry panel's
// labels and drop-downs, the list's popup menu and the query dialog's criteria. The rules
// (table, money movements, checks and their messages) stay in PostingKind; this is the
// screen's side of the same kind, so every posting screen is PostingScreen over one of these.
//
// A plain aggregate like PostingKind: a further kind describes itself the same way and, where
// it needs more than the shared design (sub-dialogs), names its popup commands here and binds
// them in its own screen class.
class PostingLayout {
  public:
    // The fields of the entry panel. Date and the names are shown as read-only texts of the
    // current row while browsing, and as a date picker and drop-downs while a posting is
    // entered; amount and remark are typed into in place.
    enum class Field { Date, Name, Amount, Account, Target, Member, Remark };

    // A list column: the table's column and its title (the alias the handlers read it by).
    struct Column {
        QString column;
        QString title;
    };

    using Filler = QStringList (TfrmDM::*)();

    struct EntryRow {
        Field field;
        QString label;             // "收入类别："
        QString title;             // the list column it shows while browsing: "收入类别"
        Filler filler = {};        // fills the drop-down at open
        QString searchTable = {};  // the type-ahead's table and column
        QString searchColumn = {};
        QString GlobalState::*preset = nullptr;  // the book's default New puts in
    };

    // One item of the list's popup menu. Filters stands for the kind's own filter items
    // (PostingKind::filterItems), in their order. A command is left to the kind's own screen
    // class, which finds the action by its caption and binds it.
    struct PopupItem {
        enum class Type { Filters, Separator, DeleteAll, Command };
        Type type;
        QString caption = {};
    };

    // One criterion of the query dialog, in the order the condition is built.
    struct Criterion {
        enum class Type {
            Dates,       // two date pickers, "至：" between, ticked at start
            TypedName,   // editable drop-down with type-ahead
            PickedName,  // pick-list
            Text,        // remark text, matched anywhere
        };
        Type type;
        QString caption;  // the check box
        QString column;
        Filler filler = {};
        QString searchTable = {};
        QString searchColumn = {};
    };

    struct Query {
        QString className;  // "TfrmInTable_Q"
        QString caption;    // "收入查询"
        std::vector<Criterion> criteria;
    };

    const PostingKind* kind;
    QString group;                // the entry panel's caption
    std::vector<Column> columns;  // the visible columns, in order
    std::vector<EntryRow> entry;  // the entry panel's fields, in order
    std::vector<PopupItem> popup;
    Query query;

    static const PostingLayout& income();
    static const PostingLayout& expense();
    static const PostingLayout& transfer();
    // Debts, credits and investments: their sub-dialogs are popup commands, bound by their
    // screens (SettledPostingScreen); their filters come last and there is no delete-all.
    static const PostingLayout& debt();
    static const PostingLayout& credit();
    static const PostingLayout& investment();

    // The row of a field; nullptr when the kind has no such field.
    const EntryRow* row(Field field) const;
    // The list title of a table column, empty when the list does not show it.
    QString titleOf(const QString& column) const;
    // The table column behind a list title, empty when there is none.
    QString columnOf(const QString& title) const;

    // The popup of the income, expense and transfer lists: the filters, then delete-all.
    static std::vector<PopupItem> filtersAndDeleteAll();
};

}  // namespace cw
