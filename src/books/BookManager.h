#pragma once

#include <QString>
#include <QStringList>

#include "storage/Query.h"

namespace cw {

class TfrmDM;

// Renaming and deleting books. A book owns its rows by name (BName) in every per-book table,
// so a rename rewrites the name everywhere and a delete removes the rows everywhere, the
// notes included, each as one transaction: an error halfway leaves every table as it was.
class BookManager {
  public:
    // Done (message empty) or refused with the message to show.
    struct Result {
        QString message;
        bool ok() const { return message.isEmpty(); }
    };

    static const QString kRenamed;  // shown after a rename, before the program ends
    static const QString kDeleteQuestion;

    explicit BookManager(TfrmDM& dm);

    // Every table whose rows belong to a book, in the order a rename rewrites them.
    static const QStringList& renameTables();
    // The same tables in the order a delete empties them; the book's own row goes last.
    static const QStringList& deleteTables();

    // All books, newest first, with the manager's column titles (ID hidden).
    Query books();
    bool exists(const QString& name);

    // Checks in order: empty, unchanged, too long or holding a control character, taken by
    // another book, unknown old name; then
    // the new name is written into every table. The open book follows its new name.
    Result rename(const QString& oldName, const QString& newName);
    // Refuses the open book; otherwise the book and every row it owns go.
    Result remove(const QString& name);

  private:
    TfrmDM& dm_;
};

}  // namespace cw
