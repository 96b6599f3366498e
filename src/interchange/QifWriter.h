#pragma once

#include <QHash>
#include <QList>

#include "interchange/EntryWriter.h"

namespace cw {

// A QIF file: one section per money account (!Type:CCard for credit cards, !Type:Bank for the
// rest), each movement with date, amount, what it was, the other side and the remark. The
// other side is a category for income and expense, "[account]" for the rest. The sections are
// gathered in memory, since the entries come table by table, not account by account.
class QifWriter : public EntryWriter {
  public:
    using EntryWriter::EntryWriter;
    void begin(const QString& book, const QStringList& accounts, const QString& openDate) override;
    void entry(const BookEntry& e) override;
    bool end() override;

  private:
    static QString lastPart(const QString& path);
    static QString otherSide(const QString& path);

    QList<QString> order_;
    QHash<QString, QByteArray> sections_;
};

}  // namespace cw
