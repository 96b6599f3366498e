// The plan and reminder verbs of coinwick-cli: plan add, plans, execute-due and warn. They run
// the operations of the plan windows and of the reminder manager.
#include <QHash>
#include <QRegularExpression>

#include "cli/Cli.h"
#include "cli/ReportTsv.h"
#include "cli/Tsv.h"
#include "plans/PlanBook.h"
#include "plans/ReminderThresholds.h"
#include "storage/Money.h"
#include "storage/TfrmDM.h"

namespace cw {

namespace {

using Rule = PlanSchedule::Rule;

// key=value arguments; values pass through exactly, only the first '=' separates. Returns the
// complaint, empty when every argument is a key the verb knows, given once.
QString readKeys(const QStringList& args, const QStringList& known, QHash<QString, QString>& out) {
    for (const QString& arg : args) {
        const qsizetype eq = arg.indexOf(QLatin1Char('='));
        if (eq <= 0) return QStringLiteral("expected key=value, got ") + arg;
        const QString key = arg.left(eq);
        if (!known.contains(key)) return QStringLiteral("unknown key ") + key;
        if (out.contains(key)) return QStringLiteral("key %1 given twice").arg(key);
        out.insert(key, arg.mid(eq + 1));
    }
    return {};
}

// The plan kind of a word: the CLI's English words or the stored Chinese one.
QString planKindOf(const QString& word) {
    static const QHash<QString, QString> words = {
        {QStringLiteral("income"), QStringLiteral("收入")},
        {QStringLiteral("expense"), QStringLiteral("支出")},
        {QStringLiteral("investment"), QStringLiteral("投资")},
        {QStringLiteral("debt"), QStringLiteral("债务")},
        {QStringLiteral("credit"), QStringLiteral("债权")}};
    if (words.contains(word)) return words.value(word);
    return PlanBook::kinds().contains(word) ? word : QString();
}

// every=day|days|month|year|months, the counted forms also as 7days or 3months.
bool ruleOf(const QString& every, PlanSchedule& s) {
    static const QRegularExpression counted(QStringLiteral("^(\\d*|N)(days|months)$"));
    if (every == QLatin1String("day")) {
        s.rule = Rule::Daily;
        return true;
    }
    if (every == QLatin1String("month")) {
        s.rule = Rule::Monthly;
        return true;
    }
    if (every == QLatin1String("year")) {
        s.rule = Rule::Yearly;
        return true;
    }
    const QRegularExpressionMatch m = counted.match(every);
    if (!m.hasMatch()) return false;
    const bool days = m.captured(2) == QLatin1String("days");
    s.rule = days ? Rule::EveryNDays : Rule::EveryNMonths;
    s.n = days ? 7 : 3;
    const QString n = m.captured(1);
    if (!n.isEmpty() && n != QLatin1String("N")) s.n = n.toInt();
    return true;
}

bool numberOf(const QHash<QString, QString>& keys, const QString& key, int& value) {
    if (!keys.contains(key)) return true;
    bool ok = false;
    value = keys.value(key).toInt(&ok);
    return ok;
}

}  // namespace

int Cli::cmdPlan(const QStringList& argsIn) {
    QStringList args = argsIn;
    if (args.size() < 2 || args.takeFirst() != QLatin1String("add"))
        return usage(QStringLiteral("plan add KIND key=value..."));
    PlanBook::Series s;
    s.kind = planKindOf(args.takeFirst());
    if (s.kind.isEmpty())
        return usage(QStringLiteral("plan add income|expense|investment|debt|credit"));
    QHash<QString, QString> keys;
    const bool person = s.kind == QStringLiteral("债务") || s.kind == QStringLiteral("债权");
    const QString nameKey = person ? QStringLiteral("contact") : QStringLiteral("category");
    const QString bad =
        readKeys(args,
                 {nameKey, QStringLiteral("amount"), QStringLiteral("account"),
                  QStringLiteral("member"), QStringLiteral("remark"), QStringLiteral("every"),
                  QStringLiteral("n"), QStringLiteral("day"), QStringLiteral("month"),
                  QStringLiteral("from"), QStringLiteral("to")},
                 keys);
    if (!bad.isEmpty()) return usage(bad);
    if (!ruleOf(keys.value(QStringLiteral("every"), QStringLiteral("day")), s.schedule))
        return usage(QStringLiteral("every=day|Ndays|month|year|Nmonths"));
    if (!numberOf(keys, QStringLiteral("n"), s.schedule.n) ||
        !numberOf(keys, QStringLiteral("day"), s.schedule.day) ||
        !numberOf(keys, QStringLiteral("month"), s.schedule.month))
        return usage(QStringLiteral("n=, day= and month= take whole numbers"));
    s.name = keys.value(nameKey);
    s.amount = keys.value(QStringLiteral("amount"));
    s.account = keys.value(QStringLiteral("account"));
    s.member = keys.value(QStringLiteral("member"));
    s.remark = keys.value(QStringLiteral("remark"));
    const auto date = [&keys](const char* key) {
        return QDate::fromString(keys.value(QString::fromLatin1(key)),
                                 QStringLiteral("yyyy-MM-dd"));
    };
    s.from = date("from");
    s.to = date("to");
    if (!s.from.isValid() || !s.to.isValid())
        return usage(QStringLiteral("from= and to= take dates YYYY-MM-DD"));

    if (!openData() || !openBook()) return Refused;
    PlanBook::Verdict verdict;
    const int made = PlanBook(*dm_).createSeries(s, &verdict);
    if (!verdict.ok()) return refuse(verdict.message);
    out_ << made << '\n';
    return Done;
}

int Cli::cmdPlans(const QStringList& args) {
    bool due = false;
    QString kind;
    for (const QString& arg : args) {
        if (arg == QLatin1String("due")) {
            due = true;
        } else if (arg.startsWith(QLatin1String("kind="))) {
            kind = planKindOf(arg.mid(5));
            if (kind.isEmpty())
                return usage(QStringLiteral("kind=income|expense|investment|debt|credit"));
        } else {
            return usage(QStringLiteral("plans [due] [kind=]"));
        }
    }
    if (!openData() || !openBook()) return Refused;
    PlanBook plans(*dm_);
    PlanBook::Filter filter;
    filter.kind = kind;
    ReportTable table;
    if (due && kind.isEmpty()) {
        table = plans.due();
    } else {
        if (due) filter.dueBy = clock_.todayText();
        table = plans.list(filter);
    }
    tsv::table(out_, table);
    return Done;
}

int Cli::cmdExecuteDue(const QStringList& args) {
    if (!args.isEmpty()) return usage(QStringLiteral("execute-due takes no arguments"));
    if (!openData() || !openBook()) return Refused;
    PlanBook plans(*dm_);
    const ReportTable due = plans.due();
    std::vector<qint64> ids;
    for (int r = 0; r < due.rowCount(); ++r) ids.push_back(due.rowId(r));
    const PlanBook::Run run = plans.executeAll(ids, false);
    out_ << run.executed << '\n';
    if (!run.failure.isEmpty()) return refuse(run.failure);
    return Done;
}

int Cli::cmdWarn(const QStringList& argsIn) {
    QStringList args = argsIn;
    if (args.isEmpty()) return usage(QStringLiteral("warn list|add|modify|enable|disable|delete"));
    const QString what = args.takeFirst();
    const auto idOf = [&args](qint64& id) {
        if (args.isEmpty()) return false;
        bool ok = false;
        id = args.takeFirst().toLongLong(&ok);
        return ok;
    };
    if (what == QLatin1String("list")) {
        if (!args.isEmpty()) return usage(QStringLiteral("warn list takes no arguments"));
        if (!openData() || !openBook()) return Refused;
        // The manager's titles, and the ID the other warn verbs take.
        tsv::row(out_,
                 {QStringLiteral("ID"), QStringLiteral("提醒类别"), QStringLiteral("家庭成员"),
                  QStringLiteral("提醒金额"), QStringLiteral("提醒提示"), QStringLiteral("状态")});
        for (const auto& r : ReminderThresholds(*dm_).list()) {
            tsv::row(out_, {QString::number(r.id), r.kind, r.member, Money::plain(r.amount), r.hint,
                            r.state});
        }
        return Done;
    }
    if (what == QLatin1String("add")) {
        QHash<QString, QString> keys;
        const QString bad = readKeys(args,
                                     {QStringLiteral("kind"), QStringLiteral("member"),
                                      QStringLiteral("amount"), QStringLiteral("remark")},
                                     keys);
        if (!bad.isEmpty()) return usage(bad);
        const QString kind = planKindOf(keys.value(QStringLiteral("kind"), QStringLiteral("支出")));
        if (kind.isEmpty())
            return usage(QStringLiteral("kind=income|expense|investment|debt|credit"));
        if (!openData() || !openBook()) return Refused;
        const auto v = ReminderThresholds(*dm_).add(kind, keys.value(QStringLiteral("member")),
                                                    keys.value(QStringLiteral("amount")),
                                                    keys.value(QStringLiteral("remark")));
        if (!v.ok()) return refuse(v.message);
        return Done;
    }
    qint64 id = 0;
    if (!idOf(id)) return usage(QStringLiteral("warn %1 ID").arg(what));
    if (what == QLatin1String("modify")) {
        QHash<QString, QString> keys;
        const QString bad =
            readKeys(args, {QStringLiteral("amount"), QStringLiteral("remark")}, keys);
        if (!bad.isEmpty()) return usage(bad);
        if (!openData() || !openBook()) return Refused;
        ReminderThresholds warn(*dm_);
        bool found = false;
        for (const auto& r : warn.list()) {
            if (r.id != id) continue;
            found = true;
            if (!keys.contains(QStringLiteral("amount")))
                keys.insert(QStringLiteral("amount"), Money::plain(r.amount));
            if (!keys.contains(QStringLiteral("remark")))
                keys.insert(QStringLiteral("remark"), r.hint);
        }
        if (!found) return refuse(QStringLiteral("找不到这条记录！"));
        const auto v = warn.modify(id, keys.value(QStringLiteral("amount")),
                                   keys.value(QStringLiteral("remark")));
        if (!v.ok()) return refuse(v.message);
        out_ << ReminderThresholds::kModified << '\n';
        return Done;
    }
    if (!args.isEmpty()) return usage(QStringLiteral("warn %1 ID").arg(what));
    if (!openData() || !openBook()) return Refused;
    ReminderThresholds warn(*dm_);
    if (what == QLatin1String("delete")) {
        if (!warn.remove(id)) return refuse(QStringLiteral("找不到这条记录！"));
        return Done;
    }
    if (what == QLatin1String("enable") || what == QLatin1String("disable")) {
        warn.setState(id, what == QLatin1String("enable") ? ReminderThresholds::kEnabled
                                                          : ReminderThresholds::kDisabled);
        return Done;
    }
    return usage(QStringLiteral("warn list|add|modify|enable|disable|delete"));
}

}  // namespace cw
