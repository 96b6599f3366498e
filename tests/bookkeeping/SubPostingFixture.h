#pragma once

#include "bookkeeping/BookkeepingFixture.h"
#include "bookkeeping/SubPostingRules.h"

namespace cw::test {

using Posting = PostingRules::Posting;
using Entry = SubPostingRules::Entry;
using Change = SubPostingRules::Change;
using SubField = SubPostingRules::Field;
using Rows = std::vector<JournalRow>;

inline const QString kBook = QStringLiteral("我家账簿");
inline const QString kCash = QStringLiteral("现金");
inline const QString kBank = QStringLiteral("工行卡");
inline const QString kDad = QStringLiteral("爸爸");
inline const QString kMum = QStringLiteral("妈妈");
inline const QString kToday = QStringLiteral("2026-12-09");  // TempDataFile's day

// A journal row of the open book.
inline JournalRow row(const QString& date, const QString& type, const QString& remark, double in,
                      double out, const QString& account, double after, const QString& member,
                      const QString& table, qint64 id, const QString& event) {
    return {date, type, remark, in, out, account, after, member, kBook, table, id, event};
}

// The message of a refusal, or "not refused".
template <typename Operation>
QString refusal(Operation&& operation) {
    try {
        operation();
    } catch (const PostingRules::Refused& e) {
        return e.message();
    }
    return QStringLiteral("not refused");
}

// A book with two members and two opened accounts: 现金 100 (爸爸), 工行卡 1000 (妈妈).
class SubPostingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        f.addBook(kBook);
        f.dm().NewFamily(kDad);
        f.dm().NewFamily(kMum);
        openAccount(f, kCash, 100, kDad);
        openAccount(f, kBank, 1000, kMum);
        mark_ = lastJournalId(f.db());
    }

    PostingRules rules() { return PostingRules(f.dm()); }
    SubPostingRules subs() { return SubPostingRules(f.dm()); }

    // The journal rows written since the last call.
    Rows newRows() {
        Rows rows = journalAfter(f.db(), mark_);
        mark_ = lastJournalId(f.db());
        return rows;
    }

    double balance(const QString& account) { return f.dm().balance(account); }

    // The parent's outstanding amount and running total, as stored.
    std::pair<double, double> figures(const PostingKind& kind, qint64 id) {
        const std::optional<SubPostingRules::Parent> p = subs().parent(kind, id);
        EXPECT_TRUE(p) << "no parent " << id;
        return p ? std::pair{p->outstanding, p->running} : std::pair{-1.0, -1.0};
    }

    std::vector<qint64> listed(const PostingKind& kind, PostingKind::ListFilter which) {
        return rules().listIds(kind, kind.filterOf(which, QStringLiteral("2026-12")));
    }

    int rowsOf(const QString& table, const QString& where = QStringLiteral("1")) {
        return int(
            f.db()
                .query(QStringLiteral("SELECT count(*) AS n FROM %1 WHERE %2").arg(table, where))
                .integer(QStringLiteral("n")));
    }

    void expectConsistent() { EXPECT_EQ(BookCheck(f.dm()).check(), QStringList()); }

    TempDataFile f;
    qint64 mark_ = 0;
};

// A debt, credit or investment as the main screens take it.
inline Posting parentPosting(const QString& date, const QString& name, const QString& amount,
                             const QString& account, const QString& member,
                             const QString& remark = QString()) {
    return {date, name, amount, account, QString(), member, remark};
}

inline Entry entry(const QString& date, const QString& amount, const QString& account,
                   const QString& member, const QString& remark = QString()) {
    return {date, amount, QString(), account, member, remark};
}

inline Entry returnEntry(const QString& date, const QString& principal, const QString& profit,
                         const QString& account, const QString& member,
                         const QString& remark = QString()) {
    return {date, principal, profit, account, member, remark};
}

}  // namespace cw::test
