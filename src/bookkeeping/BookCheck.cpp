#include "bookkeeping/BookCheck.h"

#include <QHash>
#include <QSet>

#include "bookkeeping/SubPostingKind.h"
#include "storage/Money.h"
#include "storage/TfrmDM.h"

namespace cw {

namespace {

QString money(qint64 cents) {
    return Money::plain(double(cents) / 100.0);
}

}  // namespace

BookCheck::BookCheck(TfrmDM& dm) : dm_(dm) {
    addRule(&BookCheck::checkAccounts);
    addRule(&BookCheck::checkOutstanding);
    addRule(&BookCheck::checkTotals);
}

void BookCheck::checkTotals(TfrmDM& dm, QStringList& differences) {
    struct Table {
        QString table, column, caption;
    };
    const Table tables[] = {{QStringLiteral("InTable"), QStringLiteral("IMoney"), QStringLiteral("收入")},
                            {QStringLiteral("OutTable"), QStringLiteral("OMoney"), QStringLiteral("支出")}};
    for (const Table& t : tables) {
        Statement kept = dm.db().prepare(
            QStringLiteral("SELECT theCents, theCount FROM SBookSum WHERE BName=? AND theT=?"));
        kept.bindAll(dm.book(), t.table);
        const bool has = kept.step();
        const qint64 keptCents = has ? kept.integer(0) : 0;
        const qint64 keptCount = has ? kept.integer(1) : 0;
        Statement sum = dm.db().prepare(
            QStringLiteral("SELECT Sum(CAST(round(%1 * 100) AS INTEGER)), Count(*) FROM %2 "
                           "WHERE BName=?")
                .arg(t.column, t.table));
        sum.bindAll(dm.book());
        sum.step();
        const qint64 cents = sum.integer(0);
        const qint64 count = sum.integer(1);
        if (cents != keptCents || count != keptCount) {
            differences << QStringLiteral("%1合计：记下的是 %2（%3 笔），按记录重算应为 %4（%5 笔）")
                               .arg(t.caption, money(keptCents), QString::number(keptCount),
                                    money(cents), QString::number(count));
        }
    }
}

void BookCheck::addRule(Rule rule) {
    rules_.push_back(std::move(rule));
}

QStringList BookCheck::check() {
    QStringList differences;
    for (const Rule& rule : rules_) rule(dm_, differences);
    return differences;
}

void BookCheck::checkAccounts(TfrmDM& dm, QStringList& differences) {
    Database& db = dm.db();
    const QString book = dm.book();
    struct Account {
        QString name;
        qint64 balance = 0;  // cents
        qint64 from = 0;     // the first journal row that is its own
    };
    std::vector<Account> accounts;
    {
        Query q = db.query(
            QStringLiteral("SELECT ID, AName, AMoney FROM SAccount WHERE BName=? ORDER BY ID"),
            book);
        Statement opening =
            db.prepare(QStringLiteral("SELECT min(ID) FROM UList WHERE theT='SAccount' AND theID=? "
                                      "AND theType='开户' AND BName=? AND AName=?"));
        for (q.first(); !q.eof(); q.next()) {
            Account a{q.text(QStringLiteral("AName")),
                      Money::cents(q.number(QStringLiteral("AMoney")))};
            opening.reset();
            opening.bindAll(q.integer(QStringLiteral("ID")), book, a.name);
            if (opening.step() && !opening.isNull(0)) a.from = opening.integer(0);
            accounts.push_back(a);
        }
    }
    if (accounts.empty()) return;

    QHash<QString, size_t> byName;
    for (size_t i = 0; i < accounts.size(); ++i) byName.insert(accounts[i].name, i);

    // One pass over the journal in the order of events, for every account at once: reading the
    // rows of one account after another through an index would jump about the whole file.
    // Amounts are summed in whole cents; every stored amount is already rounded to cents, so
    // the sum is exact however many rows the journal holds.
    struct Journal {
        qint64 rows = 0, total = 0, last = 0, lastBalance = 0;
    };
    std::vector<Journal> journal(accounts.size());
    Statement scan =
        db.prepare(QStringLiteral("SELECT AName, ID, theIn, theOut, AMoney FROM UList NOT INDEXED "
                                  "WHERE BName=? ORDER BY ID"));
    scan.bindAll(book);
    while (scan.step()) {
        const auto found = byName.constFind(scan.text(0));
        if (found == byName.cend()) continue;
        const qint64 id = scan.integer(1);
        if (id < accounts[*found].from) continue;
        Journal& j = journal[*found];
        ++j.rows;
        j.total += Money::cents(scan.number(2)) - Money::cents(scan.number(3));
        j.last = id;
        j.lastBalance = Money::cents(scan.number(4));
    }

    for (size_t i = 0; i < accounts.size(); ++i) {
        const Account& a = accounts[i];
        const Journal& j = journal[i];
        if (j.total != a.balance) {
            differences << QStringLiteral("账户「%1」：账户余额 %2，按开户和 %3 条流水重算应为 %4")
                               .arg(a.name, money(a.balance), QString::number(j.rows),
                                    money(j.total));
        }
        if (j.rows > 0 && j.lastBalance != a.balance) {
            differences << QStringLiteral(
                               "账户「%1」：账户余额 %2，最后一条流水（ID %3）的本次余额为 %4")
                               .arg(a.name, money(a.balance), QString::number(j.last),
                                    money(j.lastBalance));
        }
    }
}

namespace {

// What one parent's records say, in cents.
struct Recomputed {
    qint64 booked = 0;     // by its own journal rows, in the direction of the parent's amount
    qint64 changes = 0;    // increases less decreases
    qint64 principal = 0;  // repaid, collected, or the principal taken back
    qint64 settled = 0;    // repaid, collected, or the gain
};

void checkFamily(TfrmDM& dm, const SubPostingKind& sub, QStringList& differences) {
    const PostingKind& kind = *sub.parent;
    Database& db = dm.db();
    const QString book = dm.book();
    QHash<qint64, Recomputed> figures;
    {
        Statement st = db.prepare(
            QStringLiteral("SELECT theID, theIn, theOut FROM UList WHERE theT=? AND BName=?"));
        st.bindAll(kind.table, book);
        while (st.step()) {
            figures[st.integer(0)].booked +=
                kind.sign * (Money::cents(st.number(1)) - Money::cents(st.number(2)));
        }
    }
    {
        Statement st = db.prepare(QStringLiteral("SELECT %1, theMoney FROM %2 WHERE BName=?")
                                      .arg(sub.changeKey, sub.changeTable));
        st.bindAll(book);
        while (st.step()) figures[st.integer(0)].changes += Money::cents(st.number(1));
    }
    struct Orphan {
        qint64 id, parent;
    };
    std::vector<Orphan> settlements;
    {
        Statement st = db.prepare(
            QStringLiteral("SELECT ID, %1, RMoney, %2 FROM %3 WHERE BName=?")
                .arg(sub.settleKey,
                     sub.hasProfit() ? QStringLiteral("SMoney") : QStringLiteral("RMoney"),
                     sub.settleTable));
        st.bindAll(book);
        while (st.step()) {
            Recomputed& r = figures[st.integer(1)];
            r.principal += Money::cents(st.number(2));
            r.settled += Money::cents(st.number(3));
            settlements.push_back({st.integer(0), st.integer(1)});
        }
    }

    QSet<qint64> parents;
    Statement st =
        db.prepare(QStringLiteral("SELECT ID, %1, %2, %3 FROM %4 WHERE BName=? ORDER BY ID")
                       .arg(kind.nameColumn, kind.moneyColumn, sub.runningColumn, kind.table));
    st.bindAll(book);
    while (st.step()) {
        const qint64 id = st.integer(0);
        parents.insert(id);
        const QString who = QStringLiteral("%1「%2」（ID %3）：")
                                .arg(kind.caption, st.text(1), QString::number(id));
        const Recomputed r = figures.value(id);
        const qint64 outstanding = Money::cents(st.number(2));
        const qint64 expected = r.booked + r.changes - r.principal;
        const bool writtenOff = sub.writesOff && outstanding < expected;
        if (outstanding != expected && !writtenOff) {
            differences << who + QStringLiteral("%1 %2，按记账、增减和%3重算应为 %4")
                                     .arg(kind.amountLabel, money(outstanding), sub.settleRecords,
                                          money(expected));
        }
        const qint64 running = Money::cents(st.number(3));
        if (running != r.settled) {
            differences << who + QStringLiteral("%1 %2，按%3重算应为 %4")
                                     .arg(sub.runningLabel, money(running), sub.settleRecords,
                                          money(r.settled));
        }
    }
    for (const Orphan& o : settlements) {
        if (parents.contains(o.parent)) continue;
        differences << QStringLiteral("%1（ID %2）：所属%3（ID %4）已不存在")
                           .arg(sub.settleRecords, QString::number(o.id), kind.caption,
                                QString::number(o.parent));
    }
}

}  // namespace

void BookCheck::checkOutstanding(TfrmDM& dm, QStringList& differences) {
    for (const SubPostingKind* sub :
         {&SubPostingKind::debt(), &SubPostingKind::credit(), &SubPostingKind::investment()}) {
        checkFamily(dm, *sub, differences);
    }
}

}  // namespace cw
