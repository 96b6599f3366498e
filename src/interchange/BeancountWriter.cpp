#include "interchange/BeancountWriter.h"

#include "storage/PinyinCode.h"

namespace cw {

namespace {

QString fixedWord(const QString& word) {
    static const QHash<QString, QString> words = {
        {QStringLiteral("资产"), QStringLiteral("Assets")},
        {QStringLiteral("负债"), QStringLiteral("Liabilities")},
        {QStringLiteral("收入"), QStringLiteral("Income")},
        {QStringLiteral("支出"), QStringLiteral("Expenses")},
        {QStringLiteral("权益"), QStringLiteral("Equity")},
        {QStringLiteral("现金"), QStringLiteral("Cash")},
        {QStringLiteral("银行卡"), QStringLiteral("Bank")},
        {QStringLiteral("信用卡"), QStringLiteral("CreditCard")},
        {QStringLiteral("电子账户"), QStringLiteral("EAccount")},
        {QStringLiteral("其它"), QStringLiteral("Other")},
        {QStringLiteral("借入"), QStringLiteral("Borrowed")},
        {QStringLiteral("借出"), QStringLiteral("Lent")},
        {QStringLiteral("投资"), QStringLiteral("Investment")},
        {QStringLiteral("投资收益"), QStringLiteral("InvestmentGain")},
        {QStringLiteral("投资亏损"), QStringLiteral("InvestmentLoss")},
        {QStringLiteral("期初余额"), QStringLiteral("Opening-Balances")},
        {QStringLiteral("调账"), QStringLiteral("Adjustment")},
        {QStringLiteral("坏账"), QStringLiteral("BadDebt")},
    };
    return words.value(word);
}

// ASCII other than letters, digits and '-' cannot stand in a component; any other character can.
QString cleaned(const QString& word) {
    QString s = word;
    for (QChar& c : s) {
        const ushort u = c.unicode();
        const bool ok = u >= 0x80 || (u >= '0' && u <= '9') || (u >= 'A' && u <= 'Z') ||
                        (u >= 'a' && u <= 'z') || u == '-';
        if (!ok) c = QLatin1Char('-');
    }
    return s;
}

bool startsUpperOrDigit(const QString& s) {
    const ushort u = s.isEmpty() ? 0 : s.front().unicode();
    return (u >= '0' && u <= '9') || (u >= 'A' && u <= 'Z');
}

QString component(const QString& word, int level) {
    if (level <= 1) {
        if (const QString fixed = fixedWord(word); !fixed.isEmpty()) return fixed;
    }
    QString s = cleaned(word);
    if (level >= 2 && !s.isEmpty() && s.front().unicode() >= 0x80) return s;
    if (startsUpperOrDigit(s)) return s;
    if (!s.isEmpty() && s.front() >= QLatin1Char('a') && s.front() <= QLatin1Char('z')) {
        s.front() = s.front().toUpper();
        return s;
    }
    QString code;
    for (const QChar c : PinyinCode::of(word).toUpper()) {
        if ((c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
            (c >= QLatin1Char('0') && c <= QLatin1Char('9')))
            code += c;
    }
    return (code.isEmpty() ? QStringLiteral("X") : code) + QLatin1Char('-') + s;
}

}  // namespace

QString BeancountWriter::translate(const QString& path) {
    const QStringList parts = path.split(QLatin1Char(':'));
    QStringList out;
    for (int i = 0; i < parts.size(); ++i) out << component(parts[i], i);
    return out.join(QLatin1Char(':'));
}

QString BeancountWriter::name(const QString& path) {
    if (const auto it = names_.constFind(path); it != names_.constEnd()) return *it;
    const QString base = translate(path);
    QString candidate = base;
    for (int n = 2; taken_.contains(candidate); ++n)
        candidate = base + QLatin1Char('-') + QString::number(n);
    taken_.insert(candidate);
    names_.insert(path, candidate);
    return candidate;
}

QString BeancountWriter::quoted(const QString& text) {
    QString s = oneLine(text);
    s.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    s.replace(QLatin1Char('"'), QLatin1String("\\\""));
    return QLatin1Char('"') + s + QLatin1Char('"');
}

void BeancountWriter::begin(const QString& book, const QStringList& accounts,
                            const QString& openDate) {
    put(QStringLiteral("option \"title\" ") + quoted(book) +
        QStringLiteral("\noption \"operating_currency\" \"CNY\"\n\n"));
    for (const QString& a : accounts)
        put(openDate + QStringLiteral(" open ") + name(a) + QStringLiteral(" CNY\n"));
    put(QStringLiteral("\n"));
}

void BeancountWriter::entry(const BookEntry& e) {
    QString t = e.date + QStringLiteral(" * ") + quoted(e.label) + QLatin1Char(' ') +
                quoted(e.remark) + QLatin1Char('\n');
    if (!e.member.isEmpty()) t += QStringLiteral("  member: ") + quoted(e.member) + '\n';
    for (const BookLeg& leg : e.legs) {
        t += QStringLiteral("  ") + name(leg.account) + QStringLiteral("  ") + amount(leg.cents) +
             QStringLiteral(" CNY\n");
    }
    put(t + QLatin1Char('\n'));
}

}  // namespace cw
