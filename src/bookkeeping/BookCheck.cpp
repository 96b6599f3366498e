#include "bookkeeping/BookCheck.h"

#include <QHash>

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
                               .arg(a.name, money(a.balance))
                               .arg(j.rows)
                               .arg(money(j.total));
        }
        if (j.rows > 0 && j.lastBalance != a.balance) {
            differences << QStringLiteral(
                               "账户「%1」：账户余额 %2，最后一条流水（ID %3）的本次余额为 %4")
                               .arg(a.name, money(a.balance))
                               .arg(j.last)
                               .arg(money(j.lastBalance));
        }
    }
}

}  // namespace cw
