#include "reference/ReferenceManager.h"

#include <QRegularExpression>

#include "books/BookCreation.h"
#include "storage/Money.h"
#include "storage/NameText.h"
#include "storage/PinyinCode.h"
#include "storage/TfrmDM.h"
#include "storage/Transaction.h"

namespace cw {

namespace {

using Field = ReferenceManager::Field;
using Result = ReferenceManager::Result;

Result refuse(const QString& message, Field focus = Field::None) {
    Result r;
    r.message = message;
    r.focus = focus;
    return r;
}

bool blank(const QString& text) {
    return text.trimmed().isEmpty();
}

// The account checks and the opening are the new-book wizard's own; only the field the
// user is sent back to is named in this manager's terms.
Result fromBooks(const BookCreation::Result& r) {
    Result out;
    out.message = r.message;
    out.id = r.id;
    switch (r.focus) {
        case BookCreation::Field::AccountType:
            out.focus = Field::Type;
            break;
        case BookCreation::Field::AccountMember:
            out.focus = Field::Member;
            break;
        case BookCreation::Field::AccountName:
            out.focus = Field::Name;
            break;
        case BookCreation::Field::Amount:
            out.focus = Field::Amount;
            break;
        default:
            break;
    }
    return out;
}

}  // namespace

const QString ReferenceManager::kNotFound = QStringLiteral("找不到这条记录！");
const QString ReferenceManager::kEnabled = QStringLiteral("启用");
const QString ReferenceManager::kDisabled = QStringLiteral("停用");

ReferenceManager::ReferenceManager(TfrmDM& dm, const ReferenceList& list) : dm_(dm), list_(list) {}

ReferenceManager::ReferenceManager(TfrmDM& dm, ReferenceList::Kind kind)
    : ReferenceManager(dm, ReferenceList::of(kind)) {}

Query ReferenceManager::rows() {
    return dm_.db().query(list_.listSql(dm_.state().myPX), dm_.book());
}

QString ReferenceManager::nameOf(qint64 id) {
    const Query q = dm_.db().query(QStringLiteral("SELECT %1 AS n FROM %2 WHERE ID=? AND BName=?")
                                       .arg(list_.nameColumn, list_.table),
                                   id, dm_.book());
    return q.isEmpty() ? QString() : q.text(QStringLiteral("n"));
}

bool ReferenceManager::nameTaken(const QString& name, qint64 exceptId) {
    return !dm_.db()
                .query(QStringLiteral("SELECT ID FROM %1 WHERE %2=? AND BName=? AND ID<>? LIMIT 1")
                           .arg(list_.table, list_.nameColumn),
                       name, dm_.book(), exceptId)
                .isEmpty();
}

Result ReferenceManager::checkEntry(const Entry& entry, double* cap) const {
    *cap = 0;
    if (list_.kind == ReferenceList::Accounts) {
        if (entry.type.isEmpty()) return refuse(QStringLiteral("请选择 账户分类！"), Field::Type);
        if (entry.member.isEmpty())
            return refuse(QStringLiteral("请选择 家庭成员！"), Field::Member);
    }
    if (blank(entry.name)) return refuse(list_.emptyMessage(), Field::Name);
    if (NameText::hasControl(entry.name)) return refuse(NameText::controlMessage(), Field::Name);
    if (list_.kind == ReferenceList::Expense && !blank(entry.cap) &&
        !Money::parse(entry.cap, cap)) {
        return refuse(QStringLiteral("月上限 不是有效的数字！请重新录入！"), Field::Cap);
    }
    return {};
}

ReferenceManager::Columns ReferenceManager::entryColumns(const Entry& entry, double cap) const {
    Columns c = {
        {list_.nameColumn, entry.name},
        {QStringLiteral("thePY"), PinyinCode::of(entry.name)},
        {QStringLiteral("Remark"), entry.remark},
    };
    switch (list_.kind) {
        case ReferenceList::Expense:
            c.emplace_back(QStringLiteral("theMC"), Money::round(cap));
            break;
        case ReferenceList::Members:
            c.emplace_back(QStringLiteral("theGX"), entry.relation);
            if (entry.birthday) c.emplace_back(QStringLiteral("BirDate"), *entry.birthday);
            break;
        case ReferenceList::Accounts:
            c.emplace_back(QStringLiteral("theType"), entry.type);
            c.emplace_back(QStringLiteral("FName"), entry.member);
            break;
        default:
            break;
    }
    return c;
}

Result ReferenceManager::add(const Entry& entry) {
    double cap = 0;
    Result r = checkEntry(entry, &cap);
    if (!r.ok()) return r;
    if (list_.kind == ReferenceList::Accounts) {
        // A half-typed amount ("-", ".") holds no amount either.
        double amount = 0;
        if (Money::tooLarge(entry.amount)) {
            return refuse(QStringLiteral("账户余额 不是有效的数字！请重新录入！"), Field::Amount);
        }
        if (!Money::parse(entry.amount, &amount)) {
            return refuse(QStringLiteral("账户余额不能为空！请重新录入！"), Field::Amount);
        }
        return fromBooks(BookCreation(dm_).openAccount(entry.type, entry.member, entry.name, amount,
                                                       entry.remark));
    }

    Transaction tx(dm_.db());
    if (nameTaken(entry.name, 0)) return refuse(list_.duplicateMessage());
    Columns columns = entryColumns(entry, cap);
    columns.emplace_back(QStringLiteral("BName"), dm_.book());
    if (list_.kind == ReferenceList::Members && !entry.birthday) {
        columns.emplace_back(QStringLiteral("BirDate"), QString());
    }
    if (list_.hasState) {
        columns.emplace_back(QStringLiteral("theState"), kEnabled);
        columns.emplace_back(QStringLiteral("theCount"), 0);
    }
    QStringList names;
    QStringList marks;
    for (const auto& column : columns) {
        names << column.first;
        marks << QStringLiteral("?");
    }
    Statement insert = dm_.db().prepare(
        QStringLiteral("INSERT INTO %1(%2) VALUES(%3)")
            .arg(list_.table, names.join(QLatin1Char(',')), marks.join(QLatin1Char(','))));
    for (int i = 0; i < int(columns.size()); ++i) insert.bind(i + 1, columns[size_t(i)].second);
    insert.run();
    r.id = dm_.db().lastInsertId();
    tx.commit();
    return r;
}

void ReferenceManager::rename(const QString& from, const QString& to) {
    for (const ReferenceList::Cascade& place : list_.cascade) {
        QString sql = QStringLiteral("UPDATE %1 SET %2=? WHERE %2=? AND BName=?")
                          .arg(place.table, place.column);
        if (!place.planKinds.isEmpty()) {
            QStringList marks;
            for (qsizetype i = 0; i < place.planKinds.size(); ++i) marks << QStringLiteral("?");
            sql += QStringLiteral(" AND PType IN (%1)").arg(marks.join(QLatin1Char(',')));
        }
        Statement update = dm_.db().prepare(sql);
        update.bindAll(to, from, dm_.book());
        for (qsizetype i = 0; i < place.planKinds.size(); ++i) {
            update.bind(int(4 + i), place.planKinds[i]);
        }
        update.run();
    }
}

void ReferenceManager::updateRow(qint64 id, const Columns& columns) {
    QStringList sets;
    for (const auto& column : columns) sets << column.first + QStringLiteral("=?");
    Statement update = dm_.db().prepare(QStringLiteral("UPDATE %1 SET %2 WHERE ID=? AND BName=?")
                                            .arg(list_.table, sets.join(QLatin1Char(','))));
    int index = 0;
    for (const auto& column : columns) update.bind(++index, column.second);
    update.bind(++index, id);
    update.bind(++index, dm_.book());
    update.run();
}

Result ReferenceManager::modify(qint64 id, const Entry& entry) {
    double cap = 0;
    Result r = checkEntry(entry, &cap);
    if (!r.ok()) return r;

    Transaction tx(dm_.db());
    const Query stored =
        dm_.db().query(QStringLiteral("SELECT %1 AS n FROM %2 WHERE ID=? AND BName=?")
                           .arg(list_.nameColumn, list_.table),
                       id, dm_.book());
    if (stored.isEmpty()) return refuse(kNotFound);
    const QString old = stored.text(QStringLiteral("n"));
    const bool renamed = entry.name != old;
    if (renamed) {
        if (nameTaken(entry.name, id)) return refuse(list_.duplicateMessage());
        rename(old, entry.name);
    }
    updateRow(id, entryColumns(entry, cap));
    tx.commit();

    if (renamed && list_.defaultName) {
        QString& byDefault = dm_.state().*list_.defaultName;
        if (byDefault == old) byDefault = entry.name;
    }
    r.id = id;
    return r;
}

Result ReferenceManager::checkRemove(qint64 id) {
    if (list_.kind == ReferenceList::Accounts) {
        return fromBooks(BookCreation(dm_).checkDeleteAccount(id));
    }
    return {};
}

Result ReferenceManager::remove(qint64 id) {
    if (list_.kind == ReferenceList::Accounts) {
        return fromBooks(BookCreation(dm_).deleteAccount(id));
    }
    Transaction tx(dm_.db());
    dm_.db().exec(QStringLiteral("DELETE FROM %1 WHERE ID=? AND BName=?").arg(list_.table), id,
                  dm_.book());
    tx.commit();
    return {};
}

void ReferenceManager::setState(qint64 id, bool enabled) {
    Transaction tx(dm_.db());
    dm_.myState(list_.table, enabled ? kEnabled : kDisabled, id);
    tx.commit();
}

int ReferenceManager::updateById(qint64 id, const QString& column, const QVariant& value) {
    dm_.db().requireColumn(list_.table, column);
    return dm_.db().exec(
        QStringLiteral("UPDATE %1 SET %2=? WHERE ID=? AND BName=?").arg(list_.table, column), value,
        id, dm_.book());
}

Result ReferenceManager::setPinyin(qint64 id, const QString& code) {
    if (blank(code)) return refuse(QStringLiteral("拼音码 不能为空！"), Field::Pinyin);
    Transaction tx(dm_.db());
    if (updateById(id, QStringLiteral("thePY"), code) == 0) return refuse(kNotFound);
    tx.commit();
    return {};
}

Result ReferenceManager::setCount(qint64 id, const QString& count) {
    if (count.isEmpty()) return refuse(QStringLiteral("记账次数 不能为空！"), Field::Count);
    // The field takes digits only; anything else reaching here is not a count.
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,6}$"));
    if (!digits.match(count).hasMatch()) {
        return refuse(QStringLiteral("记账次数 不是有效的数字！请重新录入！"), Field::Count);
    }
    Transaction tx(dm_.db());
    if (updateById(id, QStringLiteral("theCount"), count.toInt()) == 0) return refuse(kNotFound);
    tx.commit();
    return {};
}

}  // namespace cw
