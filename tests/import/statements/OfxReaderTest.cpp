#include <gtest/gtest.h>

#include "import/statements/OfxReader.h"

namespace {

using cw::Bill;
using cw::BillRow;
using cw::OfxReader;
using cw::SheetError;
using cw::SheetLimits;

QString refusal(const QByteArray& bytes, const SheetLimits& limits = {}) {
    try {
        OfxReader::parse(bytes, limits);
    } catch (const SheetError& e) {
        return e.message();
    }
    return QStringLiteral("(read)");
}

// Version 1: a header of lines, values left unclosed, Windows-1252 text ("Caf\xE9").
const char kSgml[] =
    "OFXHEADER:100\r\nDATA:OFXSGML\r\nVERSION:102\r\nSECURITY:NONE\r\nENCODING:USASCII\r\n"
    "CHARSET:1252\r\nCOMPRESSION:NONE\r\nOLDFILEUID:NONE\r\nNEWFILEUID:NONE\r\n\r\n"
    "<OFX><SIGNONMSGSRSV1><SONRS><STATUS><CODE>0<SEVERITY>INFO</STATUS>"
    "<DTSERVER>20250105120000<LANGUAGE>ENG</SONRS></SIGNONMSGSRSV1>\r\n"
    "<BANKMSGSRSV1><STMTTRNRS><TRNUID>1<STMTRS><CURDEF>USD\r\n"
    "<BANKACCTFROM><BANKID>123<ACCTID>6222 0001<ACCTTYPE>CHECKING</BANKACCTFROM>\r\n"
    "<BANKTRANLIST><DTSTART>20250101<DTEND>20250105\r\n"
    "<STMTTRN><TRNTYPE>DEBIT<DTPOSTED>20250102083005.000[-8:PST]<TRNAMT>-12.50\r\n"
    "<FITID>A1<NAME>Ben &amp; Jerry&apos;s<MEMO>Caf\xE9 latte</STMTTRN>\r\n"
    "<STMTTRN><TRNTYPE>XFER<DTPOSTED>20250103<TRNAMT>1,500<FITID>A2<CHECKNUM>77\r\n"
    "<PAYEE><NAME>Acme<CITY>Springfield</PAYEE><BANKACCTTO><BANKID>9<ACCTID>999</BANKACCTTO>\r\n"
    "</STMTTRN></BANKTRANLIST>\r\n"
    "<LEDGERBAL><BALAMT>987.50<DTASOF>20250105</LEDGERBAL>"
    "<AVAILBAL><BALAMT>1.00<DTASOF>20250104</AVAILBAL></STMTRS></STMTTRNRS></BANKMSGSRSV1></OFX>";

TEST(OfxReader, ReadsVersionOneSgml) {
    ASSERT_TRUE(OfxReader::looksLike(QByteArray(kSgml).left(40)));
    const Bill bill = OfxReader::parse(QByteArray(kSgml));
    EXPECT_EQ(Bill::Source::Ofx, bill.source);
    ASSERT_EQ(2u, bill.rows.size());
    const BillRow& out = bill.rows[0];
    EXPECT_EQ(15, out.rowNumber);
    EXPECT_EQ("2025-01-02", out.day);
    EXPECT_EQ("2025-01-02 08:30:05", out.time);
    EXPECT_EQ(BillRow::Direction::Out, out.direction);
    EXPECT_DOUBLE_EQ(12.5, out.amount);
    EXPECT_EQ("DEBIT", out.type);
    EXPECT_EQ("A1", out.number);
    EXPECT_EQ("Ben & Jerry's", out.counterparty);
    EXPECT_EQ("Café latte", out.note);
    EXPECT_EQ("6222 0001", out.method);

    const BillRow& in = bill.rows[1];
    EXPECT_EQ("2025-01-03", in.time);
    EXPECT_EQ(BillRow::Direction::In, in.direction);
    EXPECT_DOUBLE_EQ(1.5, in.amount);  // a decimal comma, as OFX has no separators
    EXPECT_EQ("Acme", in.counterparty);
    EXPECT_EQ("77", in.merchantNumber);
    EXPECT_EQ("6222 0001", in.method);

    EXPECT_TRUE(bill.hasClosingBalance);
    EXPECT_DOUBLE_EQ(987.5, bill.closingBalance);
    EXPECT_EQ("2025-01-05", bill.closingDay);
}

QByteArray xmlStatement(const QByteArray& account, const QByteArray& transactions) {
    return "<CREDITCARDMSGSRSV1><CCSTMTTRNRS><CCSTMTRS><CCACCTFROM><ACCTID>" + account +
           "</ACCTID></CCACCTFROM><BANKTRANLIST>" + transactions +
           "</BANKTRANLIST><LEDGERBAL><BALAMT>-5.00</BALAMT><DTASOF>20250131</DTASOF>"
           "</LEDGERBAL></CCSTMTRS></CCSTMTTRNRS></CREDITCARDMSGSRSV1>";
}

TEST(OfxReader, ReadsVersionTwoXmlAndKeepsEachStatementsAccount) {
    const QByteArray head =
        "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n"
        "<?OFX OFXHEADER=\"200\" VERSION=\"211\" SECURITY=\"NONE\"?>\n<OFX>\n<!-- <STMTTRN> -->\n";
    const QByteArray trn =
        "<STMTTRN>\n<TRNTYPE>POS</TRNTYPE>\n<DTPOSTED>20250120</DTPOSTED>\n"
        "<TRNAMT>-88.00</TRNAMT>\n<FITID>X&lt;1&gt;</FITID>\n<NAME>&#x4E2D;&#22269;超市</NAME>\n"
        "<MEMO/>\n</STMTTRN>\n";
    const Bill one = OfxReader::parse(head + xmlStatement("4321", trn) + "</OFX>\n");
    ASSERT_EQ(1u, one.rows.size());
    EXPECT_EQ(5, one.rows[0].rowNumber);
    EXPECT_EQ("2025-01-20", one.rows[0].day);
    EXPECT_EQ("X<1>", one.rows[0].number);
    EXPECT_EQ("中国超市", one.rows[0].counterparty);
    EXPECT_TRUE(one.rows[0].note.isEmpty());
    EXPECT_EQ("4321", one.rows[0].method);
    EXPECT_TRUE(one.hasClosingBalance);
    EXPECT_DOUBLE_EQ(-5, one.closingBalance);

    // Two statements: each row keeps its own account, and no one balance closes the file.
    const Bill two =
        OfxReader::parse(head + xmlStatement("1", trn) + xmlStatement("2", trn + trn) + "</OFX>");
    ASSERT_EQ(3u, two.rows.size());
    EXPECT_EQ("1", two.rows[0].method);
    EXPECT_EQ("2", two.rows[2].method);
    EXPECT_FALSE(two.hasClosingBalance);
}

TEST(OfxReader, RefusesBadDatesAmountsAndFilesPastTheLimits) {
    const QByteArray head =
        "OFXHEADER:100\nDATA:OFXSGML\n\n<OFX><BANKMSGSRSV1><STMTTRNRS><STMTRS>\n";
    EXPECT_EQ("第 6 行 日期 不是有效的日期！没有导入任何数据。",
              refusal(head + "<BANKTRANLIST><STMTTRN><TRNAMT>1\n<DTPOSTED>20251301\n</STMTTRN>"));
    EXPECT_EQ("第 5 行 金额 不是有效的金额！没有导入任何数据。",
              refusal(head + "<STMTTRN><DTPOSTED>20250101<TRNAMT>1.2.3</STMTTRN>"));
    EXPECT_EQ("第 5 行 金额 不是有效的金额！没有导入任何数据。",
              refusal(head + "<STMTTRN><DTPOSTED>20250101</STMTTRN>"));
    EXPECT_EQ("不是 OFX 文件：找不到 <OFX> 标签！", refusal("OFXHEADER:100\n\n"));

    SheetLimits limits;
    limits.billBytes = 200;
    limits.billLineChars = 30;
    EXPECT_EQ("账单文件超过上限：文件大于 200 字节！",
              refusal(head + QByteArray(200, ' '), limits));
    EXPECT_EQ("账单文件超过上限：第 5 行超过 30 个字符！",
              refusal(head + "<MEMO>" + QByteArray(31, 'x'), limits));
    EXPECT_EQ("账单文件超过上限：第 1 行 标签嵌套超过 64 层！",
              refusal("<OFX>" + QByteArray("<A>").repeated(300)));
}

}  // namespace
