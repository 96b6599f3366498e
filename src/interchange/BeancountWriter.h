#pragma once

#include <QHash>
#include <QSet>

#include "interchange/EntryWriter.h"

namespace cw {

// A beancount file. Its account names must start with one of the five English roots, and the
// component after the root with an upper-case letter or a digit: the fixed words are
// translated ("资产:现金:钱包" is "Assets:Cash:钱包"), a user's name in that place gets its
// pinyin code in front ("收入:工资" is "Income:GZ-工资"). Blanks and ASCII signs other than '-'
// become '-'; names that would meet get a number.
class BeancountWriter : public EntryWriter {
  public:
    using EntryWriter::EntryWriter;
    void begin(const QString& book, const QStringList& accounts, const QString& openDate) override;
    void entry(const BookEntry& e) override;

    // The beancount name of a path, without regard to names already given.
    static QString translate(const QString& path);

  private:
    QString name(const QString& path);
    static QString quoted(const QString& text);

    QHash<QString, QString> names_;
    QSet<QString> taken_;
};

}  // namespace cw
