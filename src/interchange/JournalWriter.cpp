#include "interchange/JournalWriter.h"

namespace cw {

namespace {

// After the date a journal reads '*' and '!' as a status, "(…)" as a code and ';' as the start
// of a comment: those take their full-width forms so a category name stays the description.
QString description(const QString& label) {
    QString s = EntryWriter::oneLine(label);
    s.replace(QLatin1Char(';'), QChar(0xFF1B));
    if (s.startsWith(QLatin1Char('*'))) s[0] = QChar(0xFF0A);
    if (s.startsWith(QLatin1Char('!'))) s[0] = QChar(0xFF01);
    if (s.startsWith(QLatin1Char('('))) s[0] = QChar(0xFF08);
    return s;
}

}  // namespace

void JournalWriter::begin(const QString& book, const QStringList& accounts, const QString&) {
    put(QStringLiteral("; 账簿：") + oneLine(book) +
        QStringLiteral("\n\ncommodity 1000.00 CNY\n\n"));
    for (const QString& a : accounts) put(QStringLiteral("account ") + a + QLatin1Char('\n'));
    put(QStringLiteral("\n"));
}

void JournalWriter::entry(const BookEntry& e) {
    QString t = e.date + QLatin1Char(' ') + description(e.label) + QLatin1Char('\n');
    if (!e.member.isEmpty()) t += QStringLiteral("    ; 成员:") + oneLine(e.member) + '\n';
    if (!e.remark.isEmpty()) t += QStringLiteral("    ; 备注:") + oneLine(e.remark) + '\n';
    for (const BookLeg& leg : e.legs) {
        t += QStringLiteral("    ") + leg.account + QStringLiteral("  ") + amount(leg.cents) +
             QStringLiteral(" CNY\n");
    }
    put(t + QLatin1Char('\n'));
}

}  // namespace cw
