#include "import/statements/StatementReader.h"

#include <QDate>
#include <QFile>
#include <QHash>
#include <QRegularExpression>

#include "import/SpreadsheetImport.h"
#include "import/XlsReader.h"
#include "import/XlsxReader.h"
#include "storage/Money.h"

namespace cw {

namespace {

StatementSheet fromSheetRows(const SheetRows& rows, const SheetLimits& limits) {
    StatementSheet out;
    if (rows.header.isEmpty()) return out;
    if (rows.cellCount() > limits.statementCells) {
        throw SheetError(
            SheetLimits::exceeded(QStringLiteral("单元格超过 %1 个").arg(limits.statementCells)));
    }
    // The workbook readers take the first row that holds anything as a header; for a
    // statement that is usually the preamble's title, and it is a row like the others.
    out.rows.push_back(rows.header);
    out.numbers.push_back(rows.headerRowNumber);
    for (size_t r = 0; r < rows.rowCount(); ++r) {
        out.rows.push_back(rows.row(r));
        out.numbers.push_back(rows.rowNumber(r));
    }
    return out;
}

[[noreturn]] void refuseRow(int row, const QString& header, const QString& what) {
    throw SheetError(QStringLiteral("第 %1 行 %2 %3").arg(row).arg(header, what) +
                     SpreadsheetImport::nothingImported());
}

// "2026-11-03", "2026/11/3 9:05", "2026.11.3", "20261103 090512", "2026年11月3日 09:05:12" →
// the day and, when the cell gives it, the time of day ("09:05:12"); false when it is no date.
bool dateOf(const QString& text, QString* day, QString* time) {
    // A time of day follows a blank or a "T", or straight after "日".
    static const QRegularExpression pattern(QStringLiteral(
        "^(\\d{4})(?:([-/.])(\\d{1,2})\\2(\\d{1,2})|(\\d{2})(\\d{2})|年(\\d{1,2})月(\\d{1,2})日?)"
        "(?:(?:[ T]+|(?<=日)\\s*)(\\d{1,2}):(\\d{2})(?::(\\d{2}))?(?:\\.\\d{1,6})?"
        "|\\s+(\\d{2})(\\d{2})(\\d{2}))?$"));
    const QRegularExpressionMatch m = pattern.match(text.trimmed());
    if (!m.hasMatch()) return false;
    const auto first = [&m](std::initializer_list<int> groups) {
        for (int g : groups)
            if (m.capturedLength(g) > 0) return m.captured(g).toInt();
        return 0;
    };
    const QDate date(m.captured(1).toInt(), first({3, 5, 7}), first({4, 6, 8}));
    if (!date.isValid()) return false;
    *day = date.toString(QStringLiteral("yyyy-MM-dd"));
    time->clear();
    if (m.capturedLength(9) > 0 || m.capturedLength(12) > 0) {
        const QTime t(first({9, 12}), first({10, 13}), first({11, 14}));
        if (!t.isValid()) return false;
        *time = t.toString(QStringLiteral("HH:mm:ss"));
    }
    return true;
}

// A separate time column: "9:05", "09:05:12", "090512"; a workbook's time cell may come with
// a day before it. Empty when it holds no time of day.
QString timeOf(const QString& text) {
    static const QRegularExpression clock(
        QStringLiteral("(?:^|\\s)(\\d{1,2}):(\\d{2})(?::(\\d{2}))?$"));
    static const QRegularExpression digits(QStringLiteral("^\\d{5,6}$"));
    const QString t = text.trimmed();
    QTime out;
    const QRegularExpressionMatch m = clock.match(t);
    if (m.hasMatch()) {
        out = QTime(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    } else if (digits.match(t).hasMatch()) {
        const int n = t.toInt();
        out = QTime(n / 10000, n / 100 % 100, n % 100);
    }
    return out.isValid() ? out.toString(QStringLiteral("HH:mm:ss")) : QString();
}

// What a statement writes below its rows: totals, a count of the rows, "以下空白".
bool closingLine(const QStringList& cells) {
    static const QRegularExpression closing(
        QStringLiteral("合计|总计|小计|以下空白|^共\\s*[0-9,]+\\s*笔"));
    for (const QString& cell : cells) {
        const QString t = cell.trimmed();
        if (t.isEmpty()) continue;
        return closing.match(t).hasMatch();  // the row's first text says what it is
    }
    return false;
}

bool noMoney(const QString& text) {
    const QString t = text.trimmed();
    return t.isEmpty() || t == QLatin1String("-") || t == QLatin1String("--");
}

// The columns of one profile in one header row.
class Columns {
  public:
    Columns(const QStringList& header, const StatementProfile& profile, int headerNumber) {
        for (int i = header.size() - 1; i >= 0; --i) at_.insert(header[i].trimmed(), i);
        for (const QString& h : profile.headers()) {
            if (!at_.contains(h)) {
                throw SheetError(
                    QStringLiteral("第 %1 行表头中没有“%2”列！").arg(headerNumber).arg(h));
            }
        }
    }
    QString raw(const QStringList& cells, const QString& header) const {
        if (header.trimmed().isEmpty()) return QString();
        // Banks write ="6222…" so the spreadsheet program keeps a number as text.
        const QString cell = cells.value(at_.value(header.trimmed(), -1));
        const QString t = cell.trimmed();
        if (t.size() >= 3 && t.startsWith(QLatin1String("=\"")) && t.endsWith(QLatin1Char('"')))
            return t.mid(2, t.size() - 3);
        return cell;
    }
    QString text(const QStringList& cells, const QString& header) const {
        return BillReader::clean(raw(cells, header));
    }

  private:
    QHash<QString, int> at_;
};

class RowReader {
  public:
    RowReader(const StatementProfile& profile, const Columns& columns) : p_(profile), c_(columns) {}

    // A line of text rather than a row: no date and no money in any money column.
    bool note(const QStringList& cells) const {
        QString day, time;
        if (dateOf(c_.raw(cells, p_.date), &day, &time)) return false;
        for (const QString& h : {p_.amount, p_.income, p_.expense})
            if (!noMoney(c_.raw(cells, h))) return false;
        return true;
    }

    // False for the closing line; throws for a row that cannot be read.
    bool read(const QStringList& cells, int number, BillRow* row) const {
        row->rowNumber = number;
        QString time;
        if (!dateOf(c_.raw(cells, p_.date), &row->day, &time)) {
            if (closingLine(cells)) return false;
            refuseRow(number, p_.date, QStringLiteral("不是有效的日期！"));
        }
        if (!p_.time.trimmed().isEmpty()) {
            const QString own = timeOf(c_.raw(cells, p_.time));
            if (!own.isEmpty()) time = own;
        }
        row->time = time.isEmpty() ? row->day : row->day + QLatin1Char(' ') + time;
        money(cells, row);
        row->counterparty = c_.text(cells, p_.counterparty);
        row->counterpartyAccount = c_.text(cells, p_.counterpartyAccount);
        QStringList remarks;
        for (const QString& h : p_.remarks) {
            const QString t = c_.text(cells, h);
            if (&h == &p_.remarks.front()) row->type = t;
            if (!t.isEmpty()) remarks << t;
        }
        row->goods = remarks.join(QLatin1Char(' '));
        if (!p_.balance.trimmed().isEmpty()) {
            const QString b = c_.raw(cells, p_.balance);
            if (!noMoney(b)) {
                if (!BillReader::parseSignedAmount(b, &row->balance))
                    refuseRow(number, p_.balance, QStringLiteral("不是有效的金额！"));
                row->hasBalance = true;
            }
        }
        row->successful = true;
        return true;
    }

  private:
    double amountOf(const QStringList& cells, const QString& header, int number,
                    bool emptyIsNone) const {
        const QString t = c_.raw(cells, header);
        double v = 0;
        if (emptyIsNone && noMoney(t)) return 0;
        if (!BillReader::parseSignedAmount(t, &v))
            refuseRow(number, header, QStringLiteral("不是有效的金额！"));
        return v;
    }

    bool markedIncome(const QString& mark) const {
        if (!p_.incomeMark.isEmpty()) return mark.contains(p_.incomeMark, Qt::CaseInsensitive);
        for (const char* word : {"贷", "收", "存", "入"})
            if (mark.contains(QString::fromUtf8(word))) return true;
        const QString upper = mark.toUpper();
        return upper == QLatin1String("C") || upper == QLatin1String("CR") ||
               upper == QLatin1String("CREDIT");
    }

    void money(const QStringList& cells, BillRow* row) const {
        double in = 0;
        switch (p_.amounts) {
            case StatementProfile::Amounts::Split:
                // A row with both filled moved the difference.
                in = std::abs(amountOf(cells, p_.income, row->rowNumber, true)) -
                     std::abs(amountOf(cells, p_.expense, row->rowNumber, true));
                break;
            case StatementProfile::Amounts::Marked:
                // The mark says which way; a sign some banks add to it says nothing more.
                in = std::abs(amountOf(cells, p_.amount, row->rowNumber, false));
                if (!markedIncome(c_.text(cells, p_.mark))) in = -in;
                break;
            case StatementProfile::Amounts::Signed:
                in = amountOf(cells, p_.amount, row->rowNumber, false);
                if (p_.positiveIsExpense) in = -in;
                break;
        }
        row->direction = in < 0 ? BillRow::Direction::Out : BillRow::Direction::In;
        row->amount = Money::round(std::abs(in));
    }

    const StatementProfile& p_;
    const Columns& c_;
};

// The balance the statement closes with: the latest row's, whichever end of the file it is at.
// Commas part a bank's .csv (its cells perhaps padded with tabs); tabs part the Unicode text
// the spreadsheet program saves (its amounts perhaps written with commas). Whichever parts
// the most cells in one of the first lines is taken.
QChar separatorOf(const QString& text) {
    qsizetype commas = 0;
    qsizetype tabs = 0;
    qsizetype at = 0;
    for (size_t line = 0; line < StatementProfiles::kHeaderSearch && at < text.size(); ++line) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), at);
        if (end < 0) end = text.size();
        const QStringView l = QStringView(text).mid(at, end - at);
        commas = std::max(commas, l.count(QLatin1Char(',')));
        tabs = std::max(tabs, l.count(QLatin1Char('\t')));
        at = end + 1;
    }
    return tabs > commas ? QLatin1Char('\t') : QLatin1Char(',');
}

// A sheet the window made up may come without numbers: its rows count from 1.
int numberOf(const StatementSheet& sheet, size_t row) {
    return row < sheet.numbers.size() ? sheet.numbers[row] : int(row) + 1;
}

double signedAmount(const BillRow& r) {
    return r.direction == BillRow::Direction::Out ? -r.amount : r.amount;
}

// Rows of one day tell no order by their times; their balances do: read oldest first, each
// balance is the one before it moved by the row's money.
bool newestFirst(const std::vector<BillRow>& rows) {
    if (rows.front().time != rows.back().time) return rows.front().time > rows.back().time;
    int ascending = 0;
    int descending = 0;
    for (size_t i = 1; i < rows.size(); ++i) {
        const BillRow& a = rows[i - 1];
        const BillRow& b = rows[i];
        if (!a.hasBalance || !b.hasBalance) continue;
        if (Money::round(b.balance - a.balance) == Money::round(signedAmount(b))) ++ascending;
        if (Money::round(a.balance - b.balance) == Money::round(signedAmount(a))) ++descending;
    }
    return descending > ascending;
}

void closingBalance(Bill* bill) {
    const std::vector<BillRow>& rows = bill->rows;
    if (rows.empty()) return;
    const bool descending = newestFirst(rows);
    const auto take = [bill](const BillRow& r) {
        if (!r.hasBalance) return false;
        bill->hasClosingBalance = true;
        bill->closingBalance = r.balance;
        bill->closingDay = r.day;
        return true;
    };
    if (descending) {
        for (auto it = rows.begin(); it != rows.end() && !take(*it); ++it) {
        }
    } else {
        for (auto it = rows.rbegin(); it != rows.rend() && !take(*it); ++it) {
        }
    }
}

}  // namespace

StatementSheet StatementReader::sheet(const QString& path, const SheetLimits& limits) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) throw SheetError(QStringLiteral("无法打开文件：") + path);
    const QByteArray head = file.read(8);
    file.close();
    static const QByteArray zipMagic("PK\x03\x04", 4);
    static const QByteArray biffMagic("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    // The statement is the first sheet, whatever the bank calls it.
    if (head.startsWith(zipMagic)) {
        if (XlsxReader::isOpenDocument(path))
            throw SheetError(XlsxReader::openDocumentRefused(QStringLiteral(".xls、.xlsx、.csv")));
        return fromSheetRows(XlsxReader::read(path, QString(), limits), limits);
    }
    if (head == biffMagic) return fromSheetRows(XlsReader::read(path, QString()), limits);
    QString text;
    if (!BillReader::decode(BillReader::load(path, limits), &text))
        throw SheetError(QStringLiteral("无法读取GBK编码的文件！"));
    const SheetRows rows =
        BillReader::parseCsv(text, limits.billLineChars, limits.statementCells, separatorOf(text));
    StatementSheet out;
    for (size_t r = 0; r < rows.rowCount(); ++r) {
        out.rows.push_back(rows.row(r));
        out.numbers.push_back(rows.rowNumber(r));
    }
    return out;
}

Bill StatementReader::read(const StatementSheet& sheet, const StatementProfile& profile,
                           size_t headerRow, const QString& account) {
    Bill bill;
    bill.source = Bill::Source::Statement;
    bill.account = account;
    QString why;
    if (!profile.usable(&why)) throw SheetError(why);
    if (headerRow >= sheet.rows.size()) throw SheetError(QStringLiteral("找不到表头行！"));
    const QStringList& header = sheet.rows[headerRow];
    const Columns columns(header, profile, numberOf(sheet, headerRow));
    const RowReader reader(profile, columns);
    for (size_t r = headerRow + 1; r < sheet.rows.size(); ++r) {
        const QStringList& cells = sheet.rows[r];
        // A statement of several pages may write the header again on each.
        if (columns.raw(cells, profile.date).trimmed() == profile.date.trimmed()) continue;
        // Notes a bank writes below the rows ("温馨提示…") end them; a line without a date
        // among the rows is refused, since a row may have been damaged.
        bool notesToTheEnd = true;
        for (size_t n = r; n < sheet.rows.size() && notesToTheEnd; ++n)
            notesToTheEnd = reader.note(sheet.rows[n]);
        if (notesToTheEnd) break;
        BillRow row;
        if (!reader.read(cells, numberOf(sheet, r), &row)) break;
        bill.rows.push_back(std::move(row));
    }
    closingBalance(&bill);
    return bill;
}

}  // namespace cw
