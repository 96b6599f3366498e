// The sections read are the bank, cash, card and other asset and liability ones (!Type:Bank,
// Cash, CCard, Oth A, Oth L); investment transactions, the category, class and memorized lists
// and prices (!Type:Invst, Cat, Class, Memorized, Prices) and any section of a type not known
// here are skipped whole, as they move no money of these accounts or describe no transaction.
// An !Account block names the account of the sections after it, except within an
// !Option:AutoSwitch list (up to !Clear:AutoSwitch), which only lists the file's accounts.
#include "import/statements/QifReader.h"

#include <QDate>
#include <QRegularExpression>

#include "import/statements/StatementText.h"
#include "storage/Money.h"

namespace cw {

namespace {

struct Field {
    QString text;
    int line = 0;
    bool given = false;
    void set(const QString& value, int at) {
        text = value;
        line = at;
        given = true;
    }
};

struct Split {
    QString category;
    QString memo;
    Field amount;
};

struct Transaction {
    int firstLine = 0;
    Field date;
    Field amount;  // T, else U
    QString payee;
    QString memo;
    QString category;
    QString number;
    QString account;
    std::vector<Split> splits;
    bool empty() const { return firstLine == 0; }
};

// A date as the file writes it: day and month still in the order the file decides.
struct DateText {
    bool read = false;
    bool yearFirst = false;
    int first = 0;
    int second = 0;
    int year = 0;
};

DateText dateText(const QString& raw) {
    QString t = raw;
    t.remove(QLatin1Char(' '));
    static const QRegularExpression yearFirst(
        QStringLiteral("^(\\d{4})(?:[-/.](\\d{1,2})[-/.](\\d{1,2})|(\\d{2})(\\d{2}))$"));
    static const QRegularExpression yearLast(
        QStringLiteral("^(\\d{1,2})([-/.])(\\d{1,2})(['/.-])(\\d{1,2}|\\d{4})$"));
    DateText d;
    QRegularExpressionMatch m = yearFirst.match(t);
    if (m.hasMatch()) {
        const bool separated = !m.captured(2).isEmpty();
        d = {true, true, m.captured(separated ? 2 : 4).toInt(),
             m.captured(separated ? 3 : 5).toInt(), m.captured(1).toInt()};
        return d;
    }
    m = yearLast.match(t);
    if (!m.hasMatch()) return d;
    const QString y = m.captured(5);
    int year = y.toInt();
    // Quicken writes the years from 2000 as 'yy; a plain two-digit year is of the century
    // its value suggests.
    if (y.size() <= 2) year += m.captured(4) == QStringLiteral("'") || year < 70 ? 2000 : 1900;
    d = {true, false, m.captured(1).toInt(), m.captured(3).toInt(), year};
    return d;
}

// "Food:Groceries/Family" → the category without its class; "[储蓄卡]" → the account.
void readCategory(const QString& text, BillRow* row) {
    QString t = text.trimmed();
    if (t.startsWith(QLatin1Char('['))) {
        const qsizetype close = t.indexOf(QLatin1Char(']'));
        if (close > 0) {
            row->transferAccount = StatementText::clean(t.mid(1, close - 1));
            return;
        }
    }
    const qsizetype slash = t.indexOf(QLatin1Char('/'));
    row->type = StatementText::clean(slash >= 0 ? t.left(slash) : t);
}

enum class Section { None, Accounts, Transactions, Skipped };

// "!Type:Bank", "!type:oth a", "!Type: CCard " alike.
Section sectionOf(const QString& header) {
    QString h = header.toLower();
    h.remove(QLatin1Char(' '));
    if (h == QStringLiteral("!account")) return Section::Accounts;
    for (const char* type : {"bank", "cash", "ccard", "otha", "othl"})
        if (h == QStringLiteral("!type:") + QLatin1String(type)) return Section::Transactions;
    return Section::Skipped;
}

// What the first reading of a file learns of its notation.
struct Notation {
    bool dayFirst = false;
    bool commaDecimal = false;
};

// Read twice: first to learn the order of day and month the file's dates keep and the decimal
// mark of its amounts, then for its rows, so no transaction is held but the one being read.
class Parser {
  public:
    // For the first reading, or for the rows in the notation it learnt.
    explicit Parser(const SheetLimits& limits) : limits_(limits), survey_(true) {}
    Parser(const SheetLimits& limits, Notation notation)
        : limits_(limits),
          survey_(false),
          dayFirst_(notation.dayFirst ? 1 : 0),
          commaDecimal_(notation.commaDecimal) {
        bill_.source = Bill::Source::Qif;
    }

    void line(const QString& text, int number);
    void end() { finish(); }
    // A day past 12 in the first place anywhere makes the file day-first; a file that never
    // shows is month-first, as Quicken writes it (a day past 12 in the second place then
    // only confirms it).
    // Amounts that show a decimal comma, and none a decimal point, make dots group thousands.
    Notation notation() const {
        return {dayFirst_ >= 0 ? dayFirst_ == 1 : firstOver12_, commas_ && !points_};
    }
    Bill bill() { return std::move(bill_); }

  private:
    void header(const QString& text);
    void accountField(QChar code, const QString& value);
    void transactionField(QChar code, const QString& value, int number);
    Split& split();
    void addSplit();
    void countRow();
    void finish();
    void addRows(const Transaction& t);
    void noteDecimalMark(const QString& amount);
    QString dayOf(const Field& date) const;

    const SheetLimits& limits_;
    Section section_ = Section::None;
    bool autoSwitch_ = false;
    QString accountName_;  // of the !Account block being read
    QString account_;      // that the sections being read belong to
    Transaction current_;
    qint64 rows_ = 0;
    bool survey_;
    // The file's own word on its dates (!Option:DMY / MDY), else what its dates show.
    int dayFirst_ = -1;
    bool firstOver12_ = false;
    bool commaDecimal_ = false;
    bool commas_ = false;
    bool points_ = false;
    Bill bill_;
};

void Parser::line(const QString& text, int number) {
    const QString t = text.trimmed();
    if (t.isEmpty()) return;
    if (t.startsWith(QLatin1Char('!'))) {
        finish();
        header(t);
        return;
    }
    const QChar code = t.at(0);
    const QString value = t.mid(1);
    if (section_ == Section::Accounts) accountField(code, value);
    if (section_ != Section::Transactions) return;
    if (current_.empty() && code != QLatin1Char('^')) current_.firstLine = number;
    transactionField(code, value, number);
}

void Parser::header(const QString& text) {
    const QString h = text.toLower();
    if (h == QStringLiteral("!option:autoswitch")) {
        autoSwitch_ = true;
    } else if (h == QStringLiteral("!clear:autoswitch")) {
        autoSwitch_ = false;
    } else if (h == QStringLiteral("!option:dmy")) {
        dayFirst_ = 1;
    } else if (h == QStringLiteral("!option:mdy")) {
        dayFirst_ = 0;
    } else if (!h.startsWith(QStringLiteral("!option:")) &&
               !h.startsWith(QStringLiteral("!clear:"))) {
        // An account block the next header cuts short still names its account.
        if (section_ == Section::Accounts && !autoSwitch_ && !accountName_.isEmpty())
            account_ = accountName_;
        section_ = sectionOf(text);
        accountName_.clear();
    }
}

void Parser::accountField(QChar code, const QString& value) {
    if (code == QLatin1Char('N')) {
        accountName_ = StatementText::clean(value);
    } else if (code == QLatin1Char('^')) {
        if (!autoSwitch_) account_ = accountName_;
        accountName_.clear();
    }
}

void Parser::addSplit() {
    countRow();
    current_.splits.emplace_back();
}

Split& Parser::split() {
    if (current_.splits.empty()) addSplit();
    return current_.splits.back();
}

void Parser::countRow() {
    if (++rows_ > limits_.rows) StatementText::refuseRows(limits_.rows);
}

void Parser::transactionField(QChar code, const QString& value, int number) {
    switch (code.unicode()) {
        case 'D':
            current_.date.set(value.trimmed(), number);
            break;
        case 'T':
            current_.amount.set(value, number);
            break;
        case 'U':
            if (!current_.amount.given) current_.amount.set(value, number);
            break;
        case 'P':
            current_.payee = value;
            break;
        case 'M':
            current_.memo = value;
            break;
        case 'L':
            current_.category = value;
            break;
        case 'N':
            current_.number = value;
            break;
        case 'S':
            // A split begins at its category, unless its memo came first.
            if (current_.splits.empty() || !current_.splits.back().category.isEmpty() ||
                current_.splits.back().amount.given)
                addSplit();
            current_.splits.back().category = value;
            break;
        case 'E':
            split().memo = value;
            break;
        case '$':
            // An amount after the split's own starts a split without category.
            if (!current_.splits.empty() && current_.splits.back().amount.given) addSplit();
            split().amount.set(value, number);
            break;
        case '^':
            finish();
            break;
        default:  // C cleared, A address, % split percentage and the rest move no money
            break;
    }
}

void Parser::finish() {
    if (current_.empty()) return;
    // A transaction is a row, or its splits are (and what they leave may be one more,
    // counted as the rows are made).
    if (current_.splits.empty()) countRow();
    current_.account = account_;
    if (survey_) {
        const DateText d = dateText(current_.date.text);
        firstOver12_ = firstOver12_ || (d.read && !d.yearFirst && d.first > 12);
        noteDecimalMark(current_.amount.text);
        for (const Split& s : current_.splits) noteDecimalMark(s.amount.text);
    } else {
        addRows(current_);
    }
    current_ = Transaction();
}

void Parser::noteDecimalMark(const QString& amount) {
    const QChar mark = StatementText::decimalMarkOf(amount);
    commas_ = commas_ || mark == QLatin1Char(',');
    points_ = points_ || mark == QLatin1Char('.');
}

QString Parser::dayOf(const Field& date) const {
    const DateText d = dateText(date.text);
    if (!d.read) return QString();
    const bool swap = !d.yearFirst && dayFirst_ == 1;
    const QDate day(d.year, swap ? d.second : d.first, swap ? d.first : d.second);
    return day.isValid() ? day.toString(QStringLiteral("yyyy-MM-dd")) : QString();
}

void Parser::addRows(const Transaction& t) {
    BillRow base;
    base.rowNumber = t.firstLine;
    base.day = dayOf(t.date);
    if (base.day.isEmpty()) StatementText::refuseDate(t.date.given ? t.date.line : t.firstLine);
    base.time = base.day;
    base.counterparty = StatementText::clean(t.payee);
    base.number = StatementText::clean(t.number);
    base.method = t.account;
    const QString memo = StatementText::clean(t.memo);
    double total = 0;
    if (t.amount.given && !StatementText::parseAmount(t.amount.text, &total, commaDecimal_))
        StatementText::refuseAmount(t.amount.line);
    if (!t.amount.given && t.splits.empty()) StatementText::refuseAmount(t.firstLine);

    const auto rowOf = [&](double amount, const QString& category, const QString& note) {
        BillRow row = base;
        row.amount = Money::round(amount < 0 ? -amount : amount);
        row.direction = amount < 0 ? BillRow::Direction::Out : BillRow::Direction::In;
        readCategory(category, &row);
        row.note = note;
        row.goods = note;
        return row;
    };
    std::vector<BillRow>& rows = bill_.rows;
    double splitTotal = 0;
    for (const Split& s : t.splits) {
        double amount = 0;
        if (s.amount.given && !StatementText::parseAmount(s.amount.text, &amount, commaDecimal_))
            StatementText::refuseAmount(s.amount.line);
        splitTotal = Money::round(splitTotal + amount);
        const QString note = StatementText::clean(s.memo);
        rows.push_back(rowOf(amount, s.category, note.isEmpty() ? memo : note));
    }
    // What the splits leave of the transaction's amount stays under its own category.
    const double rest = Money::round(total - splitTotal);
    if (t.splits.empty() || (t.amount.given && !Money::isZero(rest)))
        rows.push_back(rowOf(rest, t.category, memo));
    if (rows.size() > size_t(limits_.rows)) StatementText::refuseRows(limits_.rows);
}

template <typename Each>
void forEachLine(const QString& text, const SheetLimits& limits, Each each) {
    int number = 1;
    qsizetype start = 0;
    const qsizetype size = text.size();
    while (start < size) {
        qsizetype end = start;
        while (end < size && text[end] != QLatin1Char('\n') && text[end] != QLatin1Char('\r'))
            ++end;
        if (end - start > limits.billLineChars)
            StatementText::refuseLongLine(number, limits.billLineChars);
        each(text.mid(start, end - start), number);
        // \r\n, \n and a lone \r (older Macs) each end a line.
        if (end < size && text[end] == QLatin1Char('\r') && end + 1 < size &&
            text[end + 1] == QLatin1Char('\n'))
            ++end;
        start = end + 1;
        ++number;
    }
}

Bill parseText(const QString& text, const SheetLimits& limits) {
    Parser survey(limits);
    forEachLine(text, limits, [&](const QString& line, int number) { survey.line(line, number); });
    survey.end();
    Parser parser(limits, survey.notation());
    forEachLine(text, limits, [&](const QString& line, int number) { parser.line(line, number); });
    parser.end();
    return parser.bill();
}

}  // namespace

Bill QifReader::parse(const QByteArray& bytes, const SheetLimits& limits) {
    BillReader::refuseOverLimit(bytes, limits);
    return parseText(StatementText::decode(bytes), limits);
}

Bill QifReader::read(const QString& path, const SheetLimits& limits) {
    return parse(BillReader::load(path, limits), limits);
}

bool QifReader::looksLike(const QByteArray& head) {
    QByteArray h = head.startsWith("\xEF\xBB\xBF") ? head.mid(3) : head;
    h = h.trimmed().left(16).toLower();
    for (const char* start : {"!type:", "!account", "!option:", "!clear:"})
        if (h.startsWith(start)) return true;
    return false;
}

}  // namespace cw
