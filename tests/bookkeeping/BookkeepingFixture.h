#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "bookkeeping/BookCheck.h"
#include "bookkeeping/PostingRules.h"
#include "storage/Money.h"
#include "support/TempDataFile.h"

// Failures show texts as text.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace cw::test {

// One journal row, every column; money compared in cents.
struct JournalRow {
    QString theDate, theType, Remark;
    double theIn = 0, theOut = 0;
    QString AName;
    double AMoney = 0;
    QString FName, BName, theT;
    qint64 theID = 0;
    QString theE;

    bool operator==(const JournalRow& o) const {
        return theDate == o.theDate && theType == o.theType && Remark == o.Remark &&
               Money::equal(theIn, o.theIn) && Money::equal(theOut, o.theOut) && AName == o.AName &&
               Money::equal(AMoney, o.AMoney) && FName == o.FName && BName == o.BName &&
               theT == o.theT && theID == o.theID && theE == o.theE;
    }
};

inline void PrintTo(const JournalRow& r, std::ostream* os) {
    *os << "{" << qPrintable(r.theDate) << " | " << qPrintable(r.theType) << " | "
        << qPrintable(r.Remark) << " | in " << r.theIn << " | out " << r.theOut << " | "
        << qPrintable(r.AName) << " | after " << r.AMoney << " | " << qPrintable(r.FName) << " | "
        << qPrintable(r.BName) << " | " << qPrintable(r.theT) << " #" << r.theID << " | "
        << qPrintable(r.theE) << "}";
}

inline qint64 lastJournalId(Database& db) {
    return db.query(QStringLiteral("SELECT coalesce(max(ID),0) AS n FROM UList"))
        .integer(QStringLiteral("n"));
}

// The journal rows written after row `after`, of every book, in the order of events.
inline std::vector<JournalRow> journalAfter(Database& db, qint64 after) {
    Query q = db.query(
        QStringLiteral("SELECT theDate, theType, Remark, theIn, theOut, AName, AMoney, FName, "
                       "BName, theT, theID, theE FROM UList WHERE ID>? ORDER BY ID"),
        after);
    std::vector<JournalRow> rows;
    for (q.first(); !q.eof(); q.next()) {
        rows.push_back({q.text("theDate"), q.text("theType"), q.text("Remark"), q.number("theIn"),
                        q.number("theOut"), q.text("AName"), q.number("AMoney"), q.text("FName"),
                        q.text("BName"), q.text("theT"), q.integer("theID"), q.text("theE")});
    }
    return rows;
}

// Opens an account of the open book as the account manager does: the row with its opening
// balance, then its "开户" journal row dated today.
inline qint64 openAccount(TempDataFile& f, const QString& name, double amount,
                          const QString& member = QString()) {
    f.addAccount(name, amount, member);
    const qint64 id = f.db().lastInsertId();
    f.dm().List_Add(f.state().myToday, QStringLiteral("开户"), QString(), amount, 0, name, member,
                    QStringLiteral("SAccount"), id, QStringLiteral("新增"));
    return id;
}

}  // namespace cw::test
