// The export verb of coinwick-cli:
//   export ledger|beancount|qif|csv FILE [from=YYYY-MM-DD] [to=YYYY-MM-DD]
// writes the book's postings as double entries for other bookkeeping programs (a hledger
// journal, a beancount file, QIF, CSV); prints the number of entries written.
#include <QDate>

#include "cli/Cli.h"
#include "interchange/LedgerExport.h"
#include "reports/IncomeExpenseReport.h"
#include "storage/Database.h"
#include "storage/OutputFile.h"

namespace cw {

int Cli::cmdExport(const QStringList& args) {
    LedgerExport::Format format = LedgerExport::Format::Ledger;
    if (args.size() < 2 || !LedgerExport::parseFormat(args[0], &format))
        return usage(QStringLiteral("export needs ledger|beancount|qif|csv and a file"));
    QString range[2];
    for (const QString& a : args.mid(2)) {
        const int slot = a.startsWith(QLatin1String("from=")) ? 0
                         : a.startsWith(QLatin1String("to=")) ? 1
                                                              : -1;
        if (slot < 0) return usage(QStringLiteral("unknown argument ") + a);
        range[slot] = a.mid(a.indexOf(QLatin1Char('=')) + 1);
        // A date the calendar does not have would compare as text and quietly cut rows off.
        if (!QDate::fromString(range[slot], QStringLiteral("yyyy-MM-dd")).isValid())
            return usage(QStringLiteral("not a date: ") + range[slot]);
    }
    if (!range[0].isEmpty() && !range[1].isEmpty() && range[0] > range[1])
        return refuse(IncomeExpenseReport::reversedDatesMessage());
    if (!openData() || !openBook()) return Refused;
    if (const QString why = OutputFile::refusal(args[1], db_->path()); !why.isEmpty())
        return refuse(why);
    LedgerExport exporter(*db_, state_.myBName);
    QString error;
    if (!exporter.write(format, args[1], range[0], range[1], clock_.todayText(), &error))
        return refuse(error);
    out_ << exporter.entries() << '\n';
    return Done;
}

}  // namespace cw
