#include "bookkeeping/PostingRules.h"

#include <QDate>
#include <QSet>
#include <algorithm>

#include "storage/Money.h"
#include "storage/NameText.h"
#include "storage/TfrmDM.h"
#include "storage/Transaction.h"

namespace cw {

namespace {

using Field = PostingKind::Field;
using Posting = PostingRules::Posting;

const QString kNew = QStringLiteral("新增");
const QString kChanged = QStringLiteral("修改");
const QString kRestored = QStringLiteral("恢复");
const QString kDeleted = QStringLiteral("删除");

// One account a posting moves, and which way a new posting moves it.
struct Leg {
    QString account;
    int sign;
};

std::vector<Leg> legsOf(const PostingKind& kind, const Posting& p) {
    // The source first: the journal lists the account the money leaves before the one it reaches.
    if (kind.isTransfer()) return {{p.account, kind.sign}, {p.target, -kind.sign}};
    return {{p.account, kind.sign}};
}

// Two postings hold the same values; amounts compare in cents.
bool samePosting(const Posting& a, const Posting& b) {
    double x = 0;
    double y = 0;
    const bool amountsEqual = Money::parse(a.amount, &x) && Money::parse(b.amount, &y)
                                  ? Money::equal(x, y)
                                  : a.amount == b.amount;
    return amountsEqual && a.date == b.date && a.name == b.name && a.account == b.account &&
           a.target == b.target && a.member == b.member && a.remark == b.remark;
}

const QString& textOf(const Posting& p, Field field) {
    static const QString none;
    switch (field) {
        case Field::Date:
            return p.date;
        case Field::Name:
            return p.name;
        case Field::Amount:
            return p.amount;
        case Field::Account:
            return p.account;
        case Field::Target:
            return p.target;
        case Field::Member:
            return p.member;
        case Field::None:
            break;
    }
    return none;
}

QString notANumber(const PostingKind& kind) {
    return kind.amountLabel + QStringLiteral(" 不是有效的数字！请重新录入！");
}

// The stored columns of a kind in one fixed order: date, name, money, account, target, member,
// remark; the name and the target only where the kind has them.
QStringList columnsOf(const PostingKind& kind) {
    QStringList columns{kind.dateColumn};
    if (!kind.nameColumn.isEmpty()) columns << kind.nameColumn;
    columns << kind.moneyColumn << kind.accountColumn;
    if (kind.isTransfer()) columns << kind.targetColumn;
    columns << QStringLiteral("FName") << QStringLiteral("Remark");
    return columns;
}

void bindPosting(Statement& st, int& index, const PostingKind& kind, const Posting& p,
                 double amount) {
    st.bind(++index, p.date);
    if (!kind.nameColumn.isEmpty()) st.bind(++index, p.name);
    st.bind(++index, amount);
    st.bind(++index, p.account);
    if (kind.isTransfer()) st.bind(++index, p.target);
    st.bind(++index, p.member);
    st.bind(++index, p.remark);
}

// Moves one account: `direction` +1 books the posting, -1 takes it back.
void moveLeg(TfrmDM& dm, const Leg& leg, double amount, int direction) {
    if (leg.sign * direction > 0) {
        dm.AccountUp(amount, leg.account);
    } else {
        dm.AccountDown(amount, leg.account);
    }
}

// The journal row of one account, written after its balance moved.
void writeRow(TfrmDM& dm, const PostingKind& kind, const Posting& p, const Leg& leg, double amount,
              int direction, qint64 id, const QString& event) {
    const bool in = leg.sign * direction > 0;
    dm.List_Add(p.date, kind.journalTypeFor(p.name), p.remark, in ? amount : 0, in ? 0 : amount,
                leg.account, p.member, kind.table, id, event);
}

// Books a posting: every balance first, then the rows, the source's first.
void moveAll(TfrmDM& dm, const PostingKind& kind, const Posting& p, double amount) {
    for (const Leg& leg : legsOf(kind, p)) moveLeg(dm, leg, amount, +1);
}

void writeRows(TfrmDM& dm, const PostingKind& kind, const Posting& p, double amount, qint64 id,
               const QString& event) {
    for (const Leg& leg : legsOf(kind, p)) writeRow(dm, kind, p, leg, amount, +1, id, event);
}

}  // namespace

const QString PostingRules::kNotFound = QStringLiteral("找不到这条记录！");
const QString PostingRules::kChangedElsewhere =
    QStringLiteral("该记录已被其他操作修改，请刷新后再试！");
const QString PostingRules::kBadDate = QStringLiteral("日期 不是有效的日期！请重新选择！");

bool PostingRules::isDay(const QString& text) {
    const QString format = QStringLiteral("yyyy-MM-dd");
    const QDate day = QDate::fromString(text, format);
    return day.isValid() && day.toString(format) == text;
}

PostingRules::PostingRules(TfrmDM& dm) : dm_(dm) {}

PostingRules::Verdict PostingRules::validate(const PostingKind& kind, const Posting& posting,
                                             Mode mode) {
    // The date comes from a date picker on the screens; only a script can get it wrong.
    if (!isDay(posting.date)) return {kBadDate, Field::Date};
    for (const PostingKind::Check& check : kind.checks) {
        const QString& text = textOf(posting, check.field);
        const QString& message =
            mode == Mode::Edit && !check.editMessage.isEmpty() ? check.editMessage : check.message;
        if (check.rule == PostingKind::Rule::SameAccounts) {
            if (posting.account == posting.target) return {message, check.field};
            continue;
        }
        if (text.trimmed().isEmpty()) return {message, check.field};
        if (check.field != Field::Amount && NameText::hasControl(text)) {
            return {NameText::controlMessage(), check.field};
        }
        if (check.field == Field::Amount && !Money::parse(text, nullptr)) {
            return {notANumber(kind), Field::Amount};
        }
    }
    return {};
}

double PostingRules::accepted(const PostingKind& kind, const Posting& posting, Mode mode) {
    const Verdict verdict = validate(kind, posting, mode);
    if (!verdict.ok()) throw Refused(verdict.message, verdict.focus);
    double amount = 0;
    if (!Money::parse(posting.amount, &amount)) throw Refused(notANumber(kind), Field::Amount);
    return Money::round(amount);
}

void PostingRules::createNames(const PostingKind& kind, const Posting& p) {
    // A name typed that the book lacks becomes a row of the book before anything moves; a new
    // account starts at 0 and is owned by the posting's member.
    const auto nameRow = [&] {
        if (!kind.nameTable.isEmpty()) dm_.mySaveNew(kind.nameTable, kind.nameTableColumn, p.name);
    };
    if (kind.nameBeforeMember) nameRow();
    dm_.NewFamily(p.member);
    if (kind.isTransfer()) dm_.NewAccount(p.target, p.member);
    dm_.NewAccount(p.account, p.member);
    if (!kind.nameBeforeMember) nameRow();
}

void PostingRules::reverse(const PostingKind& kind, const Stored& old, qint64 id,
                           const QString& event) {
    const std::vector<Leg> legs = legsOf(kind, old.posting);
    if (event == kRestored) {
        // The reversal of a change books one account and its row, then the next account.
        for (const Leg& leg : legs) {
            moveLeg(dm_, leg, old.amount, -1);
            writeRow(dm_, kind, old.posting, leg, old.amount, -1, id, event);
        }
        return;
    }
    for (const Leg& leg : legs) moveLeg(dm_, leg, old.amount, -1);
    for (const Leg& leg : legs) writeRow(dm_, kind, old.posting, leg, old.amount, -1, id, event);
}

PostingRules::Stored PostingRules::stored(const PostingKind& kind, qint64 id) {
    Statement st = dm_.db().prepare(QStringLiteral("SELECT %1 FROM %2 WHERE ID=? AND BName=?")
                                        .arg(columnsOf(kind).join(QLatin1Char(',')), kind.table));
    st.bindAll(id, dm_.book());
    if (!st.step()) throw Refused(kNotFound);
    Stored s;
    int column = 0;
    s.posting.date = st.text(column++);
    if (!kind.nameColumn.isEmpty()) s.posting.name = st.text(column++);
    s.amount = Money::round(st.number(column++));
    s.posting.amount = Money::plain(s.amount);
    s.posting.account = st.text(column++);
    if (kind.isTransfer()) s.posting.target = st.text(column++);
    s.posting.member = st.text(column++);
    s.posting.remark = st.text(column++);
    return s;
}

std::optional<Posting> PostingRules::load(const PostingKind& kind, qint64 id) {
    try {
        return stored(kind, id).posting;
    } catch (const Refused&) {
        return std::nullopt;
    }
}

std::vector<qint64> PostingRules::listIds(const PostingKind& kind,
                                          const PostingKind::Filter& filter) {
    Statement st =
        dm_.db().prepare(QStringLiteral("SELECT ID FROM %1 WHERE BName=?").arg(kind.table) +
                         filter.condition + kind.sortClause(dm_.state().myJZPX));
    int index = 0;
    st.bind(++index, dm_.book());
    for (const QVariant& value : filter.values) st.bind(++index, value);
    std::vector<qint64> ids;
    while (st.step()) ids.push_back(st.integer(0));
    return ids;
}

qint64 PostingRules::saveNew(const PostingKind& kind, const Posting& posting) {
    const double amount = accepted(kind, posting, Mode::New);
    Posting p = posting;
    if (kind.extendsRemark)
        p.remark += QLatin1Char(' ') + p.account + QStringLiteral("->") + p.target;

    Transaction tx(dm_.db());
    createNames(kind, p);
    if (kind.raisesCounts) {
        dm_.myCountUp(kind.nameTable, kind.nameTableColumn, p.name);
        dm_.myCountUp(QStringLiteral("SAccount"), QStringLiteral("AName"), p.account);
    }
    moveAll(dm_, kind, p, amount);
    const qint64 id = insertRow(kind, p, amount);
    writeRows(dm_, kind, p, amount, id, kNew);
    tx.commit();
    return id;
}

qint64 PostingRules::insertRow(const PostingKind& kind, const Posting& p, double amount,
                               bool wholeTransaction) {
    const QStringList columns = columnsOf(kind);
    // An insert that fires the totals trigger and could abort half way makes the engine keep
    // a journal of the statement, every touched page written to it encrypted, for each row.
    // Where the whole transaction is undone on any failure (an import) nothing of the
    // statement needs undoing by itself, so it may fail without that journal.
    const QString verb =
        wholeTransaction ? QStringLiteral("INSERT OR FAIL") : QStringLiteral("INSERT");
    Statement st = dm_.db().prepare(QStringLiteral("%4 INTO %1(BName,%2) VALUES(?%3)")
                                        .arg(kind.table, columns.join(QLatin1Char(',')),
                                             QStringLiteral(",?").repeated(columns.size()), verb));
    int index = 0;
    st.bind(++index, dm_.book());
    bindPosting(st, index, kind, p, amount);
    st.run();
    return dm_.db().lastInsertId();
}

int PostingRules::saveImported(const PostingKind& kind, const std::vector<Posting>& postings,
                               const std::function<void(int)>& progress) {
    const QString imported = QStringLiteral("导入");
    Transaction tx(dm_.db());
    // Names already made or found by an earlier row need no lookup: a large import would
    // otherwise spend most of its time asking for names it has just seen.
    QSet<QString> known;
    int done = 0;
    for (const Posting& p : postings) {
        double amount = 0;
        if (!Money::parse(p.amount, &amount)) throw Refused(notANumber(kind), Field::Amount);
        amount = Money::round(amount);
        const QStringList keys{QStringLiteral("n:") + p.name, QStringLiteral("m:") + p.member,
                               QStringLiteral("a:") + p.account, QStringLiteral("a:") + p.target};
        bool seen = true;
        for (const QString& k : keys) seen = seen && known.contains(k);
        if (!seen) {
            createNames(kind, p);
            for (const QString& k : keys) known.insert(k);
        }
        moveAll(dm_, kind, p, amount);
        const qint64 id = insertRow(kind, p, amount, true);
        std::vector<Leg> legs = legsOf(kind, p);
        std::reverse(legs.begin(), legs.end());
        for (const Leg& leg : legs) writeRow(dm_, kind, p, leg, amount, +1, id, imported);
        if (progress) progress(++done);
    }
    tx.commit();
    return int(postings.size());
}

void PostingRules::amend(const PostingKind& kind, qint64 id,
                         const std::function<void(Posting&)>& change) {
    Transaction tx(dm_.db());
    Posting p = stored(kind, id).posting;
    change(p);
    saveEdit(kind, id, p);
    tx.commit();
}

void PostingRules::saveEdit(const PostingKind& kind, qint64 id, const Posting& posting,
                            const std::optional<Posting>& loaded) {
    const double amount = accepted(kind, posting, Mode::Edit);

    Transaction tx(dm_.db());
    const Stored old = stored(kind, id);
    if (loaded && !samePosting(old.posting, *loaded)) throw Refused(kChangedElsewhere);
    // No usage count is raised by a change.
    createNames(kind, posting);
    reverse(kind, old, id, kRestored);
    moveAll(dm_, kind, posting, amount);

    QStringList assignments;
    for (const QString& column : columnsOf(kind)) assignments << column + QStringLiteral("=?");
    Statement st = dm_.db().prepare(QStringLiteral("UPDATE %1 SET %2 WHERE ID=? AND BName=?")
                                        .arg(kind.table, assignments.join(QLatin1Char(','))));
    int index = 0;
    bindPosting(st, index, kind, posting, amount);
    st.bind(++index, id);
    st.bind(++index, dm_.book());
    st.run();

    writeRows(dm_, kind, posting, amount, id, kChanged);
    tx.commit();
}

void PostingRules::refuseDeleteWhenGuarded(const PostingKind& kind, qint64 id) {
    const PostingKind::DeleteGuard& guard = kind.deleteGuard;
    if (!guard.column.isEmpty()) {
        Statement st = dm_.db().prepare(
            QStringLiteral("SELECT %1 FROM %2 WHERE ID=?").arg(guard.column, kind.table));
        st.bindAll(id);
        if (st.step() && Money::cents(st.number(0)) > 0) throw Refused(guard.message);
    }
    if (!guard.childTable.isEmpty()) {
        Statement st = dm_.db().prepare(QStringLiteral("SELECT 1 FROM %1 WHERE %2=? LIMIT 1")
                                            .arg(guard.childTable, guard.childKey));
        st.bindAll(id);
        if (st.step()) throw Refused(guard.message);
    }
}

void PostingRules::removeOne(const PostingKind& kind, qint64 id) {
    const Stored old = stored(kind, id);
    refuseDeleteWhenGuarded(kind, id);
    reverse(kind, old, id, kDeleted);
    dm_.db().exec(QStringLiteral("DELETE FROM %1 WHERE ID=? AND BName=?").arg(kind.table), id,
                  dm_.book());
}

void PostingRules::remove(const PostingKind& kind, qint64 id) {
    Transaction tx(dm_.db());
    removeOne(kind, id);
    tx.commit();
}

int PostingRules::removeAll(const PostingKind& kind, const PostingKind::Filter& filter) {
    Transaction tx(dm_.db());
    const std::vector<qint64> ids = listIds(kind, filter);
    for (const qint64 id : ids) removeOne(kind, id);
    tx.commit();
    return int(ids.size());
}

}  // namespace cw
