#include "interchange/QifWriter.h"

namespace cw {

namespace {

bool isMoney(const QString& path) {
    // Money accounts are the ones with a type segment; debts, credits and investments are
    // under 借入, 借出 and 投资.
    return (path.startsWith(QStringLiteral("资产:")) || path.startsWith(QStringLiteral("负债:"))) &&
           !path.startsWith(QStringLiteral("负债:借入:")) &&
           !path.startsWith(QStringLiteral("资产:借出:")) &&
           !path.startsWith(QStringLiteral("资产:投资:"));
}

}  // namespace

QString QifWriter::lastPart(const QString& path) {
    return path.mid(path.lastIndexOf(QLatin1Char(':')) + 1);
}

QString QifWriter::otherSide(const QString& path) {
    if (isMoney(path)) return QLatin1Char('[') + lastPart(path) + QLatin1Char(']');
    const QString rest = path.mid(path.indexOf(QLatin1Char(':')) + 1);
    if (path.startsWith(QStringLiteral("收入:")) || path.startsWith(QStringLiteral("支出:")))
        return rest;
    return QLatin1Char('[') + rest + QLatin1Char(']');
}

void QifWriter::begin(const QString&, const QStringList& accounts, const QString&) {
    for (const QString& a : accounts) {
        if (isMoney(a)) order_ << a;
    }
}

void QifWriter::entry(const BookEntry& e) {
    const QString date =
        e.date.mid(5, 2) + QLatin1Char('/') + e.date.mid(8, 2) + QLatin1Char('/') + e.date.left(4);
    QString memo = oneLine(e.remark);
    if (!e.member.isEmpty())
        memo = oneLine(e.member) + (memo.isEmpty() ? QString() : QStringLiteral(" ") + memo);
    for (int i = 0; i < 2; ++i) {
        const BookLeg& leg = e.legs[i];
        if (!isMoney(leg.account)) continue;
        // An opening balance is written as the ledgers that read QIF expect it: a transfer
        // with the account itself, from "Opening Balance".
        const bool opening = e.legs[1 - i].account == QStringLiteral("权益:期初余额");
        QString t = QLatin1Char('D') + date + QStringLiteral("\nT") + amount(leg.cents) +
                    QStringLiteral("\nP") +
                    (opening ? QStringLiteral("Opening Balance") : oneLine(e.label)) +
                    QStringLiteral("\nL") +
                    (opening ? QLatin1Char('[') + lastPart(leg.account) + QLatin1Char(']')
                             : otherSide(e.legs[1 - i].account)) +
                    QLatin1Char('\n');
        if (!memo.isEmpty()) t += QLatin1Char('M') + memo + QLatin1Char('\n');
        sections_[leg.account] += (t + QStringLiteral("^\n")).toUtf8();
    }
}

bool QifWriter::end() {
    for (const QString& a : order_) {
        const QString type = a.startsWith(QStringLiteral("负债:")) ? QStringLiteral("CCard")
                                                                   : QStringLiteral("Bank");
        put(QStringLiteral("!Account\nN") + lastPart(a) + QStringLiteral("\nT") + type +
            QStringLiteral("\n^\n!Type:") + type + QLatin1Char('\n'));
        put(sections_.take(a));
    }
    return EntryWriter::end();
}

}  // namespace cw
