#include "interchange/LedgerExport.h"

#include <QDate>
#include <QHash>
#include <QIODevice>
#include <memory>

#include "interchange/BeancountWriter.h"
#include "interchange/BookEntries.h"
#include "interchange/CsvWriter.h"
#include "interchange/JournalWriter.h"
#include "interchange/QifWriter.h"
#include "storage/Database.h"
#include "storage/OutputFile.h"

namespace cw {

namespace {

const QString kOpening = QStringLiteral("权益:期初余额");

// Read by hand: parsing a million dates with a format string costs seconds.
bool validDate(const QString& text) {
    if (text.size() != 10 || text[4] != QLatin1Char('-') || text[7] != QLatin1Char('-'))
        return false;
    int parts[3] = {0, 0, 0};
    int part = 0;
    for (int i = 0; i < 10; ++i) {
        if (i == 4 || i == 7) {
            ++part;
            continue;
        }
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9') return false;
        parts[part] = parts[part] * 10 + (c - u'0');
    }
    return QDate::isValid(parts[0], parts[1], parts[2]);
}

// What the first pass learns: per account the sum of every leg and of the legs from the
// first exported day on, and the first day that is exported.
struct Totals {
    QHash<QString, qint64> all;
    QHash<QString, qint64> sinceFrom;
    QString firstDay;
};

std::unique_ptr<EntryWriter> writerFor(LedgerExport::Format format, QIODevice& device) {
    switch (format) {
        case LedgerExport::Format::Beancount:
            return std::make_unique<BeancountWriter>(device);
        case LedgerExport::Format::Qif:
            return std::make_unique<QifWriter>(device);
        case LedgerExport::Format::Csv:
            return std::make_unique<CsvWriter>(device);
        case LedgerExport::Format::Ledger:
            break;
    }
    return std::make_unique<JournalWriter>(device);
}

bool inRange(const QString& date, const QString& from, const QString& to) {
    return (from.isEmpty() || date >= from) && (to.isEmpty() || date <= to);
}

Totals firstPass(BookEntries& source, const QString& from, const QString& to) {
    Totals t;
    source.forEach(
        [&](const BookEntry& e) {
            if (!validDate(e.date)) return;
            const bool since = from.isEmpty() || e.date >= from;
            for (const BookLeg& leg : e.legs) {
                t.all[leg.account] += leg.cents;
                if (since) t.sinceFrom[leg.account] += leg.cents;
            }
            if (inRange(e.date, from, to) && (t.firstDay.isEmpty() || e.date < t.firstDay))
                t.firstDay = e.date;
        },
        BookEntries::AmountsOnly);
    for (auto it = source.balances().cbegin(); it != source.balances().cend(); ++it)
        t.all.insert(it.key(), t.all.value(it.key()));
    return t;
}

// Opening balance: where the account stands now, less what the exported days and the days
// after them moved. A money account stands at its balance (which also holds what the book
// moved outside its postings: the opening of the account, a changed debt's old amount), the
// others at the sum of their legs.
qint64 opening(const BookEntries& source, const Totals& t, const QString& account) {
    const qint64 now =
        source.isMoneyAccount(account) ? source.balances().value(account) : t.all.value(account);
    return now - t.sinceFrom.value(account);
}

}  // namespace

bool LedgerExport::parseFormat(const QString& word, Format* format) {
    static const QHash<QString, Format> words = {{QStringLiteral("ledger"), Format::Ledger},
                                                 {QStringLiteral("beancount"), Format::Beancount},
                                                 {QStringLiteral("qif"), Format::Qif},
                                                 {QStringLiteral("csv"), Format::Csv}};
    if (!words.contains(word)) return false;
    *format = words.value(word);
    return true;
}

LedgerExport::LedgerExport(Database& db, QString book) : db_(db), book_(std::move(book)) {}

bool LedgerExport::write(Format format, const QString& target, const QString& from,
                         const QString& to, const QString& today, QString* error) {
    BookEntries source(db_, book_);
    const Totals totals = firstPass(source, from, to);
    QString openDay = totals.firstDay.isEmpty() ? (from.isEmpty() ? today : from) : totals.firstDay;
    openDay = QDate::fromString(openDay, QStringLiteral("yyyy-MM-dd"))
                  .addDays(-1)
                  .toString(QStringLiteral("yyyy-MM-dd"));
    QStringList accounts = totals.all.keys();
    accounts << kOpening;
    accounts.sort();
    entries_ = 0;
    return OutputFile::write(
        target, db_.path(),
        [&](QIODevice& device) {
            std::unique_ptr<EntryWriter> writer = writerFor(format, device);
            writer->begin(book_, accounts, openDay);
            for (const QString& a : accounts) {
                const bool balanceSheet =
                    a.startsWith(QStringLiteral("资产:")) || a.startsWith(QStringLiteral("负债:"));
                const qint64 cents = balanceSheet ? opening(source, totals, a) : 0;
                if (cents == 0) continue;
                writer->entry({openDay,
                               QStringLiteral("期初余额"),
                               {},
                               {},
                               {{a, cents}, {kOpening, -cents}}});
                ++entries_;
            }
            source.forEach([&](const BookEntry& e) {
                if (!validDate(e.date) || !inRange(e.date, from, to)) return;
                writer->entry(e);
                ++entries_;
            });
            return writer->end();
        },
        error);
}

}  // namespace cw
