#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

#include "import/SheetLimits.h"
#include "import/SheetRows.h"

namespace cw {

// One row of a payment app's bill, its cells as read (trimmed of the blanks and tabs the
// exports pad them with) and the values taken from them.
struct BillRow {
    // Transfer is never read from a bill: it is what a wallet move is booked as.
    enum class Direction { In, Out, Neutral, Transfer };
    int rowNumber = 0;  // 1-based line or spreadsheet row, for messages
    QString day;        // yyyy-mm-dd
    QString time;       // yyyy-mm-dd hh:mm:ss, as far as the bill gives it
    Direction direction = Direction::Neutral;
    double amount = 0;
    // Of it, refunded since (a partial refund); the row stands for amount − refunded.
    double refunded = 0;
    QString type;  // Alipay 交易分类, WeChat 交易类型
    QString counterparty;
    QString goods;
    QString method;  // the payment method, e.g. "零钱"
    QString status;
    QString number;          // 交易单号 / 交易订单号; not unique, and often absent
    QString merchantNumber;  // 商户单号 / 商家订单号
    QString note;            // 备注
    // Neither refunded, closed nor failed.
    bool successful = true;
    // Money given back for an earlier purchase (Alipay 退款, WeChat "…-退款").
    bool refund = false;
    // A service fee the note names ("服务费¥0.10"), taken out of the amount.
    double fee = 0;
    // A bank statement's counterparty account number (对方账号), when it gives one.
    QString counterpartyAccount;
    // The household's other account the file itself names as where the money went or came
    // from (a QIF category "[储蓄卡]"); empty when the file names none.
    QString transferAccount;
    // The statement's balance after the row, when it has a balance column.
    bool hasBalance = false;
    double balance = 0;
};

struct Bill {
    // A payment app's bill, a bank or card statement read through a column profile, or a
    // QIF or OFX file another ledger or a bank wrote.
    enum class Source { WeChat, Alipay, Statement, Qif, Ofx };
    Source source = Source::WeChat;
    // A statement's rows move money in and out of one of the book's accounts, which the user
    // names (a QIF or OFX row that names its own account in `method` keeps that one).
    QString account;
    // The balance the statement closes with (its balance column at the latest row, or an
    // OFX ledger balance) and the day it stands at.
    bool hasClosingBalance = false;
    double closingBalance = 0;
    QString closingDay;
    // Whose bill it is, as its preamble names the user (WeChat 微信昵称, Alipay 账号); empty
    // when the preamble does not say.
    QString owner;
    std::vector<BillRow> rows;
};

// Reads a WeChat Pay bill (.xlsx or UTF-8 .csv) or an Alipay bill (GBK or UTF-8 .csv). The
// header row is found by its cells wherever the preamble ends; the two are told apart by their
// headers. Throws SheetError naming what was expected for any other file, and naming the row
// for a row whose date or amount cannot be read (so nothing of a damaged bill is booked).
class BillReader {
  public:
    // Refuses a text file past limits.billBytes and a line past limits.billLineChars; an
    // .xlsx bill is read within the spreadsheet limits.
    static Bill read(const QString& path, const SheetLimits& limits = {});
    // A text file's bytes, read no further than limits.billBytes (refused past it).
    static QByteArray load(const QString& path, const SheetLimits& limits = {});
    // UTF-8, with or without a byte-order mark, UTF-16 with its mark (what the spreadsheet
    // program saves as Unicode text), else GBK (read as GB18030); false when no GBK decoder
    // is at hand for a text that is no UTF-8.
    static bool decode(const QByteArray& bytes, QString* text);
    // The rows of a CSV text, each with its 1-based line number; refused past maxLineChars in
    // a line or maxCells cells holding anything. Cells are parted by `separator`.
    static SheetRows parseCsv(const QString& text, int maxLineChars = SheetLimits().billLineChars,
                              qint64 maxCells = SheetLimits().cells,
                              QChar separator = QLatin1Char(','));
    // Throws the refusal load gives when the bytes are more than limits.billBytes.
    static void refuseOverLimit(const QByteArray& bytes, const SheetLimits& limits);
    // "¥1,234.50" → 1234.5; false when it is no amount. Strict: separators only between
    // groups of three, at most two decimals, so "¥1.234,50" is refused rather than misread.
    static bool parseAmount(const QString& text, double* value);
    // The same with a leading "+" or "-" and the currency written as "¥", "CNY" or "RMB"
    // around it, as bank statements write their money: "-1,234.50", "RMB 12.00".
    static bool parseSignedAmount(const QString& text, double* value);
    // A cell's text without control characters, trimmed.
    static QString clean(const QString& text);
    static Bill fromRows(const std::vector<QStringList>& rows, const std::vector<int>& numbers);
};

}  // namespace cw
