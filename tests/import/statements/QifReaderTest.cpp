#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "import/statements/QifReader.h"

namespace {

using cw::Bill;
using cw::BillRow;
using cw::QifReader;
using cw::SheetError;
using cw::SheetLimits;

QString refusal(const QByteArray& bytes, const SheetLimits& limits = {}) {
    try {
        QifReader::parse(bytes, limits);
    } catch (const SheetError& e) {
        return e.message();
    }
    return QStringLiteral("(read)");
}

std::vector<QString> days(const QByteArray& bytes) {
    std::vector<QString> out;
    for (const BillRow& r : QifReader::parse(bytes).rows) out.push_back(r.day);
    return out;
}

std::vector<double> amounts(const QByteArray& bytes) {
    std::vector<double> out;
    for (const BillRow& r : QifReader::parse(bytes).rows) out.push_back(r.amount);
    return out;
}

// As a ledger exports two accounts: their list first, then each account's transactions; the
// category list and an investment account are not transactions of these accounts.
const char kLedger[] =
    "!Option:AutoSwitch\n!Account\nN清单里的账户\nTBank\n^\n!Clear:AutoSwitch\n"
    "!Type:Cat\nN食品\nD不是日期\nE\n^\n"
    "!Account\nN储蓄卡\nTBank\n^\n"
    "!Type:Bank\n"
    "D12/31/2024\nT-1,234.56\nP超市\nM年货\nL食品:蔬菜/家庭\nN101\nC*\n^\n"
    "D01/05'25\nT-300.00\nP饭店\nM聚餐\nL餐饮\n"
    "S餐饮:午餐\nE午饭\n$-100.00\nS[信用卡]/家庭\nE还款\n$-150.00\n^\n"
    "D1/ 6'25\nU500\nT500.00\nL[现金]\n^\n"
    "!Account\nN投资\nTInvst\n^\n!Type:Invst\nD1/7'25\nNBuy\nT99.00\n^\n";

TEST(QifReader, ReadsAccountsSplitsAndTransfers) {
    ASSERT_TRUE(QifReader::looksLike(QByteArray("\xEF\xBB\xBF!Option:AutoSwitch\n")));
    ASSERT_FALSE(QifReader::looksLike("交易时间,金额\n"));
    const Bill bill = QifReader::parse(QByteArray(kLedger));
    EXPECT_EQ(Bill::Source::Qif, bill.source);
    ASSERT_EQ(5u, bill.rows.size());

    const BillRow& first = bill.rows[0];
    EXPECT_EQ(17, first.rowNumber);
    EXPECT_EQ("2024-12-31", first.day);
    EXPECT_EQ("2024-12-31", first.time);
    EXPECT_EQ(BillRow::Direction::Out, first.direction);
    EXPECT_DOUBLE_EQ(1234.56, first.amount);
    EXPECT_EQ("超市", first.counterparty);
    EXPECT_EQ("年货", first.note);
    EXPECT_EQ("年货", first.goods);
    EXPECT_EQ("食品:蔬菜", first.type);
    EXPECT_EQ("101", first.number);
    EXPECT_EQ("储蓄卡", first.method);

    // The splits, then what they leave of the 300 under the transaction's own category.
    struct Expected {
        double amount;
        const char* type;
        const char* transfer;
        const char* note;
    };
    const Expected split[] = {
        {100, "餐饮:午餐", "", "午饭"}, {150, "", "信用卡", "还款"}, {50, "餐饮", "", "聚餐"}};
    for (int i = 0; i < 3; ++i) {
        const BillRow& r = bill.rows[size_t(1 + i)];
        SCOPED_TRACE(i);
        EXPECT_EQ(25, r.rowNumber);
        EXPECT_EQ("2025-01-05", r.day);
        EXPECT_EQ(BillRow::Direction::Out, r.direction);
        EXPECT_DOUBLE_EQ(split[i].amount, r.amount);
        EXPECT_EQ(QString::fromUtf8(split[i].type), r.type);
        EXPECT_EQ(QString::fromUtf8(split[i].transfer), r.transferAccount);
        EXPECT_EQ(QString::fromUtf8(split[i].note), r.note);
        EXPECT_EQ("饭店", r.counterparty);
    }
    const BillRow& transfer = bill.rows[4];
    EXPECT_EQ("2025-01-06", transfer.day);
    EXPECT_EQ(BillRow::Direction::In, transfer.direction);
    EXPECT_DOUBLE_EQ(500, transfer.amount);
    EXPECT_EQ("现金", transfer.transferAccount);
    EXPECT_TRUE(transfer.type.isEmpty());
}

TEST(QifReader, DatesFollowTheOrderTheWholeFileShows) {
    // A day past 12 in the first place, anywhere, makes every date day-first.
    EXPECT_EQ((std::vector<QString>{"2025-01-05", "2024-12-31"}),
              days("!Type:Bank\nD05/01/2025\nT1\n^\nD31/12/2024\nT1\n^\n"));
    EXPECT_EQ((std::vector<QString>{"2025-05-01", "2024-12-31"}),
              days("!Type:Cash\nD05/01/2025\nT1\n^\nD12/31/2024\nT1\n^\n"));
    // Undecided: month-first. Other notations, and the centuries of two-digit years.
    EXPECT_EQ((std::vector<QString>{"2025-05-01", "2024-12-31", "2024-12-31", "2024-12-31",
                                    "1999-01-05", "2069-01-05", "2004-01-05"}),
              days("!Type:CCard\r\nD05/01/2025\r\nT1\r\n^\r\nD2024-12-31\r\nT1\r\n^\r\n"
                   "D2024/12/31\r\nT1\r\n^\r\nD20241231\r\nT1\r\n^\r\nD1/5/99\r\nT1\r\n^\r\n"
                   "D1/5/69\r\nT1\r\n^\r\nD1/ 5' 4\r\nT1\r\n^\r\n"));
    EXPECT_EQ((std::vector<QString>{"2024-12-31"}), days("!Type:Oth A\nD31.12.2024\nT1\n^\n"));
    // A decimal comma anywhere makes dots group thousands; a decimal point, mark decimals.
    EXPECT_EQ(
        (std::vector<double>{1234.56, 1234, 12.5}),
        amounts("!Type:Oth L\nD1/1/25\nT-1.234,56\n^\nD1/1/25\nT1.234\n^\nD1/1/25\nT12,5\n^\n"));
    EXPECT_EQ((std::vector<double>{1.23, 12.5, 1234}),
              amounts("!Type:Bank\nD1/1/25\nT1.234\n^\nD1/1/25\nT12.50\n^\nD1/1/25\nT1,234\n^\n"));
}

TEST(QifReader, RefusesBadDatesAmountsAndFilesPastTheLimits) {
    // Day-first (31/…), so 12/13 is the 12th of a thirteenth month.
    EXPECT_EQ("第 6 行 日期 不是有效的日期！没有导入任何数据。",
              refusal("!Type:Bank\nD31/12/2024\nT1\n^\nT1\nD12/13/2024\n^\n"));
    EXPECT_EQ("第 3 行 金额 不是有效的金额！没有导入任何数据。",
              refusal("!Type:Bank\nD1/1/2025\nT1,23,4\n^\n"));
    EXPECT_EQ("第 6 行 金额 不是有效的金额！没有导入任何数据。",
              refusal("!Type:Bank\nD1/1/2025\nT-5\nSA\n$-2\n$x\n^\n"));
    EXPECT_EQ("第 2 行 日期 不是有效的日期！没有导入任何数据。",
              refusal("!Type:Bank\nPno date\nT1\n^\n"));

    SheetLimits limits;
    limits.billBytes = 64;
    limits.billLineChars = 20;
    limits.rows = 2;
    EXPECT_EQ("账单文件超过上限：文件大于 64 字节！",
              refusal("!Type:Bank\n" + QByteArray(60, 'M') + "\n", limits));
    EXPECT_EQ("账单文件超过上限：第 2 行超过 20 个字符！",
              refusal("!Type:Bank\nM" + QByteArray(20, 'x') + "\n", limits));
    EXPECT_EQ("账单文件超过上限：多于 2 条交易！",
              refusal("!Type:Bank\nD1/1/25\nT1\nSA\n$1\nSB\n$1\nSC\n$-1\n^\n", limits));

    QTemporaryDir dir;
    QFile file(dir.filePath("big.qif"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("!Type:Bank\n" + QByteArray(100, 'M'));
    file.close();
    EXPECT_THROW(QifReader::read(file.fileName(), limits), SheetError);
}

}  // namespace
