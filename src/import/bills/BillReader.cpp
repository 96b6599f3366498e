#include "import/bills/BillReader.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QStringDecoder>

#include "import/SpreadsheetImport.h"
#include "import/XlsxReader.h"
#include "storage/Money.h"

namespace cw {

namespace {

const QStringList& wechatHeaders() {
    static const QStringList h{"交易时间", "交易类型", "交易对方", "商品",     "收/支", "金额(元)",
                               "支付方式", "当前状态", "交易单号", "商户单号", "备注"};
    return h;
}

const QStringList& alipayHeaders() {
    static const QStringList h{"交易时间", "交易分类",   "交易对方",   "对方账号",
                               "商品说明", "收/支",      "金额",       "收/付款方式",
                               "交易状态", "交易订单号", "商家订单号", "备注"};
    return h;
}

QString expected() {
    return QStringLiteral(
               "不是微信支付或支付宝账单！微信支付账单的表头应为%1；支付宝账单的表头应为%2。")
        .arg(wechatHeaders().join(QStringLiteral("、")),
             alipayHeaders().join(QStringLiteral("、")));
}

// Refunded, closed or failed rows moved no money (or moved it back).
bool successfulStatus(const QString& status) {
    for (const char* word : {"退款", "关闭", "失败", "撤销", "退还"})
        if (status.contains(QString::fromUtf8(word))) return false;
    return true;
}

// "2026-11-03 12:01:09", "2026/11/3 12:01" → "2026-11-03 12:01:09"; the same transaction reads
// alike from the .csv and the .xlsx of one bill.
QString timeOf(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral(
        "^(\\d{4})[-/.](\\d{1,2})[-/.](\\d{1,2})(?:[ T](\\d{1,2}):(\\d{2})(?::(\\d{2}))?)?"));
    const QRegularExpressionMatch m = pattern.match(text);
    if (!m.hasMatch()) return text;
    QStringList parts;
    for (int i = 1; i <= 6; ++i)
        parts << QStringLiteral("%1").arg(m.captured(i).toInt(), i == 1 ? 4 : 2, 10,
                                          QLatin1Char('0'));
    return QStringLiteral("%1-%2-%3 %4:%5:%6")
        .arg(parts[0], parts[1], parts[2], parts[3], parts[4], parts[5]);
}

bool refundRow(const BillRow& row, bool wechat) {
    if (wechat)
        return row.type.endsWith(QStringLiteral("-退款")) || row.type == QStringLiteral("退款");
    // A purchase refunded later keeps its 支出 and reads 退款成功 too; it is no refund row.
    return row.type == QStringLiteral("退款") || row.goods.startsWith(QStringLiteral("退款")) ||
           (row.status.contains(QStringLiteral("退款成功")) &&
            row.direction != BillRow::Direction::Out);
}

double feeOf(const QString& note) {
    static const QRegularExpression pattern(
        QStringLiteral("(?:服务费|手续费)\\s*[¥￥]?\\s*([0-9,.]+)"));
    const QRegularExpressionMatch m = pattern.match(note);
    double fee = 0;
    if (!m.hasMatch() || !BillReader::parseAmount(m.captured(1), &fee)) return 0;
    return Money::round(fee);
}

void refuseRow(int row, const QString& header, const QString& what) {
    throw SheetError(QStringLiteral("第 %1 行 %2 %3").arg(row).arg(header, what) +
                     SpreadsheetImport::nothingImported());
}

}  // namespace

bool BillReader::parseAmount(const QString& text, double* value) {
    QString t = text.trimmed();
    t.remove(QChar(u'¥')).remove(QChar(u'￥')).remove(QLatin1Char(' '));
    static const QRegularExpression strict(
        QStringLiteral("^(?:\\d{1,3}(?:,\\d{3})+|\\d+)(?:\\.\\d{1,2})?$"));
    if (!strict.match(t).hasMatch()) return false;
    t.remove(QLatin1Char(','));
    return Money::parse(t, value);
}

bool BillReader::parseSignedAmount(const QString& text, double* value) {
    static const QRegularExpression currency(QStringLiteral("CNY|RMB|[¥￥\\s]|元$"),
                                             QRegularExpression::CaseInsensitiveOption);
    QString t = text.trimmed();
    t.remove(currency);
    const bool negative = t.startsWith(QLatin1Char('-'));
    if (negative || t.startsWith(QLatin1Char('+'))) t.remove(0, 1);
    if (!parseAmount(t, value)) return false;
    if (negative) *value = -*value;
    return true;
}

// A bill's texts end up in names and remarks: a tab or line break hidden in a counterparty
// would split a TSV row or a grid cell.
QString BillReader::clean(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text)
        if (c.category() != QChar::Other_Control) out += c;
    return out.trimmed();
}

SheetRows BillReader::parseCsv(const QString& text, int maxLineChars, qint64 maxCells,
                               QChar separator) {
    SheetRows out;
    QStringList cells;
    QString cell;
    bool quoted = false;
    int line = 1;
    int start = 1;
    const auto endCell = [&] {
        cells << cell;
        cell.clear();
    };
    qint64 held = 0;
    const auto endRow = [&] {
        endCell();
        bool any = false;
        for (const QString& c : cells) {
            any = any || !c.trimmed().isEmpty();
            held += c.isEmpty() ? 0 : 1;
        }
        if (held > maxCells) {
            throw SheetError(
                SheetLimits::billExceeded(QStringLiteral("单元格超过 %1 个").arg(maxCells)));
        }
        // The header is found among the rows, not guessed by SheetRows: every row goes in.
        if (any) out.addRow(start, cells);
        cells.clear();
    };
    qsizetype rowStart = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (i - rowStart > maxLineChars) {
            throw SheetError(SheetLimits::billExceeded(
                QStringLiteral("第 %1 行超过 %2 个字符").arg(start).arg(maxLineChars)));
        }
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < text.size() && text[i + 1] == QLatin1Char('"')) {
                    cell += c;
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                if (c == QLatin1Char('\n')) ++line;
                cell += c;
            }
        } else if (c == QLatin1Char('"') && cell.trimmed().isEmpty()) {
            cell.clear();
            quoted = true;
        } else if (c == separator) {
            endCell();
        } else if (c == QLatin1Char('\n')) {
            endRow();
            start = ++line;
            rowStart = i + 1;
        } else if (c != QLatin1Char('\r')) {
            cell += c;
        }
    }
    if (!cell.isEmpty() || !cells.isEmpty()) endRow();
    return out;
}

Bill BillReader::fromRows(const std::vector<QStringList>& rows, const std::vector<int>& numbers) {
    Bill bill;
    size_t headerAt = rows.size();
    QHash<QString, int> col;
    for (size_t r = 0; r < rows.size() && headerAt == rows.size(); ++r) {
        QHash<QString, int> here;
        for (int i = rows[r].size() - 1; i >= 0; --i) here.insert(rows[r][i].trimmed(), i);
        for (const auto& [source, headers] : {std::pair{Bill::Source::WeChat, &wechatHeaders()},
                                              std::pair{Bill::Source::Alipay, &alipayHeaders()}}) {
            bool all = true;
            for (const QString& h : *headers) all = all && here.contains(h);
            if (all) {
                bill.source = source;
                headerAt = r;
                col = here;
                break;
            }
        }
    }
    if (headerAt == rows.size()) throw SheetError(expected());
    // The preamble names the user: "微信昵称：[小王]", "账号：[xiaowang@example.com]".
    static const QRegularExpression ownerLine(
        QStringLiteral("(?:微信昵称|账号)\\s*[：:]\\s*\\[([^\\]]+)\\]"));
    for (size_t r = 0; r < headerAt && bill.owner.isEmpty(); ++r) {
        for (const QString& cell : rows[r]) {
            const QRegularExpressionMatch m = ownerLine.match(cell);
            if (m.hasMatch()) {
                bill.owner = m.captured(1).trimmed();
                break;
            }
        }
    }

    const bool wechat = bill.source == Bill::Source::WeChat;
    const QString amountHeader = wechat ? QStringLiteral("金额(元)") : QStringLiteral("金额");
    for (size_t r = headerAt + 1; r < rows.size(); ++r) {
        const QStringList& cells = rows[r];
        const auto cell = [&](const char* header) {
            return clean(cells.value(col.value(QString::fromUtf8(header), -1)));
        };
        const QString time = cell("交易时间");
        // The Alipay export closes with a divider line and notes below the rows.
        if (time.startsWith(QStringLiteral("---"))) break;
        bool any = false;
        for (const QString& c : cells) any = any || !c.trimmed().isEmpty();
        if (!any) continue;

        BillRow row;
        row.rowNumber = numbers[r];
        row.day = SpreadsheetImport::dayOf(time);
        row.time = timeOf(time);
        if (row.day.isEmpty())
            refuseRow(row.rowNumber, QStringLiteral("交易时间"),
                      QStringLiteral("不是有效的日期！"));
        if (!parseAmount(cells.value(col.value(amountHeader)), &row.amount) || row.amount < 0)
            refuseRow(row.rowNumber, amountHeader, QStringLiteral("不是有效的金额！"));
        const QString direction = cell("收/支");
        row.direction = direction == QStringLiteral("收入")   ? BillRow::Direction::In
                        : direction == QStringLiteral("支出") ? BillRow::Direction::Out
                                                              : BillRow::Direction::Neutral;
        row.type = wechat ? cell("交易类型") : cell("交易分类");
        row.counterparty = cell("交易对方");
        row.goods = wechat ? cell("商品") : cell("商品说明");
        row.method = wechat ? cell("支付方式") : cell("收/付款方式");
        row.status = wechat ? cell("当前状态") : cell("交易状态");
        row.number = wechat ? cell("交易单号") : cell("交易订单号");
        row.merchantNumber = wechat ? cell("商户单号") : cell("商家订单号");
        if (row.merchantNumber == QStringLiteral("/")) row.merchantNumber.clear();
        row.note = cell("备注");
        if (row.note == QStringLiteral("/")) row.note.clear();
        row.successful = successfulStatus(row.status);
        row.refund = refundRow(row, wechat);
        row.fee = feeOf(row.note);
        // WeChat writes a partial refund into the status: "已退款(￥5.00)". What was kept is a
        // purchase of the rest; a refund of the whole is no purchase at all.
        static const QRegularExpression partial(
            QStringLiteral("退款[(（]\\s*([¥￥]?[0-9,.]+)\\s*[)）]"));
        const QRegularExpressionMatch m = partial.match(row.status);
        double refunded = 0;
        if (m.hasMatch() && parseAmount(m.captured(1), &refunded) && refunded > 0 &&
            Money::round(refunded) < Money::round(row.amount)) {
            row.refunded = Money::round(refunded);
            row.successful = true;
        }
        bill.rows.push_back(std::move(row));
    }
    return bill;
}

QByteArray BillReader::load(const QString& path, const SheetLimits& limits) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) throw SheetError(QStringLiteral("无法打开文件：") + path);
    // Read no further than the limit: a device such as /dev/zero has no size and no end. Read
    // piece by piece, so a small file does not cost a buffer as big as the limit.
    QByteArray bytes;
    while (bytes.size() <= limits.billBytes) {
        const QByteArray piece =
            file.read(qMin<qint64>(1 << 20, limits.billBytes + 1 - bytes.size()));
        if (piece.isEmpty()) break;
        bytes += piece;
    }
    refuseOverLimit(bytes, limits);
    return bytes;
}

void BillReader::refuseOverLimit(const QByteArray& bytes, const SheetLimits& limits) {
    if (bytes.size() > limits.billBytes) {
        throw SheetError(SheetLimits::billExceeded(
            QStringLiteral("文件大于 %1").arg(SheetLimits::bytes(limits.billBytes))));
    }
}

bool BillReader::decode(const QByteArray& bytes, QString* text) {
    // WeChat writes UTF-8 (with a byte-order mark), Alipay and the banks GBK; a text that is
    // no valid UTF-8 is read as GBK.
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder utf16(bytes.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE
                                                          : QStringDecoder::Utf16BE);
        *text = utf16.decode(bytes);
        if (text->startsWith(QChar(0xFEFF))) text->remove(0, 1);
        return true;
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    *text = utf8.decode(bytes);
    if (utf8.hasError()) {
        QStringDecoder gbk("GB18030");
        if (!gbk.isValid()) return false;
        *text = gbk.decode(bytes);
    }
    if (text->startsWith(QChar(0xFEFF))) text->remove(0, 1);
    return true;
}

Bill BillReader::read(const QString& path, const SheetLimits& limits) {
    const QByteArray bytes = load(path, limits);
    if (bytes.startsWith(QByteArray("PK\x03\x04", 4))) {
        if (XlsxReader::isOpenDocument(path))
            throw SheetError(XlsxReader::openDocumentRefused(QStringLiteral(".xlsx、.csv")));
        // The app names its sheet as it likes; the bill is the first one.
        const SheetRows sheet = XlsxReader::read(path, QString(), limits);
        std::vector<QStringList> rows{sheet.header};
        // The first row kept is the sheet's first non-empty one; its number is not needed,
        // since it is never a booked row.
        std::vector<int> numbers{0};
        for (size_t r = 0; r < sheet.rowCount(); ++r) {
            rows.push_back(sheet.row(r));
            numbers.push_back(sheet.rowNumber(r));
        }
        return fromRows(rows, numbers);
    }
    QString text;
    if (!decode(bytes, &text)) throw SheetError(expected());
    const SheetRows sheet = parseCsv(text, limits.billLineChars);
    std::vector<QStringList> rows;
    std::vector<int> numbers;
    for (size_t r = 0; r < sheet.rowCount(); ++r) {
        rows.push_back(sheet.row(r));
        numbers.push_back(sheet.rowNumber(r));
    }
    return fromRows(rows, numbers);
}

}  // namespace cw
