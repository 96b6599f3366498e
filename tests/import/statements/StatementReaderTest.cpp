#include "import/statements/StatementReader.h"

#include <gtest/gtest.h>

#include <QStringEncoder>

#include "import/XlsReader.h"
#include "import/statements/StatementFile.h"
#include "reports/Workbook.h"
#include "reports/XlsxWriter.h"
#include "storage/DataFile.h"
#include "support/Files.h"
#include "support/TempDataFile.h"

using namespace cw;

namespace {

using Dir = BillRow::Direction;

QByteArray gbk(const QString& text) {
    QStringEncoder encoder("GB18030");
    return encoder.encode(text);
}

StatementSheet sheetOf(const std::vector<QStringList>& rows) {
    StatementSheet s;
    for (size_t r = 0; r < rows.size(); ++r) {
        s.rows.push_back(rows[r]);
        s.numbers.push_back(int(r) + 1);
    }
    return s;
}

QString refusal(const StatementSheet& s, const StatementProfile& p) {
    try {
        StatementReader::read(s, p, 0, QString());
    } catch (const SheetError& e) {
        return e.message();
    }
    return QString();
}

class StatementReaderTest : public ::testing::Test {
  protected:
    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = f.programDir() + u'/' + name;
        test::writeFile(path, bytes);
        return path;
    }
    test::TempDataFile f;
};

}  // namespace

TEST_F(StatementReaderTest, AGbkStatementWithAPreambleIsRecognisedAndReadToItsClosingLine) {
    const QString csv = QStringLiteral(
        "中国邮政储蓄银行账户交易明细\r\n"
        "账号：6221****1234,户名：王小明\r\n"
        "\r\n"
        "交易日期,交易渠道,摘要,收入金额,支出金额,账户余额,对方账号,对方户名\r\n"
        "=\"2026-11-01\",网银,工资,\"8,000.00\",-,\"9,000.00\",=\"6222001\",\"某某\t公司\"\r\n"
        "2026/11/3,POS,消费,,25.50,8974.50,,楼下超市\r\n"
        "20261105,柜面,利息,0.00,--,8974.50,,\r\n"
        "合计,,,8000.00,25.50,,,\r\n"
        "说明：本明细仅供参考,,,,,,,\r\n");
    const QString path = write(QStringLiteral("邮储.csv"), gbk(csv));
    const StatementFile::Opened o = StatementFile::open(path, StatementProfiles::shipped());
    ASSERT_GE(o.profile, 0);
    EXPECT_EQ(StatementProfiles::shipped()[size_t(o.profile)].name, QStringLiteral("邮储银行"));
    EXPECT_EQ(o.headerRow, 2u);
    ASSERT_TRUE(o.bill);
    const Bill& b = *o.bill;
    EXPECT_EQ(b.source, Bill::Source::Statement);
    ASSERT_EQ(b.rows.size(), 3u);
    EXPECT_EQ(b.rows[0].rowNumber, 5);
    EXPECT_EQ(b.rows[0].day, QStringLiteral("2026-11-01"));
    EXPECT_EQ(b.rows[0].direction, Dir::In);
    EXPECT_DOUBLE_EQ(b.rows[0].amount, 8000);
    EXPECT_EQ(b.rows[0].type, QStringLiteral("工资"));
    EXPECT_EQ(b.rows[0].goods, QStringLiteral("工资 网银"));
    EXPECT_EQ(b.rows[0].counterparty, QStringLiteral("某某公司"));
    EXPECT_EQ(b.rows[0].counterpartyAccount, QStringLiteral("6222001"));
    EXPECT_EQ(b.rows[1].day, QStringLiteral("2026-11-03"));
    EXPECT_EQ(b.rows[1].direction, Dir::Out);
    EXPECT_DOUBLE_EQ(b.rows[1].amount, 25.5);
    EXPECT_DOUBLE_EQ(b.rows[1].balance, 8974.5);
    EXPECT_EQ(b.rows[2].day, QStringLiteral("2026-11-05"));
    EXPECT_DOUBLE_EQ(b.rows[2].amount, 0);
    EXPECT_TRUE(b.hasClosingBalance);
    EXPECT_DOUBLE_EQ(b.closingBalance, 8974.5);
    EXPECT_EQ(b.closingDay, QStringLiteral("2026-11-05"));

    // Saved again by the spreadsheet program as Unicode text: UTF-16, cells parted by tabs.
    const QString tabbed = QStringLiteral(
        "交易日期\t交易渠道\t摘要\t收入金额\t支出金额\t账户余额\t对方账号\t对方户名\r\n"
        "2026-11-01\t网银\t工资\t8,000.00\t\t9,000.00\t\t某某公司\r\n");
    const QByteArray utf16 =
        QByteArray("\xFF\xFE") +
        QByteArray(reinterpret_cast<const char*>(tabbed.utf16()), tabbed.size() * 2);
    const StatementFile::Opened u =
        StatementFile::open(write(QStringLiteral("邮储.txt"), utf16), StatementProfiles::shipped());
    ASSERT_TRUE(u.bill);
    ASSERT_EQ(u.bill->rows.size(), 1u);
    EXPECT_DOUBLE_EQ(u.bill->rows[0].amount, 8000);
}

TEST_F(StatementReaderTest, EachWayOfGivingTheMoneyAndTheNewestFirstClosingBalance) {
    StatementProfile split = StatementProfiles::guess({"日期", "收入", "支出", "余额", "摘要"});
    ASSERT_EQ(split.amounts, StatementProfile::Amounts::Split);
    const StatementSheet s1 = sheetOf({{"日期", "收入", "支出", "余额", "摘要"},
                                       {"2026年11月9日 08:30", "100.00", "30.00", "170.00", "轧差"},
                                       {"2026年11月8日", "", "-", "100.00", "开户"}});
    const Bill b1 = StatementReader::read(s1, split, 0, QStringLiteral("储蓄卡"));
    ASSERT_EQ(b1.rows.size(), 2u);
    EXPECT_EQ(b1.account, QStringLiteral("储蓄卡"));
    EXPECT_EQ(b1.rows[0].direction, Dir::In);
    EXPECT_DOUBLE_EQ(b1.rows[0].amount, 70);
    EXPECT_EQ(b1.rows[0].time, QStringLiteral("2026-11-09 08:30:00"));
    EXPECT_EQ(b1.rows[1].time, QStringLiteral("2026-11-08"));
    // Newest first: the statement closes with its first row's balance.
    EXPECT_DOUBLE_EQ(b1.closingBalance, 170);
    EXPECT_EQ(b1.closingDay, QStringLiteral("2026-11-09"));
    // Rows of one day: the balances tell which came last.
    const StatementSheet oneDay = sheetOf({{"日期", "收入", "支出", "余额", "摘要"},
                                           {"2026-11-09", "", "30.00", "70.00"},
                                           {"2026-11-09", "100.00", "", "100.00"}});
    EXPECT_DOUBLE_EQ(StatementReader::read(oneDay, split, 0, QString()).closingBalance, 70);

    const StatementProfile marked =
        StatementProfiles::guess({"交易日期", "交易时间", "借贷标志", "发生额"});
    ASSERT_EQ(marked.amounts, StatementProfile::Amounts::Marked);
    EXPECT_EQ(marked.time, QStringLiteral("交易时间"));
    const StatementSheet s2 = sheetOf({{"交易日期", "交易时间", "借贷标志", "发生额"},
                                       {"20261101", "093005", "借", "RMB 12.00"},
                                       {"2026.11.2", "7:05", "贷", "¥1,000.00"},
                                       {"2026.11.3", "", "借", "-5.00"}});
    const Bill b2 = StatementReader::read(s2, marked, 0, QString());
    ASSERT_EQ(b2.rows.size(), 3u);
    EXPECT_EQ(b2.rows[0].direction, Dir::Out);
    EXPECT_DOUBLE_EQ(b2.rows[0].amount, 12);
    EXPECT_EQ(b2.rows[0].time, QStringLiteral("2026-11-01 09:30:05"));
    EXPECT_EQ(b2.rows[1].direction, Dir::In);
    EXPECT_EQ(b2.rows[1].time, QStringLiteral("2026-11-02 07:05:00"));
    EXPECT_EQ(b2.rows[2].direction, Dir::Out);
    EXPECT_DOUBLE_EQ(b2.rows[2].amount, 5);
    EXPECT_FALSE(b2.hasClosingBalance);

    StatementProfile card = StatementProfiles::guess({"交易日", "人民币金额", "交易摘要"});
    card.date = QStringLiteral("交易日");
    const StatementSheet s3 =
        sheetOf({{"交易日", "人民币金额"}, {"2026-11-01", "58.00"}, {"2026-11-02", "-2,000.00"}});
    for (const bool cardSign : {false, true}) {
        card.positiveIsExpense = cardSign;
        const Bill b3 = StatementReader::read(s3, card, 0, QString());
        EXPECT_EQ(b3.rows[0].direction, cardSign ? Dir::Out : Dir::In);
        EXPECT_EQ(b3.rows[1].direction, cardSign ? Dir::In : Dir::Out);
        EXPECT_DOUBLE_EQ(b3.rows[1].amount, 2000);
    }
}

TEST_F(StatementReaderTest, ARowWithNoDateOrUnreadableMoneyIsRefusedWithItsRowNumber) {
    const StatementProfile p = StatementProfiles::guess({"交易日期", "交易金额", "余额"});
    const QStringList header{"交易日期", "交易金额", "余额"};
    EXPECT_EQ(refusal(sheetOf({header, {"2026-11-01", "1"}, {"2026-02-30", "5.00"}}), p),
              QStringLiteral("第 3 行 交易日期 不是有效的日期！没有导入任何数据。"));
    EXPECT_EQ(refusal(sheetOf({header, {"手续费", "5.00"}}), p),
              QStringLiteral("第 2 行 交易日期 不是有效的日期！没有导入任何数据。"));
    EXPECT_EQ(refusal(sheetOf({header, {"2026-11-01", "1.234,50"}}), p),
              QStringLiteral("第 2 行 交易金额 不是有效的金额！没有导入任何数据。"));
    EXPECT_EQ(refusal(sheetOf({header, {"2026-11-01", ""}}), p),
              QStringLiteral("第 2 行 交易金额 不是有效的金额！没有导入任何数据。"));
    EXPECT_EQ(refusal(sheetOf({header, {"2026-11-01", "1", "余额不足"}}), p),
              QStringLiteral("第 2 行 余额 不是有效的金额！没有导入任何数据。"));
    EXPECT_EQ(refusal(sheetOf({header}), StatementProfile{}), QStringLiteral("请选择日期列！"));
}

TEST_F(StatementReaderTest, AnXlsxStatementKeepsItsPreambleAndRowNumbers) {
    Workbook book;
    book.setValue(1, 1, QStringLiteral("交通银行 借记卡交易明细"));
    const QStringList header{"交易日期", "交易时间", "交易类型", "借贷", "交易金额",
                             "余额",     "对方账号", "对方户名", "摘要"};
    for (int c = 0; c < header.size(); ++c) book.setValue(3, c + 1, header[c]);
    const QStringList row{"2026-11-20", "18:00:01", "转账", "贷",  "66.60",
                          "166.60",     "",         "老李", "还款"};
    for (int c = 0; c < row.size(); ++c) book.setValue(4, c + 1, row[c]);
    const QString path = f.programDir() + QStringLiteral("/交通.xlsx");
    XlsxWriter writer;
    ASSERT_TRUE(writer.write(book, path)) << writer.errorString().toStdString();

    const StatementFile::Opened o = StatementFile::open(path, StatementProfiles::shipped());
    EXPECT_EQ(o.sheet.numbers, (std::vector<int>{1, 3, 4}));
    ASSERT_TRUE(o.bill);
    ASSERT_EQ(o.bill->rows.size(), 1u);
    EXPECT_EQ(o.bill->rows[0].rowNumber, 4);
    EXPECT_EQ(o.bill->rows[0].direction, Dir::In);
    EXPECT_EQ(o.bill->rows[0].counterparty, QStringLiteral("老李"));
    EXPECT_DOUBLE_EQ(o.bill->closingBalance, 166.6);

    // An .xls statement is its first sheet, whatever that is called.
    const StatementSheet xls =
        StatementReader::sheet(QStringLiteral(COINWICK_SOURCE_DIR "/tests/data/import/income.xls"));
    EXPECT_FALSE(xls.rows.empty());
}

TEST_F(StatementReaderTest, TheUsersProfilesAreKeptByNameInTheDataFile) {
    f.db().execScript(QStringLiteral("DROP TABLE SStatementProfile;"));
    DataFile::upgrade(f.db());
    StatementProfile p = StatementProfiles::guess({"记账日期", "发生额", "余额"});
    p.name = QStringLiteral("我的信用卡");
    StatementProfiles::save(f.db(), p);
    p.positiveIsExpense = true;
    p.remarks = QStringList{QStringLiteral("摘要"), QStringLiteral("附言")};
    StatementProfiles::save(f.db(), p);
    StatementProfile shippedName = p;
    shippedName.name = QStringLiteral("工商银行");
    try {
        StatementProfiles::save(f.db(), shippedName);
        ADD_FAILURE() << "a shipped profile's name was taken";
    } catch (const SheetError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("已有同名的内置格式：工商银行"));
    }
    f.reopen();
    const std::vector<StatementProfile> saved = StatementProfiles::saved(f.db());
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(saved[0].headers(), p.headers());
    EXPECT_TRUE(saved[0].positiveIsExpense);
    EXPECT_FALSE(saved[0].shipped);
    EXPECT_EQ(StatementProfiles::all(f.db()).front().name, p.name);
    StatementProfiles::remove(f.db(), p.name);
    EXPECT_TRUE(StatementProfiles::saved(f.db()).empty());
}

TEST_F(StatementReaderTest, AGuessPlacesTheBanksHeaderWords) {
    const std::vector<QStringList> rows{{"客户姓名：王小明", "查询日期：2026-12-01"},
                                        {"记账日期", "交易时间", "摘要", "交易金额(元)", "账户余额",
                                         "对方户名", "对方账号", "附言"}};
    EXPECT_EQ(StatementProfiles::guessHeaderRow(rows), 1u);
    const StatementProfile p = StatementProfiles::guess(rows[1]);
    EXPECT_EQ(p.amounts, StatementProfile::Amounts::Signed);
    EXPECT_EQ(p.headers(), (QStringList{"记账日期", "交易时间", "交易金额(元)", "对方户名",
                                        "对方账号", "摘要", "附言", "账户余额"}));
    QString why;
    EXPECT_FALSE(StatementProfiles::guess({"交易日期", "收入", "余额"}).usable(&why));
    EXPECT_EQ(why, QStringLiteral("请选择收入列和支出列！"));
}

TEST_F(StatementReaderTest, ATextFilePastTheLimitsIsRefused) {
    SheetLimits limits;
    limits.billBytes = 64;
    limits.billLineChars = 16;
    const QString big = write(QStringLiteral("big.csv"), QByteArray(65, 'a'));
    EXPECT_THROW(StatementReader::sheet(big, limits), SheetError);
    const QString wide = write(QStringLiteral("wide.csv"), "a,b\n" + QByteArray(20, 'x'));
    EXPECT_THROW(StatementReader::sheet(wide, limits), SheetError);
    EXPECT_EQ(StatementReader::sheet(wide).rows.size(), 2u);
}
