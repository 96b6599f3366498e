#pragma once

#include <QString>
#include <QVariant>
#include <optional>
#include <utility>
#include <vector>

#include "reference/ReferenceList.h"
#include "storage/Query.h"

namespace cw {

class TfrmDM;

// What the managers write to a list of the open book: add, modify with the rename carried
// into every place that stores the name, delete, enable/disable, pinyin code and usage
// count. Each is one transaction; a refusal or an engine error leaves the file as it was.
//
// Where the managers used to leave things open, this program:
// - refuses a rename onto a name another row of the book already has, with the list's
//   duplicate message: two rows of one name would merge their postings and balances;
// - treats a name of blanks only as empty; other names are stored exactly as typed;
// - finds a row by its ID within the open book only ("找不到这条记录！" otherwise);
// - keeps a member's stored birthday unless the modification brings one;
// - refuses an account with a balance other than 0 in cents, whatever the list shows.
class ReferenceManager {
  public:
    // The field a refusal sends the user back to.
    enum class Field { None, Name, Remark, Cap, Type, Member, Amount, Pinyin, Count };

    // Done (message empty; id the row written) or refused with the message and its field.
    struct Result {
        QString message;
        Field focus = Field::None;
        qint64 id = 0;
        bool ok() const { return message.isEmpty(); }
    };

    // The entry fields of a row, as the screens hold them. Each list reads its own.
    struct Entry {
        QString name;
        QString remark;
        QString cap;       // expense categories: the monthly cap as typed; empty means none
        QString relation;  // members
        // Members: the birthday to store ("" for none); left unset, a modification keeps the
        // stored one and a new member has none.
        std::optional<QString> birthday;
        QString type;    // accounts: the account type
        QString member;  // accounts: the owner
        QString amount;  // accounts: the opening balance as typed
    };

    static const QString kNotFound;
    static const QString kEnabled;
    static const QString kDisabled;

    ReferenceManager(TfrmDM& dm, const ReferenceList& list);
    ReferenceManager(TfrmDM& dm, ReferenceList::Kind kind);

    const ReferenceList& list() const { return list_; }

    // The manager's rows of the open book, in the book's list order.
    Query rows();
    // The stored name of a row of the open book; empty when there is none.
    QString nameOf(qint64 id);

    // New row, enabled with count 0; an account also books its opening in the journal.
    Result add(const Entry& entry);
    // The row rewritten from the entry (pinyin code regenerated from the name); a new name is
    // carried into every place of the book that stores the old one, the defaults included.
    Result modify(qint64 id, const Entry& entry);
    // A refusal to show before asking whether to delete; ok when the row may go.
    Result checkRemove(qint64 id);
    // Postings and plans keep the name of a deleted row.
    Result remove(qint64 id);
    void setState(qint64 id, bool enabled);
    Result setPinyin(qint64 id, const QString& code);
    Result setCount(qint64 id, const QString& count);

  private:
    using Columns = std::vector<std::pair<QString, QVariant>>;

    Result checkEntry(const Entry& entry, double* cap) const;
    Columns entryColumns(const Entry& entry, double cap) const;
    bool nameTaken(const QString& name, qint64 exceptId);
    void rename(const QString& from, const QString& to);
    void updateRow(qint64 id, const Columns& columns);
    int updateById(qint64 id, const QString& column, const QVariant& value);

    TfrmDM& dm_;
    const ReferenceList& list_;
};

}  // namespace cw
