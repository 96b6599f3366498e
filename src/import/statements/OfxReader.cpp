// Both forms are read by one tolerant tag scanner: a tag followed by text is a value (closed or
// not, as SGML leaves them open), a tag followed by another tag opens an aggregate, and a
// closing tag closes the aggregates up to its own. Only the transactions of bank and card
// statements (STMTRS, CCSTMTRS) are read; an investment statement's are skipped.
#include "import/statements/OfxReader.h"

#include <QDate>
#include <QHash>
#include <QRegularExpression>
#include <algorithm>
#include <utility>

#include "import/statements/StatementText.h"

namespace cw {

namespace {

// Deeper than any statement nests; a file nesting past it is refused before its stack grows.
constexpr int kMaxDepth = 64;

// The aggregates a value's meaning depends on, each counted while open.
enum Tracked {
    Payee,
    AccountTo,
    CardAccountTo,
    Currency,
    OrigCurrency,
    AccountFrom,
    CardAccountFrom,
    LedgerBalance,
    TrackedCount
};

int trackedOf(const QString& name) {
    static const QHash<QString, int> tracked{{"PAYEE", Payee},
                                             {"BANKACCTTO", AccountTo},
                                             {"CCACCTTO", CardAccountTo},
                                             {"CURRENCY", Currency},
                                             {"ORIGCURRENCY", OrigCurrency},
                                             {"BANKACCTFROM", AccountFrom},
                                             {"CCACCTFROM", CardAccountFrom},
                                             {"LEDGERBAL", LedgerBalance}};
    return tracked.value(name, -1);
}

// "&amp;" "&lt;" "&gt;" "&quot;" "&apos;" "&#65;" "&#x41;"; anything else is kept as written.
QString unescape(const QString& text) {
    if (!text.contains(QLatin1Char('&'))) return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype semi =
            text[i] == QLatin1Char('&') ? QStringView(text).mid(i, 10).indexOf(u';') : -1;
        if (semi < 0) {
            out += text[i];
            continue;
        }
        const QString name = text.mid(i + 1, semi - 1);
        static const QHash<QString, QChar> named{
            {"amp", u'&'}, {"lt", u'<'}, {"gt", u'>'}, {"quot", u'"'}, {"apos", u'\''}};
        if (named.contains(name)) {
            out += named.value(name);
        } else if (name.startsWith(u'#') && name.size() > 1) {
            bool ok = false;
            const bool hex = name.size() > 2 && (name[1] == u'x' || name[1] == u'X');
            const uint code = name.mid(hex ? 2 : 1).toUInt(&ok, hex ? 16 : 10);
            if (!ok) {
                out += text[i];
                continue;
            }
            // Code points that are no character (surrogates, past U+10FFFF, NUL) are dropped.
            if (code > 0 && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF))
                out += QString::fromUcs4(reinterpret_cast<const char32_t*>(&code), 1);
        } else {
            out += text[i];
            continue;
        }
        i += semi;
    }
    return out;
}

// DTPOSTED "20241231", "20241231083000", "20241231083000.000[-8:PST]" → day and time.
bool dateOf(const QString& text, QString* day, QString* time) {
    static const QRegularExpression pattern(
        QStringLiteral("^(\\d{4})(\\d{2})(\\d{2})(?:(\\d{2})(\\d{2})(\\d{2})?(?:\\.\\d+)?)?\\s*(?:"
                       "\\[[^\\]]*\\])?$"));
    const QRegularExpressionMatch m = pattern.match(text.trimmed());
    if (!m.hasMatch()) return false;
    const QDate d(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    if (!d.isValid()) return false;
    *day = d.toString(QStringLiteral("yyyy-MM-dd"));
    *time = *day;
    if (m.captured(4).isEmpty()) return true;
    const int h = m.captured(4).toInt(), min = m.captured(5).toInt(), s = m.captured(6).toInt();
    if (h > 23 || min > 59 || s > 60) return false;
    *time += QStringLiteral(" %1:%2:%3")
                 .arg(h, 2, 10, QLatin1Char('0'))
                 .arg(min, 2, 10, QLatin1Char('0'))
                 .arg(qMin(s, 59), 2, 10, QLatin1Char('0'));
    return true;
}

// OFX writes no thousands separators, and a period or a comma as the decimal mark: a lone comma
// is always decimal ("1,234" is 1.234), where a QIF file's would group thousands.
bool amountOf(const QString& text, double* value) {
    QString t = text.trimmed();
    if (!t.contains(QLatin1Char('.'))) t.replace(QLatin1Char(','), QLatin1Char('.'));
    return StatementText::parseAmount(t, value);
}

struct Value {
    QString text;
    int line = 0;
    bool given = false;
};

struct Transaction {
    int line = 0;
    Value type, posted, amount, fitid, name, payeeName, memo, checkNumber;
};

struct Statement {
    size_t firstRow = 0;
    QString account;
    Value balance, balanceDay;
};

class Parser {
  public:
    Parser(const QString& text, qsizetype from, int line, const SheetLimits& limits)
        : text_(text), at_(from), line_(line), limits_(limits) {}
    Bill run();

  private:
    enum class Kind { Open, Close, Empty, Text, Skipped, End };
    Kind next(QString* name);
    void skipPast(const char* end);
    void tooLong(qsizetype from) const;

    void open();
    void popThrough(qsizetype index);
    void close(const QString& name);
    void leaf(const QString& name, const QString& value, int line);
    void enter(const QString& name);
    void leave(const QString& name);
    bool inside(Tracked t) const { return open_[t] > 0; }
    void addRow(const Transaction& t);

    const QString& text_;
    qsizetype at_;
    int line_;
    const SheetLimits& limits_;
    std::vector<QString> stack_;
    // How many of each name the stack holds: a closing tag of none is passed over at once.
    QHash<QString, int> openNames_;
    int open_[TrackedCount] = {};
    // A tag read whose content is not yet known: a value's or an aggregate's.
    QString pending_;
    int pendingLine_ = 0;
    // The value just read, whose closing tag (XML) is then no aggregate's.
    QString lastLeaf_;
    bool inTransaction_ = false;
    Transaction transaction_;
    bool inStatement_ = false;
    // The statement being read (or the last one read), and how many the file holds.
    Statement statement_;
    int statements_ = 0;
    Bill bill_;
};

void Parser::tooLong(qsizetype from) const {
    if (at_ - from > limits_.billLineChars)
        StatementText::refuseLongLine(line_, limits_.billLineChars);
}

void Parser::skipPast(const char* end) {
    const qsizetype found = text_.indexOf(QLatin1String(end), at_);
    const qsizetype stop = found < 0 ? text_.size() : found + qsizetype(qstrlen(end));
    line_ += int(QStringView(text_).mid(at_, stop - at_).count(u'\n'));
    at_ = stop;
}

Parser::Kind Parser::next(QString* name) {
    const qsizetype size = text_.size();
    while (at_ < size && text_[at_].isSpace()) {
        if (text_[at_] == u'\n') ++line_;
        ++at_;
    }
    if (at_ >= size) return Kind::End;
    const qsizetype from = at_;
    if (text_[at_] != u'<') {
        while (at_ < size && text_[at_] != u'<') {
            if (text_[at_] == u'\n') ++line_;
            ++at_;
        }
        tooLong(from);
        *name = unescape(text_.mid(from, at_ - from).trimmed());
        return Kind::Text;
    }
    if (QStringView(text_).mid(at_, 4) == u"<!--") {
        skipPast("-->");
        return Kind::Skipped;
    }
    if (at_ + 1 < size && (text_[at_ + 1] == u'!' || text_[at_ + 1] == u'?')) {
        skipPast(">");
        return Kind::Skipped;
    }
    const bool closing = at_ + 1 < size && text_[at_ + 1] == u'/';
    at_ += closing ? 2 : 1;
    const qsizetype nameFrom = at_;
    while (at_ < size && !text_[at_].isSpace() && text_[at_] != u'>' && text_[at_] != u'/' &&
           text_[at_] != u'<')
        ++at_;
    *name = text_.mid(nameFrom, at_ - nameFrom).toUpper();
    // Attributes (none in OFX) are passed over; "/>" closes the tag at once.
    bool empty = false;
    while (at_ < size && text_[at_] != u'>' && text_[at_] != u'<') {
        if (text_[at_] == u'\n') ++line_;
        empty = text_[at_] == u'/';
        ++at_;
    }
    tooLong(from);
    if (at_ < size && text_[at_] == u'>') ++at_;
    if (closing) return Kind::Close;
    return empty ? Kind::Empty : Kind::Open;
}

Bill Parser::run() {
    bill_.source = Bill::Source::Ofx;
    QString name;
    for (Kind kind = next(&name); kind != Kind::End; kind = next(&name)) {
        if (name.isEmpty() && kind != Kind::Text) continue;
        switch (kind) {
            case Kind::Open:
                open();
                pending_ = name;
                pendingLine_ = line_;
                break;
            case Kind::Empty:
                open();
                leaf(name, QString(), line_);
                break;
            case Kind::Text:
                if (!pending_.isEmpty()) {
                    leaf(pending_, name, pendingLine_);
                    lastLeaf_ = pending_;
                    pending_.clear();
                }
                break;
            case Kind::Close:
                close(name);
                break;
            case Kind::Skipped:
            case Kind::End:
                break;
        }
    }
    close(QString());
    popThrough(0);
    if (statements_ == 1 && statement_.balance.given) {
        const Statement& s = statement_;
        double balance = 0;
        if (!amountOf(s.balance.text, &balance)) StatementText::refuseAmount(s.balance.line);
        QString time;
        if (!s.balanceDay.given || !dateOf(s.balanceDay.text, &bill_.closingDay, &time))
            StatementText::refuseDate(s.balanceDay.given ? s.balanceDay.line : s.balance.line);
        bill_.hasClosingBalance = true;
        bill_.closingBalance = balance;
    }
    return std::move(bill_);
}

// A tag opened while another waits for its content: the waiting one is an aggregate.
void Parser::open() {
    if (pending_.isEmpty()) return;
    const QString name = std::exchange(pending_, QString());
    lastLeaf_.clear();
    // A transaction or statement an SGML file never closed ends where the next begins.
    const auto last = [&](std::initializer_list<const char*> names) {
        for (qsizetype i = qsizetype(stack_.size()) - 1; i >= 0; --i)
            for (const char* n : names)
                if (stack_[size_t(i)] == QLatin1String(n)) return i;
        return qsizetype(-1);
    };
    if (name == QStringLiteral("STMTTRN")) popThrough(last({"STMTTRN"}));
    if (name == QStringLiteral("STMTRS") || name == QStringLiteral("CCSTMTRS"))
        popThrough(last({"STMTRS", "CCSTMTRS"}));
    if (int(stack_.size()) >= kMaxDepth) {
        throw SheetError(SheetLimits::billExceeded(
            QStringLiteral("第 %1 行 标签嵌套超过 %2 层").arg(pendingLine_).arg(kMaxDepth)));
    }
    enter(name);
    stack_.push_back(name);
    ++openNames_[name];
}

void Parser::popThrough(qsizetype index) {
    while (index >= 0 && qsizetype(stack_.size()) > index) {
        leave(stack_.back());
        const auto open = openNames_.find(stack_.back());
        if (--*open == 0) openNames_.erase(open);
        stack_.pop_back();
    }
}

void Parser::close(const QString& name) {
    if (!pending_.isEmpty()) {
        // "<MEMO></MEMO>", or an SGML value left empty before its aggregate closes.
        leaf(pending_, QString(), pendingLine_);
        const bool own = pending_ == name;
        pending_.clear();
        if (own) return;
    }
    if (!lastLeaf_.isEmpty() && lastLeaf_ == name) {
        lastLeaf_.clear();
        return;
    }
    lastLeaf_.clear();
    if (name.isEmpty()) return;
    if (!openNames_.contains(name)) return;
    const auto found = std::find(stack_.rbegin(), stack_.rend(), name);
    if (found != stack_.rend()) popThrough(qsizetype(stack_.rend() - found) - 1);
}

void Parser::enter(const QString& name) {
    const int tracked = trackedOf(name);
    if (tracked >= 0) ++open_[tracked];
    if (name == QStringLiteral("STMTRS") || name == QStringLiteral("CCSTMTRS")) {
        inStatement_ = true;
        statement_ = Statement{bill_.rows.size(), {}, {}, {}};
        if (statements_ < 2) ++statements_;
    } else if (name == QStringLiteral("STMTTRN") && inStatement_) {
        inTransaction_ = true;
        transaction_ = Transaction();
        transaction_.line = pendingLine_;
    }
}

void Parser::leave(const QString& name) {
    const int tracked = trackedOf(name);
    if (tracked >= 0) --open_[tracked];
    if (name == QStringLiteral("STMTTRN") && inTransaction_) {
        inTransaction_ = false;
        addRow(transaction_);
    } else if ((name == QStringLiteral("STMTRS") || name == QStringLiteral("CCSTMTRS")) &&
               inStatement_) {
        inStatement_ = false;
        const Statement& s = statement_;
        for (size_t r = s.firstRow; r < bill_.rows.size(); ++r) bill_.rows[r].method = s.account;
    }
}

void Parser::leaf(const QString& name, const QString& value, int line) {
    const Value v{value, line, true};
    if (inTransaction_) {
        // The other side's account and a foreign currency's figures are no part of the row.
        if (inside(AccountTo) || inside(CardAccountTo) || inside(Currency) || inside(OrigCurrency))
            return;
        Transaction& t = transaction_;
        if (inside(Payee)) {
            if (name == QStringLiteral("NAME")) t.payeeName = v;
            return;
        }
        static const QHash<QString, Value Transaction::*> fields{
            {"TRNTYPE", &Transaction::type},        {"DTPOSTED", &Transaction::posted},
            {"TRNAMT", &Transaction::amount},       {"FITID", &Transaction::fitid},
            {"NAME", &Transaction::name},           {"MEMO", &Transaction::memo},
            {"CHECKNUM", &Transaction::checkNumber}};
        const auto field = fields.constFind(name);
        if (field != fields.cend()) t.*(field.value()) = v;
        return;
    }
    if (!inStatement_) return;
    Statement& s = statement_;
    if (name == QStringLiteral("ACCTID") && (inside(AccountFrom) || inside(CardAccountFrom)))
        s.account = StatementText::clean(value);
    if (inside(LedgerBalance)) {
        if (name == QStringLiteral("BALAMT")) s.balance = v;
        if (name == QStringLiteral("DTASOF")) s.balanceDay = v;
    }
}

void Parser::addRow(const Transaction& t) {
    if (bill_.rows.size() >= size_t(limits_.rows)) StatementText::refuseRows(limits_.rows);
    BillRow row;
    row.rowNumber = t.line;
    if (!dateOf(t.posted.text, &row.day, &row.time))
        StatementText::refuseDate(t.posted.given ? t.posted.line : t.line);
    double amount = 0;
    if (!amountOf(t.amount.text, &amount))
        StatementText::refuseAmount(t.amount.given ? t.amount.line : t.line);
    row.amount = amount < 0 ? -amount : amount;
    row.direction = amount < 0 ? BillRow::Direction::Out : BillRow::Direction::In;
    row.type = StatementText::clean(t.type.text);
    row.counterparty = StatementText::clean(t.name.given ? t.name.text : t.payeeName.text);
    if (row.counterparty.isEmpty()) row.counterparty = StatementText::clean(t.payeeName.text);
    row.note = StatementText::clean(t.memo.text);
    row.goods = row.note;
    row.number = StatementText::clean(t.fitid.text);
    // The cheque's number is the bank's second reference to the payment.
    row.merchantNumber = StatementText::clean(t.checkNumber.text);
    bill_.rows.push_back(std::move(row));
}

// The header before <OFX> names the encoding: "ENCODING:UTF-8", "CHARSET:1252" (version 1),
// or the XML declaration's encoding="…" (version 2).
StatementText::Encoding encodingOf(const QByteArray& header) {
    const QByteArray h = header.toUpper();
    static const QRegularExpression utf8(QStringLiteral("ENCODING\\s*[:=]\\s*\"?UTF-?8"));
    static const QRegularExpression latin(
        QStringLiteral("(?:CHARSET\\s*:\\s*(?:1252|ISO-?8859-1|8859-1)|ENCODING\\s*=\\s*\"?"
                       "(?:WINDOWS-1252|CP1252|ISO-8859-1))"));
    const QString text = QString::fromLatin1(h);
    if (utf8.match(text).hasMatch()) return StatementText::Encoding::Guess;
    if (latin.match(text).hasMatch()) return StatementText::Encoding::Windows1252;
    return StatementText::Encoding::Guess;
}

// Where the body begins: the <OFX> tag, after the header.
qsizetype bodyOf(const QByteArray& bytes) {
    for (qsizetype at = bytes.indexOf('<'); at >= 0; at = bytes.indexOf('<', at + 1)) {
        const QByteArray tag = bytes.mid(at, 5).toUpper();
        if (tag == "<OFX>" || (tag.size() == 5 && tag.startsWith("<OFX") &&
                               QByteArrayView(" \t\r\n").contains(tag[4])))
            return at;
    }
    return -1;
}

}  // namespace

Bill OfxReader::parse(const QByteArray& bytes, const SheetLimits& limits) {
    BillReader::refuseOverLimit(bytes, limits);
    const qsizetype body = bodyOf(bytes);
    if (body < 0) throw SheetError(QStringLiteral("不是 OFX 文件：找不到 <OFX> 标签！"));
    const QString text = StatementText::decode(bytes, encodingOf(bytes.left(body)));
    // The body is found again in the text, past a byte-order mark and multibyte characters.
    const qsizetype from = text.indexOf(QStringLiteral("<OFX"), 0, Qt::CaseInsensitive);
    const int line = 1 + int(QStringView(text).left(qMax<qsizetype>(from, 0)).count(u'\n'));
    return Parser(text, qMax<qsizetype>(from, 0), line, limits).run();
}

Bill OfxReader::read(const QString& path, const SheetLimits& limits) {
    return parse(BillReader::load(path, limits), limits);
}

bool OfxReader::looksLike(const QByteArray& head) {
    const QByteArray h = head.toUpper();
    return h.contains("OFXHEADER") || h.contains("<OFX>");
}

}  // namespace cw
