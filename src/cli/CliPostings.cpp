// The posting verbs of coinwick-cli: post, edit, delete, journal and check. They run the very
// operations the posting screens and their sub-dialogs run, so a script books exactly what a
// click would.
#include <QHash>
#include <QMap>

#include "bookkeeping/BookCheck.h"
#include "bookkeeping/PostingKind.h"
#include "bookkeeping/PostingRules.h"
#include "bookkeeping/SubPostingRules.h"
#include "cli/Cli.h"
#include "cli/Tsv.h"
#include "reports/FundFlowLog.h"
#include "storage/Database.h"
#include "storage/Money.h"
#include "storage/TfrmDM.h"

namespace cw {

namespace {

using Posting = PostingRules::Posting;
using Entry = SubPostingRules::Entry;
using Change = SubPostingRules::Change;

// The field a key fills; transfers know "from" and "to" where the others know "account" and
// their name: "contact" for debts and credits, "category" for the rest.
QString* fieldOf(const PostingKind& kind, const QString& key, Posting& p) {
    if (key == QLatin1String("date")) return &p.date;
    if (key == QLatin1String("amount")) return &p.amount;
    if (key == QLatin1String("member")) return &p.member;
    if (key == QLatin1String("remark")) return &p.remark;
    if (kind.isTransfer()) {
        if (key == QLatin1String("from")) return &p.account;
        if (key == QLatin1String("to")) return &p.target;
        return nullptr;
    }
    const bool contact = kind.nameTable == QLatin1String("PD");
    if (key == (contact ? QLatin1String("contact") : QLatin1String("category"))) return &p.name;
    if (key == QLatin1String("account")) return &p.account;
    return nullptr;
}

// Lays key=value arguments over p. Values pass through exactly, '=' and quotes included; only
// the first '=' separates. Returns the complaint, empty when every argument was understood.
QString applyKeys(const PostingKind& kind, const QStringList& args, Posting& p) {
    QStringList seen;
    for (const QString& arg : args) {
        const qsizetype eq = arg.indexOf(QLatin1Char('='));
        if (eq <= 0) return QStringLiteral("expected key=value, got ") + arg;
        const QString key = arg.left(eq);
        QString* field = fieldOf(kind, key, p);
        if (!field) return QStringLiteral("%1 takes no key %2").arg(kind.cliName, key);
        if (seen.contains(key)) return QStringLiteral("key %1 given twice").arg(key);
        seen << key;
        *field = arg.mid(eq + 1);
    }
    return {};
}

// What the companion says where no window offers the operation at all.
const QString kCannotChange = QStringLiteral("该记录不能修改！");
const QString kCannotDelete = QStringLiteral("增减记录不能删除！");

bool takeId(const QString& text, qint64* id) {
    bool ok = false;
    *id = text.toLongLong(&ok);
    return ok && *id > 0;
}

// A record under a debt, credit or investment: a settlement ("repay", "collect", "return") or
// a change ("increase", "decrease", whose parent kind comes with of=).
struct SubVerb {
    const SubPostingKind* sub = nullptr;  // settlements: known from the word
    bool isChange = false;
    Change change = Change::Increase;
};

std::optional<SubVerb> subVerb(const QString& word) {
    if (const SubPostingKind* sub = SubPostingKind::bySettleCliName(word)) return SubVerb{sub};
    if (word == QLatin1String("increase")) return SubVerb{nullptr, true, Change::Increase};
    if (word == QLatin1String("decrease")) return SubVerb{nullptr, true, Change::Decrease};
    return std::nullopt;
}

// The key=value arguments of a sub-record verb, checked against the keys it knows.
QString takeSubKeys(const QString& word, const SubVerb& verb, const QStringList& args,
                    QMap<QString, QString>& keys) {
    QStringList known{"id", "date", "account", "member", "remark"};
    if (verb.isChange) {
        known << "of"
              << "amount";
    } else if (verb.sub->hasProfit()) {
        known << "principal"
              << "profit";
    } else {
        known << "amount";
    }
    for (const QString& arg : args) {
        const qsizetype eq = arg.indexOf(QLatin1Char('='));
        if (eq <= 0) return QStringLiteral("expected key=value, got ") + arg;
        const QString key = arg.left(eq);
        if (!known.contains(key)) return QStringLiteral("%1 takes no key %2").arg(word, key);
        if (keys.contains(key)) return QStringLiteral("key %1 given twice").arg(key);
        keys.insert(key, arg.mid(eq + 1));
    }
    return {};
}

// Lays the given keys over the dialog's presets.
void applySubKeys(const QMap<QString, QString>& keys, Entry& e) {
    const QHash<QString, QString Entry::*> fields{
        {"date", &Entry::date},     {"amount", &Entry::amount},   {"principal", &Entry::amount},
        {"profit", &Entry::profit}, {"account", &Entry::account}, {"member", &Entry::member},
        {"remark", &Entry::remark}};
    for (auto it = keys.cbegin(); it != keys.cend(); ++it) {
        if (const auto field = fields.constFind(it.key()); field != fields.cend())
            e.*(*field) = it.value();
    }
}

}  // namespace

int Cli::cmdPostSub(const QString& word, const QStringList& args) {
    SubVerb verb = *subVerb(word);
    QMap<QString, QString> keys;
    if (const QString why = takeSubKeys(word, verb, args, keys); !why.isEmpty()) return usage(why);
    qint64 parentId = 0;
    if (!takeId(keys.value(QStringLiteral("id")), &parentId))
        return usage(word + QStringLiteral(" needs id= of its parent"));
    if (verb.isChange) {
        const PostingKind* of = PostingKind::byCliName(keys.value(QStringLiteral("of")));
        verb.sub = of ? SubPostingKind::of(*of) : nullptr;
        if (!verb.sub) return usage(word + QStringLiteral(" needs of=debt|credit|investment"));
    }
    const PostingKind& kind = *verb.sub->parent;
    if (!openData() || !openBook()) return Refused;
    SubPostingRules rules(*dm_);
    const std::optional<SubPostingRules::Parent> parent = rules.parent(kind, parentId);
    if (!parent) return refuse(PostingRules::kNotFound);
    Entry entry =
        verb.isChange ? rules.changePreset(*parent) : rules.settlementPreset(kind, *parent);
    applySubKeys(keys, entry);
    try {
        out_ << (verb.isChange ? rules.change(kind, verb.change, parentId, entry)
                               : rules.settle(kind, parentId, entry))
             << '\n';
    } catch (const PostingRules::Refused& e) {
        return refuse(e.message());
    }
    return Done;
}

int Cli::cmdPost(const QStringList& args) {
    if (args.isEmpty()) return usage(QStringLiteral("post needs a kind"));
    if (subVerb(args[0])) return cmdPostSub(args[0], args.mid(1));
    const PostingKind* kind = PostingKind::byCliName(args[0]);
    if (!kind) return usage(QStringLiteral("unknown kind ") + args[0]);
    Posting p;
    p.date = clock_.todayText();
    if (const QString why = applyKeys(*kind, args.mid(1), p); !why.isEmpty()) return usage(why);
    if (!openData() || !openBook()) return Refused;
    try {
        out_ << PostingRules(*dm_).saveNew(*kind, p) << '\n';
    } catch (const PostingRules::Refused& e) {
        return refuse(e.message());
    }
    return Done;
}

int Cli::cmdEdit(const QStringList& args) {
    if (args.size() < 2) return usage(QStringLiteral("edit needs a kind and an ID"));
    // No window changes a repayment, collection, return, increase or decrease.
    if (subVerb(args[0])) return refuse(kCannotChange);
    const PostingKind* kind = PostingKind::byCliName(args[0]);
    if (!kind) return usage(QStringLiteral("unknown kind ") + args[0]);
    qint64 id = 0;
    if (!takeId(args[1], &id)) return usage(QStringLiteral("not an ID: ") + args[1]);
    // The keys are checked before the file is opened, on a posting of empty fields.
    Posting probe;
    if (const QString why = applyKeys(*kind, args.mid(2), probe); !why.isEmpty()) return usage(why);
    if (!openData() || !openBook()) return Refused;
    try {
        // The keys given land on the row as stored when the write begins, so a change another
        // copy made meanwhile to the other fields stays.
        PostingRules(*dm_).amend(*kind, id, [&](Posting& p) { applyKeys(*kind, args.mid(2), p); });
    } catch (const PostingRules::Refused& e) {
        return refuse(e.message());
    }
    return Done;
}

int Cli::cmdDelete(const QStringList& args) {
    if (args.size() != 2) return usage(QStringLiteral("delete takes a kind and an ID"));
    const PostingKind* kind = PostingKind::byCliName(args[0]);
    const std::optional<SubVerb> verb = subVerb(args[0]);
    if (!kind && !verb) return usage(QStringLiteral("unknown kind ") + args[0]);
    qint64 id = 0;
    if (!takeId(args[1], &id)) return usage(QStringLiteral("not an ID: ") + args[1]);
    // Increase and decrease records are kept for good: their window only lists them.
    if (verb && verb->isChange) return refuse(kCannotDelete);
    if (!openData() || !openBook()) return Refused;
    try {
        if (kind) {
            PostingRules(*dm_).remove(*kind, id);
        } else {
            SubPostingRules(*dm_).removeSettlement(*verb->sub->parent, id);
        }
    } catch (const PostingRules::Refused& e) {
        return refuse(e.message());
    }
    return Done;
}

int Cli::cmdJournal(const QStringList& args) {
    ReportFilter filter;
    int last = -1;
    if (const QString why = readLogArgs(args, &filter, &last); !why.isEmpty()) {
        return usage(QStringLiteral("journal takes account= from= to= member= remark= kind= "
                                    "last=N; ") +
                     why);
    }
    if (!openData() || !openBook()) return Refused;
    const FundFlowLog::Where w = FundFlowLog::where(dm_->book(), filter);
    const QString columns = QStringLiteral(
        "ID, theDate, theType, Remark, theIn, theOut, AName, AMoney, FName, theT, theID, theE");
    QString sql = QStringLiteral("SELECT ") + columns + QStringLiteral(" FROM UList") + w.sql;
    // The newest N in event order: read backwards along the ID, then turn them round.
    if (last >= 0) {
        sql = QStringLiteral("SELECT * FROM (") + sql +
              QStringLiteral(" ORDER BY ID DESC LIMIT %1) ORDER BY ID").arg(last);
    } else {
        sql += QStringLiteral(" ORDER BY ID");
    }
    Statement st = db_->prepare(sql);
    for (int i = 0; i < w.args.size(); ++i) st.bind(i + 1, w.args[i]);
    out_
        << "ID\ttheDate\ttheType\tRemark\ttheIn\ttheOut\tAName\tAMoney\tFName\ttheT\ttheID\ttheE\n";
    // Money columns print as plain decimals rounded to the cent; the rest as stored, with a
    // tab, line break or backslash inside a field escaped so every row keeps its columns.
    constexpr bool kMoney[12] = {false, false, false, false, true,  true,
                                 false, true,  false, false, false, false};
    while (st.step()) {
        for (int c = 0; c < 12; ++c) {
            if (c > 0) out_ << '\t';
            if (kMoney[c]) {
                out_ << Money::plain(st.number(c));
            } else {
                out_ << tsv::field(st.text(c));
            }
        }
        out_ << '\n';
    }
    return Done;
}

int Cli::cmdCheck(const QStringList& args) {
    if (!args.isEmpty()) return usage(QStringLiteral("check takes no arguments"));
    if (!openData() || !openBook()) return Refused;
    const QStringList differences = BookCheck(*dm_).check();
    for (const QString& line : differences) out_ << line << '\n';
    return differences.isEmpty() ? Done : Differences;
}

}  // namespace cw
