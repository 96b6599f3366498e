#include "import/bills/BillImport.h"

#include <QSet>

#include "bookkeeping/PostingKind.h"
#include "import/SpreadsheetImport.h"
#include "storage/Money.h"
#include "storage/TfrmDM.h"
#include "storage/Transaction.h"

namespace cw {

namespace {

constexpr int kNameBytes = 20;
constexpr int kRemarkBytes = 60;

QString mapCode(BillImport::MapKind kind) {
    switch (kind) {
        case BillImport::MapKind::Account:
            return QStringLiteral("AName");
        case BillImport::MapKind::Income:
            return QStringLiteral("IName");
        case BillImport::MapKind::Expense:
            return QStringLiteral("OName");
    }
    return QString();
}

}  // namespace

BillImport::BillImport(TfrmDM& dm) : dm_(dm) {}

QString BillImport::mapped(MapKind kind, const QString& key) {
    if (key.isEmpty()) return QString();
    const Query q = dm_.db().query(
        QStringLiteral("SELECT theName FROM SBillMap WHERE BName=? AND theT=? AND theKey=?"),
        dm_.book(), mapCode(kind), key);
    return q.isEmpty() ? QString() : q.value(0, 0).toString();
}

void BillImport::remember(MapKind kind, const QString& key, const QString& name) {
    if (key.isEmpty() || name.isEmpty()) return;
    Transaction tx(dm_.db());
    dm_.db().exec(QStringLiteral("DELETE FROM SBillMap WHERE BName=? AND theT=? AND theKey=?"),
                  dm_.book(), mapCode(kind), key);
    dm_.db().exec(
        QStringLiteral("INSERT INTO SBillMap(BName, theT, theKey, theName) VALUES(?,?,?,?)"),
        dm_.book(), mapCode(kind), key, name);
    tx.commit();
}

std::vector<BillImport::Planned> BillImport::plan(const Bill& bill) {
    QSet<QString> done;
    {
        const Query q =
            dm_.db().query(QStringLiteral("SELECT theNo FROM SBillDone WHERE BName=?"), dm_.book());
        for (int i = 0; i < q.recordCount(); ++i) done.insert(q.value(i, 0).toString());
    }
    // Postings need a member; the book's first one is proposed, as the dialog would.
    const Query members = dm_.db().query(
        QStringLiteral("SELECT FName FROM SFamily WHERE BName=? ORDER BY ID LIMIT 1"), dm_.book());
    const QString member = members.isEmpty() ? QString() : members.value(0, 0).toString();

    QHash<QString, QString> memo;
    const auto lookup = [&](MapKind kind, const QString& key) {
        const QString k = mapCode(kind) + QLatin1Char('\x1f') + key;
        auto it = memo.find(k);
        if (it == memo.end()) it = memo.insert(k, mapped(kind, key));
        return *it;
    };

    std::vector<Planned> out;
    out.reserve(bill.rows.size());
    QSet<QString> seen;  // a number twice in one file is booked once
    for (const BillRow& row : bill.rows) {
        Planned p;
        p.row = row;
        const bool movesMoney = row.direction != BillRow::Direction::Neutral && row.successful;
        if (!row.number.isEmpty() && (done.contains(row.number) || seen.contains(row.number)))
            p.state = State::Imported;
        else
            p.state = movesMoney ? State::New : State::Skipped;
        p.ticked = p.state == State::New;
        if (p.ticked && !row.number.isEmpty()) seen.insert(row.number);

        const MapKind kind =
            row.direction == BillRow::Direction::In ? MapKind::Income : MapKind::Expense;
        QString method = row.method;
        // WeChat writes "/" for money received into the wallet itself; an Alipay income
        // without a method went to the balance.
        if (method == QStringLiteral("/") ||
            (method.isEmpty() && bill.source == Bill::Source::WeChat))
            method = QStringLiteral("零钱");
        if (method.isEmpty()) method = QStringLiteral("余额");
        QString account = lookup(MapKind::Account, method);
        if (account.isEmpty()) account = method;
        QString category = lookup(kind, row.counterparty);
        if (category.isEmpty()) category = lookup(kind, row.type);
        if (category.isEmpty()) category = row.type;
        if (category.isEmpty() || category == QStringLiteral("/"))
            category = QStringLiteral("其他");

        p.posting.date = row.day;
        p.posting.name = SpreadsheetImport::gbkCut(category, kNameBytes);
        p.posting.amount = Money::plain(row.amount);
        p.posting.account = SpreadsheetImport::gbkCut(account, kNameBytes);
        p.posting.member = member;
        QString remark = row.counterparty;
        if (!row.goods.isEmpty() && row.goods != QStringLiteral("/"))
            remark += (remark.isEmpty() ? QString() : QStringLiteral(" ")) + row.goods;
        p.posting.remark = SpreadsheetImport::gbkCut(remark, kRemarkBytes);
        out.push_back(std::move(p));
    }
    return out;
}

BillImport::Counts BillImport::count(const std::vector<Planned>& rows) {
    Counts c;
    for (const Planned& p : rows) {
        if (p.state == State::Imported)
            ++c.imported;
        else if (p.ticked)
            ++c.added;
        else
            ++c.skipped;
    }
    return c;
}

int BillImport::book(const std::vector<Planned>& rows) {
    std::vector<PostingRules::Posting> income;
    std::vector<PostingRules::Posting> expense;
    QStringList numbers;
    for (const Planned& p : rows) {
        if (!p.ticked || p.state == State::Imported) continue;
        if (p.posting.member.trimmed().isEmpty())
            throw PostingRules::Refused(QStringLiteral("账簿还没有家庭成员，请先添加家庭成员！") +
                                        SpreadsheetImport::nothingImported());
        (p.row.direction == BillRow::Direction::In ? income : expense).push_back(p.posting);
        if (!p.row.number.isEmpty()) numbers << p.row.number;
    }
    Transaction tx(dm_.db());
    PostingRules rules(dm_);
    int booked = 0;
    if (!income.empty()) booked += rules.saveImported(PostingKind::income(), income);
    if (!expense.empty()) booked += rules.saveImported(PostingKind::expense(), expense);
    Statement st =
        dm_.db().prepare(QStringLiteral("INSERT INTO SBillDone(BName, theNo) VALUES(?,?)"));
    for (const QString& n : numbers) {
        st.bind(1, dm_.book());
        st.bind(2, n);
        st.run();
        st.reset();
    }
    tx.commit();
    return booked;
}

}  // namespace cw
