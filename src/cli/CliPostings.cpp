// The posting verbs of coinwick-cli: post, edit, delete, journal and check. They run the very
// operations the posting screens run, so a script books exactly what a click would.
#include <QHash>

#include "bookkeeping/BookCheck.h"
#include "bookkeeping/PostingKind.h"
#include "bookkeeping/PostingRules.h"
#include "cli/Cli.h"
#include "storage/Database.h"
#include "storage/Money.h"
#include "storage/TfrmDM.h"

namespace cw {

namespace {

using Posting = PostingRules::Posting;

// The field a key fills; transfers know "from" and "to" where the others know "category" and
// "account".
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
    if (key == QLatin1String("category")) return &p.name;
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

bool takeId(const QString& text, qint64* id) {
    bool ok = false;
    *id = text.toLongLong(&ok);
    return ok && *id > 0;
}

}  // namespace

int Cli::cmdPost(const QStringList& args) {
    if (args.isEmpty()) return usage(QStringLiteral("post needs a kind"));
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
    const PostingKind* kind = PostingKind::byCliName(args[0]);
    if (!kind) return usage(QStringLiteral("unknown kind ") + args[0]);
    qint64 id = 0;
    if (!takeId(args[1], &id)) return usage(QStringLiteral("not an ID: ") + args[1]);
    // The keys are checked before the file is opened, on a posting of empty fields.
    Posting probe;
    if (const QString why = applyKeys(*kind, args.mid(2), probe); !why.isEmpty()) return usage(why);
    if (!openData() || !openBook()) return Refused;
    PostingRules rules(*dm_);
    std::optional<Posting> p = rules.load(*kind, id);
    if (!p) return refuse(PostingRules::kNotFound);
    applyKeys(*kind, args.mid(2), *p);
    try {
        rules.saveEdit(*kind, id, *p);
    } catch (const PostingRules::Refused& e) {
        return refuse(e.message());
    }
    return Done;
}

int Cli::cmdDelete(const QStringList& args) {
    if (args.size() != 2) return usage(QStringLiteral("delete takes a kind and an ID"));
    const PostingKind* kind = PostingKind::byCliName(args[0]);
    if (!kind) return usage(QStringLiteral("unknown kind ") + args[0]);
    qint64 id = 0;
    if (!takeId(args[1], &id)) return usage(QStringLiteral("not an ID: ") + args[1]);
    if (!openData() || !openBook()) return Refused;
    try {
        PostingRules(*dm_).remove(*kind, id);
    } catch (const PostingRules::Refused& e) {
        return refuse(e.message());
    }
    return Done;
}

int Cli::cmdJournal(const QStringList& args) {
    QString account;
    bool byAccount = false;
    for (const QString& arg : args) {
        if (!arg.startsWith(QLatin1String("account=")) || byAccount)
            return usage(QStringLiteral("journal takes at most account=NAME"));
        account = arg.mid(8);
        byAccount = true;
    }
    if (!openData() || !openBook()) return Refused;
    QString sql = QStringLiteral(
        "SELECT ID, theDate, theType, Remark, theIn, theOut, AName, AMoney, FName, theT, theID, "
        "theE FROM UList WHERE BName=?");
    if (byAccount) sql += QStringLiteral(" AND AName=?");
    Statement st = db_->prepare(sql + QStringLiteral(" ORDER BY ID"));
    st.bind(1, dm_->book());
    if (byAccount) st.bind(2, account);
    out_
        << "ID\ttheDate\ttheType\tRemark\ttheIn\ttheOut\tAName\tAMoney\tFName\ttheT\ttheID\ttheE\n";
    // Money columns print as plain decimals; the rest exactly as stored (a tab or a line break
    // typed into a remark is not escaped: what was typed comes back).
    const QList<int> money{4, 5, 7};
    while (st.step()) {
        for (int c = 0; c < 12; ++c) {
            if (c > 0) out_ << '\t';
            out_ << (money.contains(c) ? Money::plain(st.number(c)) : st.text(c));
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
