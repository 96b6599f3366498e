#include "interchange/CsvWriter.h"

namespace cw {

QString CsvWriter::field(const QString& text) {
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    QString s = text;
    s.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + s + QLatin1Char('"');
}

void CsvWriter::begin(const QString&, const QStringList&, const QString&) {
    put(QByteArray("\xEF\xBB\xBF"));
    put(QStringLiteral("序号,日期,类型,账户,金额,币种,家庭成员,备注\r\n"));
}

void CsvWriter::entry(const BookEntry& e) {
    ++number_;
    const QString head = QString::number(number_) + QLatin1Char(',') + e.date + QLatin1Char(',') +
                         field(e.label) + QLatin1Char(',');
    const QString tail = QStringLiteral(",CNY,") + field(e.member) + QLatin1Char(',') +
                         field(e.remark) + QStringLiteral("\r\n");
    for (const BookLeg& leg : e.legs)
        put(head + field(leg.account) + ',' + amount(leg.cents) + tail);
}

}  // namespace cw
