#include "import/bills/BillImport.h"

#include <QSet>
#include <algorithm>

#include "bookkeeping/PostingKind.h"
#include "import/SpreadsheetImport.h"
#include "storage/Money.h"
#include "storage/NameText.h"
#include "storage/TfrmDM.h"
#include "storage/Transaction.h"

namespace cw {

namespace {

QString mapCode(BillImport::MapKind kind) {
    switch (kind) {
        case BillImport::MapKind::Account:
            return QStringLiteral("AName");
        case BillImport::MapKind::Income:
            return QStringLiteral("IName");
        case BillImport::MapKind::Expense:
            return QStringLiteral("OName");
        case BillImport::MapKind::Member:
            return QStringLiteral("FName");
    }
    return QString();
}

BillImport::MapKind categoryMap(BillRow::Direction kind) {
    return kind == BillRow::Direction::In ? BillImport::MapKind::Income
                                          : BillImport::MapKind::Expense;
}

QString rowMessage(int row, const QString& header, const QString& what) {
    return QStringLiteral("第 %1 行 %2 %3").arg(row).arg(header, what);
}

}  // namespace

BillImport::BillImport(TfrmDM& dm) : dm_(dm) {}

QString BillImport::mapped(MapKind kind, const QString& key) {
    if (key.isEmpty()) return QString();
    const QString k = mapCode(kind) + QLatin1Char('\x1f') + key;
    const auto it = memo_.constFind(k);
    if (it != memo_.constEnd()) return *it;
    const Query q = dm_.db().query(
        QStringLiteral("SELECT theName FROM SBillMap WHERE BName=? AND theT=? AND theKey=?"),
        dm_.book(), mapCode(kind), key);
    const QString name = q.isEmpty() ? QString() : q.value(0, 0).toString();
    memo_.insert(k, name);
    return name;
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
    memo_.insert(mapCode(kind) + QLatin1Char('\x1f') + key, name);
}

QString BillImport::lookup(MapKind kind, const QString& key) {
    if (!owner_.isEmpty()) {
        const QString own = mapped(kind, owner_ + QLatin1Char('\x1f') + key);
        if (!own.isEmpty()) return own;
    }
    return mapped(kind, key);
}

void BillImport::rememberBoth(MapKind kind, const QString& key, const QString& name) {
    if (!owner_.isEmpty()) remember(kind, owner_ + QLatin1Char('\x1f') + key, name);
    remember(kind, key, name);
}

QString BillImport::categoryKey(const BillRow& row) {
    return row.counterparty.isEmpty() || row.counterparty == QStringLiteral("/") ? row.type
                                                                                 : row.counterparty;
}

QString BillImport::proposeCategory(const BillRow& row, BillRow::Direction kind) {
    const MapKind map = categoryMap(kind);
    QString category = lookup(map, row.counterparty);
    if (category.isEmpty()) category = lookup(map, row.type);
    if (category.isEmpty()) category = row.type;
    if (category.isEmpty() || category == QStringLiteral("/")) category = QStringLiteral("其他");
    return SpreadsheetImport::gbkCut(category, kNameBytes);
}

QString BillImport::proposeAccount(const QString& methodKey) {
    QString account = lookup(MapKind::Account, methodKey);
    if (account.isEmpty()) account = methodKey;
    return SpreadsheetImport::gbkCut(account, kNameBytes);
}

std::vector<BillImport::Planned> BillImport::plan(const Bill& bill) {
    QSet<QString> done;
    {
        const Query q =
            dm_.db().query(QStringLiteral("SELECT theNo FROM SBillDone WHERE BName=?"), dm_.book());
        for (int i = 0; i < q.recordCount(); ++i) done.insert(q.value(i, 0).toString());
    }
    owner_ = bill.owner;
    // Postings need a member: the one picked for this owner's bills before, else the book's
    // first.
    QString member = owner_.isEmpty() ? QString() : mapped(MapKind::Member, owner_);
    if (member.isEmpty()) {
        const Query members = dm_.db().query(
            QStringLiteral("SELECT FName FROM SFamily WHERE BName=? ORDER BY ID LIMIT 1"),
            dm_.book());
        member = members.isEmpty() ? QString() : members.value(0, 0).toString();
    }

    std::vector<Planned> out;
    out.reserve(bill.rows.size());
    QSet<QString> seen;  // a number twice in one file is booked once
    for (const BillRow& row : bill.rows) {
        Planned p;
        p.row = row;
        p.kind = row.direction;
        const bool movesMoney = row.direction != BillRow::Direction::Neutral && row.successful;
        if (!row.number.isEmpty() && (done.contains(row.number) || seen.contains(row.number)))
            p.state = State::Imported;
        else
            p.state = movesMoney ? State::New : State::Skipped;
        p.ticked = p.state == State::New;
        if (p.ticked && !row.number.isEmpty()) seen.insert(row.number);

        QString method = row.method;
        // WeChat writes "/" for money received into the wallet itself; an Alipay income
        // without a method went to the balance.
        if (method == QStringLiteral("/") ||
            (method.isEmpty() && bill.source == Bill::Source::WeChat))
            method = QStringLiteral("零钱");
        if (method.isEmpty()) method = QStringLiteral("余额");
        p.methodKey = method;

        p.posting.date = row.day;
        p.posting.name = proposeCategory(row, row.direction);
        p.posting.amount = Money::plain(row.amount - row.refunded);
        p.posting.account = proposeAccount(method);
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

QString BillImport::check(const Planned& p) {
    const int n = p.row.rowNumber;
    if (p.kind == BillRow::Direction::Neutral)
        return rowMessage(n, QStringLiteral("收/支"),
                          QStringLiteral("不计收支，请先选择收入或支出！"));
    if (SpreadsheetImport::dayOf(p.posting.date).isEmpty())
        return rowMessage(n, QStringLiteral("日期"), QStringLiteral("不是有效的日期！"));
    double amount = 0;
    if (!Money::parse(p.posting.amount, &amount) || Money::round(amount) <= 0)
        return rowMessage(n, QStringLiteral("金额"), QStringLiteral("不是有效的数字！"));
    const std::pair<QString, QString> names[] = {{QStringLiteral("类别"), p.posting.name},
                                                 {QStringLiteral("账户"), p.posting.account},
                                                 {QStringLiteral("家庭成员"), p.posting.member}};
    for (const auto& [header, name] : names) {
        if (name.trimmed().isEmpty()) return rowMessage(n, header, QStringLiteral("不能为空！"));
        if (NameText::hasControl(name))
            return rowMessage(n, header, QStringLiteral("不能包含制表符、换行符等控制字符！"));
    }
    return QString();
}

int BillImport::firstRefused(const std::vector<Planned>& rows, QString* message) {
    for (size_t i = 0; i < rows.size(); ++i) {
        const Planned& p = rows[i];
        if (!p.ticked || p.state == State::Imported) continue;
        QString why = check(p);
        if (why.isEmpty()) continue;
        // A book without members (the CLI's case) is told what to do about it.
        if (p.posting.member.trimmed().isEmpty() && p.kind != BillRow::Direction::Neutral &&
            why.contains(QStringLiteral("家庭成员")))
            why = QStringLiteral("账簿还没有家庭成员，请先添加家庭成员！");
        *message = why + SpreadsheetImport::nothingImported();
        return int(i);
    }
    return -1;
}

int BillImport::book(const std::vector<Planned>& rows) {
    std::vector<PostingRules::Posting> income;
    std::vector<PostingRules::Posting> expense;
    QStringList numbers;
    QString why;
    if (firstRefused(rows, &why) >= 0) throw PostingRules::Refused(why);
    for (const Planned& p : rows) {
        if (!p.ticked || p.state == State::Imported) continue;
        PostingRules::Posting posting = p.posting;
        posting.date = SpreadsheetImport::dayOf(posting.date);
        (p.kind == BillRow::Direction::In ? income : expense).push_back(posting);
        if (!p.row.number.isEmpty()) numbers << p.row.number;
    }
    Transaction tx(dm_.db());
    // The bill was matched against the stored numbers when it was opened; another window or
    // a script may have booked some of its rows since. Asked again under the write lock, so a
    // row is never booked twice.
    {
        Statement done = dm_.db().prepare(
            QStringLiteral("SELECT 1 FROM SBillDone WHERE BName=? AND theNo=? LIMIT 1"));
        for (const Planned& p : rows) {
            if (!p.ticked || p.state == State::Imported || p.row.number.isEmpty()) continue;
            done.bind(1, dm_.book());
            done.bind(2, p.row.number);
            const bool found = done.step();
            done.reset();
            if (found)
                throw PostingRules::Refused(
                    QStringLiteral("第 %1 行 已导入，请重新打开账单！").arg(p.row.rowNumber) +
                    SpreadsheetImport::nothingImported());
        }
    }
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
    // What the user picked is proposed next time (a pick on a row left unticked too), in the
    // same transaction as the postings; of two picks for one key the later one is kept.
    struct Pick {
        int order;
        MapKind kind;
        QString key;
        QString name;
    };
    std::vector<Pick> picks;
    for (const Planned& p : rows) {
        if (p.state == State::Imported) continue;
        if (p.accountPick > 0)
            picks.push_back({p.accountPick, MapKind::Account, p.methodKey, p.posting.account});
        if (p.categoryPick > 0)
            picks.push_back(
                {p.categoryPick, categoryMap(p.kind), categoryKey(p.row), p.posting.name});
        // A member is kept for the owner only: whose bill it is says whose postings they are.
        if (p.memberPick > 0 && !owner_.isEmpty())
            picks.push_back({p.memberPick, MapKind::Member, QString(), p.posting.member});
    }
    std::sort(picks.begin(), picks.end(),
              [](const Pick& a, const Pick& b) { return a.order < b.order; });
    for (const Pick& pick : picks) {
        if (pick.kind == MapKind::Member)
            remember(pick.kind, owner_, pick.name);
        else
            rememberBoth(pick.kind, pick.key, pick.name);
    }
    tx.commit();
    return booked;
}

}  // namespace cw
