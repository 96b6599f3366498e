#include "import/statements/StatementProfile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <algorithm>

#include "import/SheetRows.h"
#include "storage/Database.h"
#include "storage/Transaction.h"

namespace cw {

namespace {

using Amounts = StatementProfile::Amounts;

StatementProfile split(const char* name, const char* date, const char* time, const char* income,
                       const char* expense) {
    StatementProfile p;
    p.name = QString::fromUtf8(name);
    p.amounts = Amounts::Split;
    p.date = QString::fromUtf8(date);
    p.time = QString::fromUtf8(time);
    p.income = QString::fromUtf8(income);
    p.expense = QString::fromUtf8(expense);
    p.shipped = true;
    return p;
}

StatementProfile signedAmount(const char* name, const char* date, const char* time,
                              const char* amount) {
    StatementProfile p;
    p.name = QString::fromUtf8(name);
    p.date = QString::fromUtf8(date);
    p.time = QString::fromUtf8(time);
    p.amount = QString::fromUtf8(amount);
    p.shipped = true;
    return p;
}

StatementProfile& withTexts(StatementProfile& p, const char* counterparty, const char* account,
                            const QStringList& remarks, const char* balance) {
    p.counterparty = QString::fromUtf8(counterparty);
    p.counterpartyAccount = QString::fromUtf8(account);
    p.remarks = remarks;
    p.balance = QString::fromUtf8(balance);
    return p;
}

// The detail layouts the banks' online banking writes, as far as they are publicly described.
// None of them has been tried on a real downloaded file: a bank that lays its file out
// otherwise is simply not recognised, and the user maps it once as a profile of their own.
std::vector<StatementProfile> bankLayouts() {
    std::vector<StatementProfile> out;
    StatementProfile p = split("工商银行", "交易日期", "", "记账金额(收入)", "记账金额(支出)");
    out.push_back(withTexts(p, "对方户名", "", {"摘要", "交易详情"}, "余额"));
    p = split("建设银行", "交易日期", "交易时间", "收入", "支出");
    out.push_back(withTexts(p, "对方户名", "对方账号", {"摘要", "交易地点"}, "账户余额"));
    p = signedAmount("建设银行（旧版）", "交易日期", "", "交易金额");
    out.push_back(withTexts(p, "对方账号与户名", "", {"摘要", "交易地点/附言"}, "账户余额"));
    p = signedAmount("农业银行", "交易日期", "交易时间", "交易金额");
    out.push_back(withTexts(p, "对方户名", "对方账号", {"摘要", "交易用途"}, "本次余额"));
    p = signedAmount("中国银行", "记账日期", "记账时间", "金额");
    out.push_back(withTexts(p, "对方账户名", "对方卡号/账号", {"交易名称", "附言"}, "余额"));
    p = signedAmount("交通银行", "交易日期", "交易时间", "交易金额");
    p.amounts = Amounts::Marked;
    p.mark = QStringLiteral("借贷");
    p.incomeMark = QStringLiteral("贷");
    out.push_back(withTexts(p, "对方户名", "对方账号", {"摘要"}, "余额"));
    p = split("招商银行", "交易日期", "交易时间", "收入", "支出");
    out.push_back(withTexts(p, "", "", {"交易类型", "交易备注"}, "余额"));
    p = signedAmount("招商银行（一卡通）", "记账日期", "", "交易金额");
    out.push_back(withTexts(p, "对手信息", "", {"交易摘要"}, "联机余额"));
    p = signedAmount("招商银行信用卡", "交易日", "", "人民币金额");
    p.positiveIsExpense = true;
    out.push_back(withTexts(p, "", "", {"交易摘要"}, ""));
    p = split("邮储银行", "交易日期", "", "收入金额", "支出金额");
    out.push_back(withTexts(p, "对方户名", "对方账号", {"摘要", "交易渠道"}, "账户余额"));
    // The one naming the most headers first, so a layout holding another's headers and more
    // is told as the fuller one.
    std::stable_sort(out.begin(), out.end(), [](const auto& a, const auto& b) {
        return a.headers().size() > b.headers().size();
    });
    return out;
}

QString amountsName(Amounts a) {
    switch (a) {
        case Amounts::Split:
            return QStringLiteral("Split");
        case Amounts::Marked:
            return QStringLiteral("Marked");
        case Amounts::Signed:
            break;
    }
    return QStringLiteral("Signed");
}

QString specOf(const StatementProfile& p) {
    QJsonObject o;
    o.insert(QStringLiteral("amounts"), amountsName(p.amounts));
    const std::pair<const char*, const QString*> texts[] = {
        {"date", &p.date},
        {"time", &p.time},
        {"amount", &p.amount},
        {"income", &p.income},
        {"expense", &p.expense},
        {"mark", &p.mark},
        {"incomeMark", &p.incomeMark},
        {"counterparty", &p.counterparty},
        {"counterpartyAccount", &p.counterpartyAccount},
        {"balance", &p.balance}};
    for (const auto& [key, value] : texts)
        if (!value->isEmpty()) o.insert(QLatin1String(key), *value);
    if (p.positiveIsExpense) o.insert(QStringLiteral("positiveIsExpense"), true);
    if (!p.remarks.isEmpty())
        o.insert(QStringLiteral("remarks"), QJsonArray::fromStringList(p.remarks));
    return QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact));
}

StatementProfile profileOf(const QString& name, const QString& spec) {
    const QJsonObject o = QJsonDocument::fromJson(spec.toUtf8()).object();
    StatementProfile p;
    p.name = name;
    const QString amounts = o.value(QStringLiteral("amounts")).toString();
    p.amounts = amounts == QStringLiteral("Split")    ? Amounts::Split
                : amounts == QStringLiteral("Marked") ? Amounts::Marked
                                                      : Amounts::Signed;
    const auto text = [&o](const char* key) { return o.value(QLatin1String(key)).toString(); };
    p.date = text("date");
    p.time = text("time");
    p.amount = text("amount");
    p.income = text("income");
    p.expense = text("expense");
    p.mark = text("mark");
    p.incomeMark = text("incomeMark");
    p.counterparty = text("counterparty");
    p.counterpartyAccount = text("counterpartyAccount");
    p.balance = text("balance");
    p.positiveIsExpense = o.value(QStringLiteral("positiveIsExpense")).toBool();
    for (const QJsonValue& v : o.value(QStringLiteral("remarks")).toArray())
        if (!v.toString().isEmpty()) p.remarks << v.toString();
    return p;
}

// A header cell as the guess compares it: without the unit some banks add ("金额(元)").
QString bareHeader(const QString& cell) {
    QString t = cell.trimmed();
    for (const char* unit : {"(元)", "（元）", "(人民币)", "（人民币）"})
        if (t.endsWith(QString::fromUtf8(unit))) t.chop(QString::fromUtf8(unit).size());
    return t.trimmed();
}

// The header cell (as written) of the first word the header holds; empty when it holds none.
QString findHeader(const QStringList& header, std::initializer_list<const char*> words,
                   const QString& except = QString()) {
    for (const char* word : words) {
        for (const QString& cell : header)
            if (bareHeader(cell) == QString::fromUtf8(word) && cell.trimmed() != except)
                return cell.trimmed();
    }
    return QString();
}

bool holdsWord(const QStringList& row, std::initializer_list<const char*> words) {
    for (const QString& cell : row) {
        if (cell.size() > 20) continue;  // a header is a word, not a sentence of the preamble
        for (const char* word : words)
            if (cell.contains(QString::fromUtf8(word))) return true;
    }
    return false;
}

}  // namespace

QStringList StatementProfile::headers() const {
    QStringList all{date, time};
    if (amounts == Amounts::Split) {
        all << income << expense;
    } else {
        all << amount;
        if (amounts == Amounts::Marked) all << mark;
    }
    all << counterparty << counterpartyAccount << remarks << balance;
    QStringList out;
    for (const QString& h : all)
        if (!h.trimmed().isEmpty() && !out.contains(h.trimmed())) out << h.trimmed();
    return out;
}

bool StatementProfile::usable(QString* why) const {
    QString missing;
    if (date.trimmed().isEmpty()) {
        missing = QStringLiteral("请选择日期列！");
    } else if (amounts == Amounts::Split) {
        if (income.trimmed().isEmpty() || expense.trimmed().isEmpty())
            missing = QStringLiteral("请选择收入列和支出列！");
    } else if (amount.trimmed().isEmpty()) {
        missing = QStringLiteral("请选择金额列！");
    } else if (amounts == Amounts::Marked && mark.trimmed().isEmpty()) {
        missing = QStringLiteral("请选择收支方向列！");
    }
    if (why) *why = missing;
    return missing.isEmpty();
}

const std::vector<StatementProfile>& StatementProfiles::shipped() {
    static const std::vector<StatementProfile> profiles = bankLayouts();
    return profiles;
}

std::vector<StatementProfile> StatementProfiles::saved(Database& db) {
    const Query q = db.query(
        QStringLiteral("SELECT theName, theSpec FROM SStatementProfile ORDER BY theName, ID"));
    std::vector<StatementProfile> out;
    for (int r = 0; r < q.recordCount(); ++r)
        out.push_back(profileOf(q.value(r, 0).toString(), q.value(r, 1).toString()));
    return out;
}

std::vector<StatementProfile> StatementProfiles::all(Database& db) {
    std::vector<StatementProfile> out = saved(db);
    out.insert(out.end(), shipped().begin(), shipped().end());
    return out;
}

void StatementProfiles::save(Database& db, const StatementProfile& profile) {
    const QString name = profile.name.trimmed();
    if (name.isEmpty()) throw SheetError(QStringLiteral("请输入格式名称！"));
    if (byName(shipped(), name)) throw SheetError(QStringLiteral("已有同名的内置格式：") + name);
    QString why;
    if (!profile.usable(&why)) throw SheetError(why);
    Transaction tx(db);
    db.exec(QStringLiteral("DELETE FROM SStatementProfile WHERE theName=?"), name);
    db.exec(QStringLiteral("INSERT INTO SStatementProfile(theName, theSpec) VALUES(?,?)"), name,
            specOf(profile));
    tx.commit();
}

void StatementProfiles::remove(Database& db, const QString& name) {
    db.exec(QStringLiteral("DELETE FROM SStatementProfile WHERE theName=?"), name.trimmed());
}

const StatementProfile* StatementProfiles::byName(const std::vector<StatementProfile>& profiles,
                                                  const QString& name) {
    for (const StatementProfile& p : profiles)
        if (p.name == name) return &p;
    return nullptr;
}

StatementProfiles::Match StatementProfiles::recognise(const std::vector<StatementProfile>& profiles,
                                                      const std::vector<QStringList>& rows) {
    const size_t searched = std::min(rows.size(), kHeaderSearch);
    std::vector<QSet<QString>> cells(searched);
    for (size_t r = 0; r < searched; ++r)
        for (const QString& c : rows[r]) cells[r].insert(c.trimmed());
    for (size_t i = 0; i < profiles.size(); ++i) {
        if (!profiles[i].usable()) continue;
        const QStringList headers = profiles[i].headers();
        for (size_t r = 0; r < searched; ++r) {
            bool all = true;
            for (const QString& h : headers) all = all && cells[r].contains(h);
            if (all) return {int(i), r};
        }
    }
    return {};
}

size_t StatementProfiles::guessHeaderRow(const std::vector<QStringList>& rows) {
    for (size_t r = 0; r < std::min(rows.size(), kHeaderSearch); ++r) {
        if (holdsWord(rows[r], {"日期", "时间", "交易日"}) &&
            holdsWord(rows[r], {"金额", "发生额", "收入", "支出", "存入", "支取", "余额"}))
            return r;
    }
    return 0;
}

StatementProfile StatementProfiles::guess(const QStringList& header) {
    StatementProfile p;
    p.date = findHeader(header, {"交易日期", "记账日期", "日期", "交易时间"});
    p.time = findHeader(header, {"交易时间", "记账时间", "时间"}, p.date);
    p.income = findHeader(header, {"收入", "存入", "贷方发生额", "收入金额", "贷方金额"});
    p.expense = findHeader(header, {"支出", "支取", "借方发生额", "支出金额", "借方金额"});
    p.amount = findHeader(header, {"金额", "交易金额", "发生额", "人民币金额"});
    p.mark = findHeader(header, {"借贷", "收支", "借贷标志", "收支标志", "借贷方向"});
    if (!p.income.isEmpty() && !p.expense.isEmpty()) {
        p.amounts = Amounts::Split;
        p.amount.clear();
        p.mark.clear();
    } else if (!p.amount.isEmpty() && !p.mark.isEmpty()) {
        p.amounts = Amounts::Marked;
        p.incomeMark =
            p.mark.contains(QStringLiteral("借贷")) ? QStringLiteral("贷") : QStringLiteral("收");
    } else if (!p.amount.isEmpty()) {
        p.mark.clear();
    } else if (!p.income.isEmpty() || !p.expense.isEmpty()) {
        p.amounts = Amounts::Split;
    }
    p.counterparty = findHeader(header, {"对方户名", "对方名称", "交易对方", "对方账户名"});
    p.counterpartyAccount = findHeader(header, {"对方账号"});
    for (const char* word : {"摘要", "用途", "附言", "备注", "交易类型", "交易说明"}) {
        const QString h = findHeader(header, {word});
        if (!h.isEmpty()) p.remarks << h;
    }
    p.balance = findHeader(header, {"余额", "账户余额", "本次余额", "联机余额"});
    return p;
}

}  // namespace cw
