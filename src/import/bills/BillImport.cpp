#include "import/bills/BillImport.h"

#include <QDate>
#include <QSet>
#include <algorithm>

#include "bookkeeping/PostingKind.h"
#include "import/SpreadsheetImport.h"
#include "import/bills/BillRules.h"
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
    categories_.clear();
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

QString BillImport::keyOf(const BillRow& row, int occurrence) {
    const QChar unit(0x1f);
    const char* direction = row.direction == BillRow::Direction::In    ? "I"
                            : row.direction == BillRow::Direction::Out ? "O"
                                                                       : "N";
    QString key = row.number + unit + row.time + unit + Money::plain(row.amount) + unit +
                  QLatin1String(direction) + unit + row.counterparty;
    if (occurrence > 1) key += unit + QString::number(occurrence);
    return key;
}

QString BillImport::kindText(BillRow::Direction kind) {
    switch (kind) {
        case BillRow::Direction::In:
            return QStringLiteral("收入");
        case BillRow::Direction::Out:
            return QStringLiteral("支出");
        case BillRow::Direction::Transfer:
            return QStringLiteral("转账");
        case BillRow::Direction::Neutral:
            break;
    }
    return QStringLiteral("不计收支");
}

const QStringList& BillImport::reviewHeader() {
    static const QStringList h{"状态", "日期", "收/支", "金额", "账户", "类别", "备注", "原因"};
    return h;
}

QStringList BillImport::review(const Planned& p) {
    const bool booked = p.ticked && !p.fixed();
    const QString status = p.state == State::Imported ? QStringLiteral("已导入")
                           : booked                   ? QStringLiteral("新增")
                                                      : QStringLiteral("跳过");
    QString account = p.posting.account;
    if (p.kind == BillRow::Direction::Transfer) account += QStringLiteral("→") + p.posting.target;
    QString why;
    if (!booked && p.state != State::Imported)
        why = p.why.isEmpty() ? QStringLiteral("未勾选") : p.why;
    return {status,           p.posting.date,
            kindText(p.kind), p.posting.amount,
            account,          p.kind == BillRow::Direction::Transfer ? QString() : p.posting.name,
            p.posting.remark, why};
}

QString BillImport::bookCategory(BillRow::Direction kind, const QStringList& names) const {
    const QSet<QString>& book = kind == BillRow::Direction::In ? incomeNames_ : expenseNames_;
    for (const QString& n : names)
        if (book.contains(n)) return n;
    return QString();
}

QString BillImport::proposeCategory(const BillRow& row, BillRow::Direction kind) {
    // A month's bill names the same few counterparties again and again.
    const QChar unit(0x1f);
    const QString memo =
        QString::number(int(kind)) + unit + row.counterparty + unit + row.type + unit + row.goods;
    const auto it = categories_.constFind(memo);
    if (it != categories_.constEnd()) return *it;
    const QString category = findCategory(row, kind);
    categories_.insert(memo, category);
    return category;
}

QString BillImport::findCategory(const BillRow& row, BillRow::Direction kind) {
    const MapKind map = categoryMap(kind);
    QString type = row.type;
    type.remove(QStringLiteral("-退款"));
    QString category = lookup(map, row.counterparty);
    if (category.isEmpty()) category = lookup(map, type);
    // Another ledger's category ("餐饮:外卖") is the book's when the book has it, whole or its
    // last part.
    const QString leaf = type.section(QLatin1Char(':'), -1).trimmed();
    if (category.isEmpty() && !type.isEmpty()) category = bookCategory(kind, {type, leaf});
    // Else it is carried over as a new category: another ledger's own category says more
    // than a guess from its words.
    if (category.isEmpty() && row.transferAccount.isEmpty() && !leaf.isEmpty() &&
        source_ == Bill::Source::Qif)
        category = leaf;
    if (category.isEmpty()) category = bookCategory(kind, BillRules::categories(row, kind));
    if (category.isEmpty())
        category = kind == BillRow::Direction::In ? defaultIncome_ : defaultExpense_;
    if (category.isEmpty()) {
        category = bookCategory(kind, {kind == BillRow::Direction::In ? QStringLiteral("其他收入")
                                                                      : QStringLiteral("其他支出"),
                                       QStringLiteral("其他")});
    }
    if (category.isEmpty()) category = QStringLiteral("其他");
    return SpreadsheetImport::gbkCut(category, kNameBytes);
}

QString BillImport::proposeAccount(const QString& methodKey) {
    QString account = lookup(MapKind::Account, methodKey);
    if (account.isEmpty()) account = methodKey;
    return SpreadsheetImport::gbkCut(account, kNameBytes);
}

struct BillImport::Done {
    QSet<QString> keys;
    // What an older version stored: the bare number of the first row of each number it
    // booked. Each stands for one row of that number that moved money.
    QHash<QString, int> numbers;
    // The transfers booked from statements, by one side: "account, amount" to the days the
    // money left it (out) or reached it (in).
    QHash<QString, QStringList> out;
    QHash<QString, QStringList> in;
};

BillImport::Done BillImport::loadDone() {
    Done done;
    const Query q =
        dm_.db().query(QStringLiteral("SELECT theNo FROM SBillDone WHERE BName=?"), dm_.book());
    for (int i = 0; i < q.recordCount(); ++i) {
        const QString k = q.value(i, 0).toString();
        if (!k.contains(QChar(0x1f))) {
            ++done.numbers[k];
            continue;
        }
        done.keys.insert(k);
        // T, from, to, amount, day
        const QStringList t = k.split(QChar(0x1f));
        if (t.size() >= 5 && t[0] == QLatin1String("T")) {
            done.out[t[1] + QChar(0x1f) + t[3]] << t[4];
            done.in[t[2] + QChar(0x1f) + t[3]] << t[4];
        }
    }
    return done;
}

void BillImport::loadBook() {
    categories_.clear();
    const auto names = [this](const char* sql) {
        QSet<QString> out;
        const Query q = dm_.db().query(QString::fromUtf8(sql), dm_.book());
        for (int i = 0; i < q.recordCount(); ++i) out.insert(q.value(i, 0).toString());
        return out;
    };
    incomeNames_ = names("SELECT IName FROM InD WHERE BName=? AND theState<>'停用'");
    expenseNames_ = names("SELECT OName FROM OutD WHERE BName=? AND theState<>'停用'");
    accountNames_ = names("SELECT AName FROM SAccount WHERE BName=?");
    const Query defaults = dm_.db().query(
        QStringLiteral("SELECT FName, IName, OName FROM SMRX WHERE BName=?"), dm_.book());
    QString member;
    if (defaults.recordCount() == 1) {
        member = defaults.text(QStringLiteral("FName"));
        defaultIncome_ = defaults.text(QStringLiteral("IName"));
        defaultExpense_ = defaults.text(QStringLiteral("OName"));
    }
    // The book's default member, when it still has that member; else its first.
    const Query found = dm_.db().query(
        QStringLiteral("SELECT FName FROM SFamily WHERE BName=? ORDER BY FName<>?, ID LIMIT 1"),
        dm_.book(), member);
    member_ = found.isEmpty() ? QString() : found.value(0, 0).toString();
}

std::vector<int> BillImport::matchRefunds(const Bill& bill, std::vector<double>* refunded) {
    const auto& rows = bill.rows;
    std::vector<int> into(rows.size(), -1);
    // Purchases by number, merchant number and counterparty, the first of each kept, so a
    // month of refunds is matched without comparing every pair of rows.
    QHash<QString, int> byNumber;
    QHash<QString, int> byMerchant;
    QHash<QString, std::vector<int>> byCounterparty;
    bool anyRefund = false;
    for (size_t j = 0; j < rows.size(); ++j) {
        const BillRow& p = rows[j];
        anyRefund = anyRefund || p.refund;
        if (p.refund || p.direction != BillRow::Direction::Out) continue;
        if (!p.number.isEmpty()) byNumber.insert(p.number, int(j));
        if (!p.merchantNumber.isEmpty()) byMerchant.insert(p.merchantNumber, int(j));
        byCounterparty[p.counterparty].push_back(int(j));
    }
    if (!anyRefund) return into;
    for (size_t i = 0; i < rows.size(); ++i) {
        const BillRow& r = rows[i];
        if (!r.refund) continue;
        int j = -1;
        // Alipay gives a refund its order's number with a suffix; WeChat keeps the
        // merchant's order number.
        for (qsizetype n = r.number.size(); n > 0 && j < 0; --n)
            j = byNumber.value(r.number.left(n), -1);
        if (j < 0 && !r.merchantNumber.isEmpty()) j = byMerchant.value(r.merchantNumber, -1);
        if (j < 0) {
            // Else the latest purchase from the same counterparty before it that the app marks
            // refunded.
            for (int k : byCounterparty.value(r.counterparty)) {
                const BillRow& p = rows[size_t(k)];
                if (p.status.contains(QStringLiteral("退款")) &&
                    Money::round(p.amount) >= Money::round(r.amount) && p.time <= r.time &&
                    (j < 0 || rows[size_t(j)].time <= p.time))
                    j = k;
            }
        }
        into[i] = j;
        // A purchase whose status shows the refund is already read net of it.
        if (j >= 0 && !rows[size_t(j)].status.contains(QStringLiteral("退款")))
            (*refunded)[size_t(j)] += r.amount;
    }
    return into;
}

void BillImport::keepEdits(std::vector<Planned>& rows, const std::vector<Planned>& before) {
    if (rows.size() != before.size()) return;
    for (size_t i = 0; i < rows.size(); ++i) {
        Planned& p = rows[i];
        const Planned& was = before[i];
        if (p.fixed() || was.fixed()) continue;
        if (was.counterPick > 0) {
            setCounterAccount(p, counterAccount(was));
            p.counterPick = was.counterPick;
        } else if (was.kind != BillRow::Direction::Transfer &&
                   p.kind != BillRow::Direction::Transfer) {
            p.kind = was.kind;
        }
        p.ticked = was.ticked;
        p.posting.date = was.posting.date;
        p.posting.amount = was.posting.amount;
        p.posting.remark = was.posting.remark;
        if (was.categoryPick > 0 && p.kind == was.kind) {
            p.posting.name = was.posting.name;
            p.categoryPick = was.categoryPick;
        }
        if (was.memberPick > 0) {
            p.posting.member = was.posting.member;
            p.memberPick = was.memberPick;
        }
    }
}

bool BillImport::fromFile(Bill::Source source) {
    return source == Bill::Source::Statement || source == Bill::Source::Qif ||
           source == Bill::Source::Ofx;
}

QString BillImport::transferKey(const Planned& p, const QString& day) {
    const QChar unit(0x1f);
    QString key = QLatin1Char('T') + unit + p.posting.account + unit + p.posting.target + unit +
                  p.posting.amount + unit + day;
    if (p.occurrence > 1) key += unit + QString::number(p.occurrence);
    return key;
}

QString BillImport::bookAccount(const QString& key) {
    if (key.isEmpty() || key == QStringLiteral("/")) return QString();
    const QString mappedName = lookup(MapKind::Account, key);
    if (!mappedName.isEmpty()) return mappedName;
    return accountNames_.contains(key) ? key : QString();
}

void BillImport::planFileRow(Planned& p, const Bill& bill) {
    const BillRow& row = p.row;
    // The file's own account as mapped before, else the one the user named.
    p.methodKey = row.method.isEmpty() ? bill.account : row.method;
    QString account = row.method.isEmpty() ? QString() : lookup(MapKind::Account, row.method);
    if (account.isEmpty()) account = bill.account.isEmpty() ? row.method : bill.account;
    account = SpreadsheetImport::gbkCut(account, kNameBytes);
    p.posting.account = account;

    QString other;
    QString otherKey;
    if (!row.transferAccount.isEmpty()) {
        otherKey = row.transferAccount;
        other = bookAccount(otherKey);
        if (other.isEmpty()) other = otherKey;
    } else {
        for (const QString& key : {row.counterpartyAccount, row.counterparty}) {
            other = bookAccount(key);
            if (!other.isEmpty()) {
                otherKey = key;
                break;
            }
        }
        // What a row is turned into a transfer by hand remembers its counterparty.
        if (other.isEmpty())
            otherKey =
                row.counterpartyAccount.isEmpty() ? row.counterparty : row.counterpartyAccount;
    }
    p.counterKey = otherKey;
    setCounterAccount(p, other);
}

QString BillImport::counterAccount(const Planned& p) {
    if (p.kind != BillRow::Direction::Transfer) return QString();
    return p.row.direction == BillRow::Direction::In ? p.posting.account : p.posting.target;
}

void BillImport::setCounterAccount(Planned& p, const QString& account) {
    const bool in = p.row.direction == BillRow::Direction::In;
    // The statement's own account, wherever the transfer put it.
    const QString own =
        p.kind == BillRow::Direction::Transfer && in ? p.posting.target : p.posting.account;
    const QString other = SpreadsheetImport::gbkCut(account.trimmed(), kNameBytes);
    if (other.isEmpty() || other == own || p.row.direction == BillRow::Direction::Neutral) {
        if (p.kind == BillRow::Direction::Transfer) {
            p.kind = p.row.direction;
            if (p.posting.name.isEmpty()) p.posting.name = proposeCategory(p.row, p.kind);
        }
        p.posting.account = own;
        p.posting.target.clear();
        return;
    }
    // Money that left the account went to the other one, and the other way round.
    p.kind = BillRow::Direction::Transfer;
    p.posting.account = in ? other : own;
    p.posting.target = in ? own : other;
}

QStringList BillImport::transferKeysAround(const Planned& p) {
    QStringList keys;
    const QDate day = QDate::fromString(SpreadsheetImport::dayOf(p.posting.date), Qt::ISODate);
    if (!day.isValid()) return keys;
    for (int d = -kTransferDays; d <= kTransferDays; ++d)
        keys << transferKey(p, day.addDays(d).toString(Qt::ISODate));
    return keys;
}

QString BillImport::fileKey(const Planned& p) {
    if (p.kind == BillRow::Direction::Transfer)
        return transferKey(p, SpreadsheetImport::dayOf(p.posting.date));
    const QChar unit(0x1f);
    QString key = QLatin1Char('S') + unit + p.methodKey + unit + p.key;
    if (p.row.hasBalance) key += unit + Money::plain(p.row.balance);
    return key;
}

bool BillImport::opening(const BillRow& row) {
    return !row.transferAccount.isEmpty() &&
           (row.transferAccount == row.method ||
            row.counterparty.compare(QStringLiteral("Opening Balance"), Qt::CaseInsensitive) == 0);
}

void BillImport::pairTransfer(Planned& p, const std::vector<Planned>& earlier,
                              QHash<QString, std::vector<size_t>>* sides) {
    const auto own = [](const Planned& q) {
        return q.row.direction == BillRow::Direction::In ? q.posting.target : q.posting.account;
    };
    std::vector<size_t>& waiting = (*sides)[p.key];
    for (auto it = waiting.begin(); it != waiting.end(); ++it) {
        const Planned& other = earlier[*it];
        if (own(other) == own(p)) continue;
        p.state = State::Void;
        p.ticked = false;
        p.why = QStringLiteral("与第 %1 行是同一笔转账").arg(other.row.rowNumber);
        waiting.erase(it);
        return;
    }
    waiting.push_back(earlier.size());
}

bool BillImport::fileRowDone(Planned& p, const Done& done) const {
    if (done.keys.contains(p.key)) return true;
    const QDate day = QDate::fromString(p.posting.date, Qt::ISODate);
    if (!day.isValid()) return false;
    const auto near = [&](const QStringList& days) {
        for (const QString& d : days) {
            const QDate other = QDate::fromString(d, Qt::ISODate);
            if (other.isValid() && qAbs(other.daysTo(day)) <= kTransferDays) return true;
        }
        return false;
    };
    const QChar unit(0x1f);
    if (p.kind == BillRow::Direction::Transfer) {
        for (const QString& key : transferKeysAround(p))
            if (done.keys.contains(key)) return true;
        return false;
    }
    // The other side of a transfer booked from another account's statement, under a name
    // this statement does not tell: asked, not assumed.
    const QString side = p.posting.account + unit + p.posting.amount;
    if (p.ticked &&
        near(p.kind == BillRow::Direction::Out ? done.out.value(side) : done.in.value(side))) {
        p.ticked = false;
        p.why = QStringLiteral("可能已作为转账导入");
    }
    return false;
}

BillImport::Planned BillImport::planRow(const BillRow& row, const Bill& bill) {
    const Bill::Source source = bill.source;
    Planned p;
    p.row = row;
    p.kind = row.direction;
    p.methodKey = BillRules::walletOf(row.method, source);
    p.posting.date = row.day;
    p.posting.member = member_;
    QString remark = row.counterparty;
    if (!row.goods.isEmpty() && row.goods != QStringLiteral("/"))
        remark += (remark.isEmpty() ? QString() : QStringLiteral(" ")) + row.goods;
    p.posting.remark = SpreadsheetImport::gbkCut(remark, kRemarkBytes);
    const double net = Money::round(row.amount - row.refunded);
    p.posting.amount = Money::plain(net);

    QString from;
    QString to;
    const bool failed = row.refund ? row.status.contains(QStringLiteral("失败")) ||
                                         row.status.contains(QStringLiteral("关闭"))
                                   : !row.successful;
    if (fromFile(source)) {
        planFileRow(p, bill);
    } else if (row.refund) {
        // Money back lowers what the purchase cost; it is no income.
        p.kind = BillRow::Direction::Out;
        p.posting.amount = Money::plain(-Money::round(row.amount));
    } else if (BillRules::transfer(row, source, &from, &to)) {
        p.kind = BillRow::Direction::Transfer;
        p.methodKey = from;
        p.targetKey = to;
        p.posting.target = proposeAccount(to);
        if (row.fee > 0 && row.fee < net) p.posting.amount = Money::plain(net - row.fee);
    }
    if (!fromFile(source)) p.posting.account = proposeAccount(p.methodKey);
    if (p.kind != BillRow::Direction::Transfer)
        p.posting.name = proposeCategory(
            row, p.kind == BillRow::Direction::Neutral ? BillRow::Direction::Out : p.kind);

    if (failed) {
        p.state = State::Void;
        p.why = row.status;
    } else if (!row.refund && net <= 0) {
        p.state = row.amount > 0 ? State::Void : State::Skipped;
        p.why = row.amount > 0 ? QStringLiteral("已全额退款") : QStringLiteral("金额为0");
    } else if (p.kind == BillRow::Direction::Neutral) {
        p.state = State::Skipped;
        p.why = QStringLiteral("不计收支");
    } else if (p.kind == BillRow::Direction::Transfer && !fromFile(source)) {
        // Asked for, not assumed: a transfer only moves money between the book's accounts.
        p.state = State::New;
        p.why = QStringLiteral("转账");
    } else {
        p.state = State::New;
        p.ticked = true;
    }
    return p;
}

std::vector<BillImport::Planned> BillImport::plan(const Bill& bill) {
    Done done = loadDone();
    owner_ = bill.owner;
    source_ = bill.source;
    loadBook();
    // Postings need a member: the one picked for this owner's bills before, else the book's
    // default.
    const QString picked = owner_.isEmpty() ? QString() : mapped(MapKind::Member, owner_);
    if (!picked.isEmpty()) member_ = picked;

    std::vector<double> refunded(bill.rows.size(), 0);
    const std::vector<int> into = matchRefunds(bill, &refunded);
    std::vector<Planned> out;
    out.reserve(bill.rows.size());
    QHash<QString, int> occurrences;
    QHash<QString, std::vector<size_t>> sides;
    for (size_t i = 0; i < bill.rows.size(); ++i) {
        BillRow row = bill.rows[i];
        row.refunded = Money::round(row.refunded + refunded[i]);
        Planned p = planRow(row, bill);
        p.key = keyOf(row, ++occurrences[keyOf(row, 1)]);
        if (fromFile(bill.source)) {
            if (p.kind == BillRow::Direction::Transfer) {
                // Two alike transfers of one day are told apart by their order on each side.
                const QChar unit(0x1f);
                const QString own =
                    row.direction == BillRow::Direction::In ? p.posting.target : p.posting.account;
                p.occurrence = ++occurrences[transferKey(p, row.day) + unit + own];
            }
            p.key = fileKey(p);
            if (opening(row)) {
                p.state = State::Skipped;
                p.ticked = false;
                p.why = QStringLiteral("期初余额");
            } else if (p.state != State::Void && p.state != State::Skipped &&
                       fileRowDone(p, done)) {
                p.state = State::Imported;
                p.ticked = false;
                p.why = QStringLiteral("已导入");
            } else if (p.kind == BillRow::Direction::Transfer) {
                pairTransfer(p, out, &sides);
            }
            out.push_back(std::move(p));
            continue;
        }
        // What an older version booked of a number: its first row that moved money.
        const bool oldBooked = !row.number.isEmpty() && done.numbers.value(row.number) > 0 &&
                               row.direction != BillRow::Direction::Neutral && row.successful &&
                               !row.refund;
        if (done.keys.contains(p.key) || oldBooked) {
            if (oldBooked) --done.numbers[row.number];
            p.state = State::Imported;
            p.ticked = false;
            p.why = QStringLiteral("已导入");
        } else if (into[i] >= 0 && p.state != State::Void) {
            p.state = State::Void;
            p.ticked = false;
            p.why = QStringLiteral("已从原交易中扣除");
        }
        out.push_back(std::move(p));
    }
    return out;
}

BillImport::Counts BillImport::count(const std::vector<Planned>& rows) {
    Counts c;
    for (const Planned& p : rows) {
        if (p.state == State::Imported)
            ++c.imported;
        else if (p.ticked && !p.fixed())
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
    if (!Money::parse(p.posting.amount, &amount))
        return rowMessage(n, QStringLiteral("金额"), QStringLiteral("不是有效的数字！"));
    // A refund is booked as a negative expense; anything else must have moved money.
    if (p.row.refund ? Money::round(amount) >= 0 : Money::round(amount) <= 0)
        return rowMessage(n, QStringLiteral("金额"), QStringLiteral("必须大于 0！"));
    const bool transfer = p.kind == BillRow::Direction::Transfer;
    std::vector<std::pair<QString, QString>> names;
    if (!transfer) names.push_back({QStringLiteral("类别"), p.posting.name});
    names.push_back(
        {transfer ? QStringLiteral("转出账户") : QStringLiteral("账户"), p.posting.account});
    if (transfer) names.push_back({QStringLiteral("转入账户"), p.posting.target});
    names.push_back({QStringLiteral("家庭成员"), p.posting.member});
    for (const auto& [header, name] : names) {
        if (name.trimmed().isEmpty()) return rowMessage(n, header, QStringLiteral("不能为空！"));
        if (NameText::hasControl(name))
            return rowMessage(n, header, QStringLiteral("不能包含制表符、换行符等控制字符！"));
    }
    if (transfer && p.posting.account == p.posting.target)
        return rowMessage(n, QStringLiteral("转入账户"), QStringLiteral("不能和转出账户相同！"));
    return QString();
}

int BillImport::firstRefused(const std::vector<Planned>& rows, QString* message) {
    for (size_t i = 0; i < rows.size(); ++i) {
        const Planned& p = rows[i];
        if (!p.ticked || p.fixed()) continue;
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

void BillImport::createAccounts(const std::vector<Planned>& rows) {
    for (const Planned& p : rows) {
        if (!p.ticked || p.fixed()) continue;
        QStringList names{p.posting.account};
        if (p.kind == BillRow::Direction::Transfer) names << p.posting.target;
        for (const QString& name : names) {
            if (!dm_.NewAccount(name, p.posting.member)) continue;
            dm_.db().exec(QStringLiteral("UPDATE SAccount SET theType=? WHERE BName=? AND AName=?"),
                          BillRules::accountType(name), dm_.book(), name);
        }
    }
}

int BillImport::book(const std::vector<Planned>& rows) {
    std::vector<PostingRules::Posting> income;
    std::vector<PostingRules::Posting> expense;
    std::vector<PostingRules::Posting> transfers;
    QStringList keys;
    QString why;
    if (firstRefused(rows, &why) >= 0) throw PostingRules::Refused(why);
    QString feeCategory = bookCategory(BillRow::Direction::Out, BillRules::feeCategories());
    if (feeCategory.isEmpty()) feeCategory = BillRules::feeCategories().first();
    for (const Planned& p : rows) {
        if (!p.ticked || p.fixed()) continue;
        PostingRules::Posting posting = p.posting;
        posting.date = SpreadsheetImport::dayOf(posting.date);
        if (p.kind == BillRow::Direction::Transfer) {
            transfers.push_back(posting);
            if (p.row.fee > 0) {
                // The fee came out of the account the money left.
                PostingRules::Posting fee = posting;
                fee.name = feeCategory;
                fee.amount = Money::plain(p.row.fee);
                fee.target.clear();
                expense.push_back(fee);
            }
        } else {
            (p.kind == BillRow::Direction::In ? income : expense).push_back(posting);
        }
        // A statement's transfer is known by the accounts it is booked between, as the user
        // may have changed them.
        keys << (fromFile(source_) && p.kind == BillRow::Direction::Transfer ? fileKey(p) : p.key);
    }
    Transaction tx(dm_.db());
    // The bill was matched against the stored keys when it was opened; another window or
    // a script may have booked some of its rows since. Asked again under the write lock, so a
    // row is never booked twice.
    {
        Statement done = dm_.db().prepare(
            QStringLiteral("SELECT 1 FROM SBillDone WHERE BName=? AND theNo=? LIMIT 1"));
        const auto stored = [&](const QString& key) {
            done.bind(1, dm_.book());
            done.bind(2, key);
            const bool found = done.step();
            done.reset();
            return found;
        };
        int k = 0;
        for (const Planned& p : rows) {
            if (!p.ticked || p.fixed()) continue;
            bool found = stored(keys[k++]);
            // A statement's transfer, booked meanwhile from the other account's statement.
            if (!found && fromFile(source_) && p.kind == BillRow::Direction::Transfer) {
                for (const QString& key : transferKeysAround(p)) found = found || stored(key);
            }
            if (found)
                throw PostingRules::Refused(
                    QStringLiteral("第 %1 行 已导入，请重新打开账单！").arg(p.row.rowNumber) +
                    SpreadsheetImport::nothingImported());
        }
    }
    createAccounts(rows);
    PostingRules rules(dm_);
    int booked = 0;
    if (!income.empty()) booked += rules.saveImported(PostingKind::income(), income);
    if (!expense.empty()) booked += rules.saveImported(PostingKind::expense(), expense);
    if (!transfers.empty()) booked += rules.saveImported(PostingKind::transfer(), transfers);
    Statement st =
        dm_.db().prepare(QStringLiteral("INSERT INTO SBillDone(BName, theNo) VALUES(?,?)"));
    for (const QString& k : keys) {
        st.bind(1, dm_.book());
        st.bind(2, k);
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
        if (p.fixed()) continue;
        if (p.accountPick > 0)
            picks.push_back({p.accountPick, MapKind::Account, p.methodKey, p.posting.account});
        if (p.counterPick > 0 && !p.counterKey.isEmpty() && !counterAccount(p).isEmpty())
            picks.push_back({p.counterPick, MapKind::Account, p.counterKey, counterAccount(p)});
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

BillImport::BalanceCheck BillImport::balanceCheck(const Bill& bill) {
    BalanceCheck check;
    if (!bill.hasClosingBalance || SpreadsheetImport::dayOf(bill.closingDay).isEmpty())
        return check;
    QString account = bill.account;
    if (account.isEmpty()) {
        // A file of one account of its own (an OFX statement) is that account's, as mapped.
        QSet<QString> methods;
        for (const BillRow& row : bill.rows) methods.insert(row.method);
        if (methods.size() != 1 || methods.begin()->isEmpty()) return check;
        account = lookup(MapKind::Account, *methods.begin());
        if (account.isEmpty()) account = SpreadsheetImport::gbkCut(*methods.begin(), kNameBytes);
    }
    const Query now =
        dm_.db().query(QStringLiteral("SELECT CAST(round(AMoney * 100) AS INTEGER) FROM SAccount "
                                      "WHERE BName=? AND AName=?"),
                       dm_.book(), account);
    if (now.isEmpty()) return check;
    // The balance at the end of the statement's day: what the account holds now, less what
    // the journal moved after that day, in whole cents.
    const QString day = SpreadsheetImport::dayOf(bill.closingDay);
    const Query later =
        dm_.db().query(QStringLiteral("SELECT Sum(CAST(round(theIn * 100) AS INTEGER)) - "
                                      "Sum(CAST(round(theOut * 100) AS INTEGER)) FROM UList "
                                      "WHERE BName=? AND AName=? AND theDate>?"),
                       dm_.book(), account, day);
    const qint64 cents =
        now.value(0, 0).toLongLong() - (later.isEmpty() ? 0 : later.value(0, 0).toLongLong());
    check.known = true;
    check.account = account;
    check.day = day;
    check.statement = Money::round(bill.closingBalance);
    check.book = double(cents) / 100.0;
    return check;
}

QString BillImport::balanceText(const BalanceCheck& check) {
    if (!check.known) return QString();
    if (Money::isZero(check.difference()))
        return QStringLiteral("对账：账户“%1”%2 的余额与账单余额相符（%3）")
            .arg(check.account, check.day, Money::display(check.statement));
    return QStringLiteral("对账：账单余额 %1，账户“%2”%3 的余额 %4，相差 %5")
        .arg(Money::display(check.statement), check.account, check.day, Money::display(check.book),
             Money::display(check.difference()));
}

}  // namespace cw
