#include <gtest/gtest.h>

#include <zip.h>
#include <QFile>
#include <QStringEncoder>

#include "bookkeeping/BookkeepingFixture.h"
#include "import/SpreadsheetReader.h"
#include "import/bills/BillImport.h"
#include "reports/Workbook.h"
#include "reports/XlsxWriter.h"
#include "storage/DataFile.h"
#include "support/CliRun.h"

namespace {

using cw::Bill;
using cw::BillImport;
using cw::BillReader;
using cw::BillRow;
using cw::SheetError;

const QStringList kWeChatHeader{"交易时间", "交易类型", "交易对方", "商品",     "收/支", "金额(元)",
                                "支付方式", "当前状态", "交易单号", "商户单号", "备注"};

// A WeChat bill's rows after its header: a purchase, an income received into the wallet
// ("/" as method, an amount with a thousands separator), a red packet (neutral) and a refunded
// purchase.
const std::vector<QStringList> kWeChatRows{
    {"2026-11-03 12:01:09", "商户消费", "便利店", "饮料", "支出", "¥12.50", "零钱", "支付成功",
     "4200001", "10001", "/"},
    {"2026-11-04 09:00:00", "转账", "张三", "/", "收入", "¥1,234.50", "/", "已收钱", "4200002", "/",
     "/"},
    {"2026-11-05 10:00:00", "微信红包", "李四", "/", "/", "¥100.00", "零钱", "已存入零钱",
     "4200003", "/", "/"},
    {"2026-11-06 19:30:00", "商户消费", "饭店", "午餐", "支出", "¥30.00", "招商银行储蓄卡(1234)",
     "已全额退款", "4200004", "10004", "/"},
};

QStringList weChatPreamble(int lines) {
    QStringList out{"微信支付账单明细", "微信昵称：[小王]",
                    "起始时间：[2026-11-01 00:00:00] "
                    "终止时间：[2026-11-30 23:59:59]"};
    for (int i = out.size(); i < lines; ++i) out << QStringLiteral("说明%1").arg(i);
    out << "----------------------微信支付账单明细列表--------------------";
    return out;
}

QString csvCell(const QString& c) {
    return c.contains(QLatin1Char(',')) ? QLatin1Char('"') + c + QLatin1Char('"') : c;
}

QString weChatCsv(const std::vector<QStringList>& rows, int preamble = 16) {
    QString text = QChar(0xFEFF);
    for (const QString& l : weChatPreamble(preamble)) text += l + QStringLiteral(",,,\r\n");
    QStringList all{kWeChatHeader.join(QLatin1Char(','))};
    for (const QStringList& r : rows) {
        QStringList cells;
        for (const QString& c : r) cells << csvCell(c);
        all << cells.join(QLatin1Char(','));
    }
    return text + all.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

// An Alipay bill: GBK, cells padded with tabs and blanks, a divider and notes after the rows.
QString alipayCsv() {
    QStringList lines{"支付宝交易明细", "账号：[xiaowang@example.com]",
                      "起始日期：[2026-11-01 00:00:00]    终止日期：[2026-12-01 00:00:00]", "",
                      "交易时间\t,交易分类\t,交易对方\t,对方账号\t,商品说明\t,收/支\t,金额\t,"
                      "收/付款方式\t,交易状态\t,交易订单号\t,商家订单号\t,备注\t,"};
    lines << "2026-11-07 08:00:00\t,餐饮美食\t,早餐店\t,zao***@x.com\t,包子\t,支出\t,8.00\t,"
             "花呗\t,交易成功\t,2026110722001\t,M1\t,\t,"
          << "2026-11-08 10:00:00 ,收入 ,李四 ,li***@x.com ,转账 ,收入 ,50.00 , ,交易成功 ,"
             "2026110822002 , , ,"
          << "2026-11-09 00:10:00\t,投资理财\t,余额宝\t,/\t,收益发放\t,不计收支\t,0.12\t,"
             "余额宝\t,交易成功\t,2026110922003\t,\t,\t,"
          << "2026-11-10 12:00:00\t,日用百货\t,超市\t,/\t,纸巾\t,支出\t,20.00\t,余额\t,"
             "交易关闭\t,2026111022004\t,\t,\t,"
          << "------------------------------------------------------------------------------------"
          << "导出时间：[2026-12-01 10:00:00]";
    return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

class BillImportTest : public ::testing::Test {
  protected:
    void SetUp() override {
        f.addBook(QStringLiteral("我家"));
        f.db().exec(QStringLiteral("INSERT INTO SFamily(BName, FName) VALUES(?,?)"),
                    QStringLiteral("我家"), QStringLiteral("爸爸"));
    }

    QString write(const char* name, const QByteArray& bytes) {
        const QString path = f.programDir() + QLatin1Char('/') + QString::fromUtf8(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    QString weChatXlsx(const std::vector<QStringList>& rows) {
        cw::Workbook book;
        int r = 1;
        for (const QString& l : weChatPreamble(16)) book.setValue(r++, 1, l);
        std::vector<QStringList> all{kWeChatHeader};
        all.insert(all.end(), rows.begin(), rows.end());
        for (const QStringList& cells : all) {
            for (int c = 0; c < cells.size(); ++c) book.setValue(r, c + 1, cells[c]);
            ++r;
        }
        const QString path = f.programDir() + QStringLiteral("/wechat.xlsx");
        cw::XlsxWriter writer;
        EXPECT_TRUE(writer.write(book, path)) << writer.errorString().toStdString();
        return path;
    }

    double balance(const QString& account) {
        return f.db()
            .query(QStringLiteral("SELECT AMoney FROM SAccount WHERE BName=? AND AName=?"),
                   QStringLiteral("我家"), account)
            .number(QStringLiteral("AMoney"));
    }

    BillImport::Counts import(const QString& path, int* booked = nullptr) {
        BillImport bills(f.dm());
        const auto rows = bills.plan(BillReader::read(path));
        const int n = bills.book(rows);
        if (booked) *booked = n;
        return BillImport::count(rows);
    }

    cw::test::TempDataFile f;
};

TEST(BillReaderTest, AmountsWithCurrencySignsAndSeparators) {
    double v = 0;
    EXPECT_TRUE(BillReader::parseAmount(QStringLiteral("¥12.50"), &v));
    EXPECT_DOUBLE_EQ(v, 12.5);
    EXPECT_TRUE(BillReader::parseAmount(QStringLiteral("￥1,234.50"), &v));
    EXPECT_DOUBLE_EQ(v, 1234.5);
    EXPECT_TRUE(BillReader::parseAmount(QStringLiteral(" 8.00\t"), &v));
    EXPECT_DOUBLE_EQ(v, 8);
    EXPECT_FALSE(BillReader::parseAmount(QStringLiteral("¥"), &v));
    EXPECT_FALSE(BillReader::parseAmount(QStringLiteral("十元"), &v));
}

TEST_F(BillImportTest, WeChatCsvAndXlsxReadAlikeWhateverThePreamble) {
    const Bill csv = BillReader::read(write("wechat.csv", weChatCsv(kWeChatRows, 16).toUtf8()));
    const Bill shortCsv = BillReader::read(write("short.csv", weChatCsv(kWeChatRows, 3).toUtf8()));
    const Bill xlsx = BillReader::read(weChatXlsx(kWeChatRows));
    for (const Bill* b : {&csv, &shortCsv, &xlsx}) {
        EXPECT_EQ(b->source, Bill::Source::WeChat);
        ASSERT_EQ(b->rows.size(), 4u);
        EXPECT_EQ(b->rows[0].day, QStringLiteral("2026-11-03"));
        EXPECT_EQ(b->rows[0].direction, BillRow::Direction::Out);
        EXPECT_DOUBLE_EQ(b->rows[0].amount, 12.5);
        EXPECT_DOUBLE_EQ(b->rows[1].amount, 1234.5);
        EXPECT_EQ(b->rows[1].direction, BillRow::Direction::In);
        EXPECT_EQ(b->rows[2].direction, BillRow::Direction::Neutral);
        EXPECT_TRUE(b->rows[2].successful);
        EXPECT_FALSE(b->rows[3].successful);
        EXPECT_EQ(b->rows[3].method, QStringLiteral("招商银行储蓄卡(1234)"));
        EXPECT_EQ(b->rows[3].number, QStringLiteral("4200004"));
    }
    // Row numbers point at the file's own lines: 16 preamble lines, the divider, the header.
    EXPECT_EQ(csv.rows[0].rowNumber, 19);
    EXPECT_EQ(xlsx.rows[0].rowNumber, 19);
}

TEST_F(BillImportTest, AlipayGbkWithPaddedCellsAndTrailingNotes) {
    QStringEncoder gbk("GB18030");
    ASSERT_TRUE(gbk.isValid());
    const QByteArray bytes = gbk.encode(alipayCsv());
    ASSERT_FALSE(bytes.contains("\xE4\xBA\xA4"));  // not UTF-8 by accident
    const Bill b = BillReader::read(write("alipay.csv", bytes));
    EXPECT_EQ(b.source, Bill::Source::Alipay);
    ASSERT_EQ(b.rows.size(), 4u);
    EXPECT_EQ(b.rows[0].type, QStringLiteral("餐饮美食"));
    EXPECT_EQ(b.rows[0].method, QStringLiteral("花呗"));
    EXPECT_EQ(b.rows[0].rowNumber, 6);
    EXPECT_EQ(b.rows[1].direction, BillRow::Direction::In);
    EXPECT_EQ(b.rows[1].method, QString());
    EXPECT_EQ(b.rows[2].direction, BillRow::Direction::Neutral);
    EXPECT_FALSE(b.rows[3].successful);

    BillImport::Counts c = import(write("alipay.csv", bytes));
    EXPECT_EQ(c.added, 2);
    EXPECT_EQ(c.imported, 0);
    EXPECT_EQ(c.skipped, 2);
    EXPECT_DOUBLE_EQ(balance(QStringLiteral("花呗")), -8);
    // An income without a method went to the Alipay balance.
    EXPECT_DOUBLE_EQ(balance(QStringLiteral("余额")), 50);
    // The book has no category the app's 餐饮美食 suggests, nor a default one.
    EXPECT_EQ(f.db()
                  .query(QStringLiteral("SELECT OName, Remark FROM OutTable WHERE BName=?"),
                         QStringLiteral("我家"))
                  .text(QStringLiteral("OName")),
              QStringLiteral("其他"));
}

TEST_F(BillImportTest, BooksTickedRowsOnceWithTheirJournalRows) {
    const QString path = write("wechat.csv", weChatCsv(kWeChatRows).toUtf8());
    const qint64 before = cw::test::lastJournalId(f.db());
    int booked = 0;
    BillImport::Counts c = import(path, &booked);
    EXPECT_EQ(booked, 2);
    EXPECT_EQ(c.added, 2);
    EXPECT_EQ(c.skipped, 2);
    EXPECT_EQ(f.count("OutTable"), 1);
    EXPECT_EQ(f.count("InTable"), 1);
    // Both landed in 零钱: the purchase paid from it, the income with "/" received into it.
    EXPECT_DOUBLE_EQ(balance(QStringLiteral("零钱")), 1222);
    EXPECT_EQ(f.db()
                  .query(QStringLiteral("SELECT IName, Remark, FName FROM InTable"))
                  .text(QStringLiteral("Remark")),
              QStringLiteral("张三"));
    const auto journal = cw::test::journalAfter(f.db(), before);
    ASSERT_EQ(journal.size(), 2u);
    for (const auto& j : journal) EXPECT_EQ(j.theE, QStringLiteral("导入"));

    // The same bill again, and the xlsx form of it: nothing more is booked.
    const qint64 after = cw::test::lastJournalId(f.db());
    c = import(path, &booked);
    EXPECT_EQ(booked, 0);
    EXPECT_EQ(c.added, 0);
    EXPECT_EQ(c.imported, 2);
    EXPECT_EQ(c.skipped, 2);
    c = import(weChatXlsx(kWeChatRows));
    EXPECT_EQ(c.imported, 2);
    EXPECT_EQ(cw::test::lastJournalId(f.db()), after);
    EXPECT_DOUBLE_EQ(balance(QStringLiteral("零钱")), 1222);
}

TEST_F(BillImportTest, MappingsAreRememberedPerBookAndProposed) {
    {
        BillImport bills(f.dm());
        bills.remember(BillImport::MapKind::Account, QStringLiteral("零钱"),
                       QStringLiteral("微信钱包"));
        bills.remember(BillImport::MapKind::Expense, QStringLiteral("便利店"),
                       QStringLiteral("零食"));
        bills.remember(BillImport::MapKind::Expense, QStringLiteral("便利店"),
                       QStringLiteral("饮品"));
    }
    f.reopen();
    f.openBook(QStringLiteral("我家"));
    BillImport bills(f.dm());
    const auto rows =
        bills.plan(BillReader::read(write("wechat.csv", weChatCsv(kWeChatRows).toUtf8())));
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].posting.account, QStringLiteral("微信钱包"));
    EXPECT_EQ(rows[0].posting.name, QStringLiteral("饮品"));
    EXPECT_EQ(rows[0].posting.remark, QStringLiteral("便利店 饮料"));
    EXPECT_EQ(rows[0].posting.member, QStringLiteral("爸爸"));
    EXPECT_EQ(rows[1].posting.account, QStringLiteral("微信钱包"));
    // No mapping for an income from 张三, and WeChat's 转账 is no category of the book.
    EXPECT_EQ(rows[1].posting.name, QStringLiteral("其他"));
    EXPECT_EQ(rows[3].posting.account, QStringLiteral("招商银行储蓄卡(1234)"));
    EXPECT_FALSE(rows[2].ticked);
    EXPECT_FALSE(rows[3].ticked);
}

TEST_F(BillImportTest, RefusesForeignFilesAndMalformedRowsBookingNothing) {
    try {
        BillReader::read(write("other.csv", QByteArray("日期,金额\n2026-11-01,3\n")));
        ADD_FAILURE() << "a foreign file was read";
    } catch (const SheetError& e) {
        EXPECT_TRUE(e.message().startsWith(
            QStringLiteral("不是微信支付或支付宝账单！微信支付账单的表头应为交易时间、交易类型、")))
            << e.message().toStdString();
        EXPECT_TRUE(e.message().contains(QStringLiteral("支付宝账单的表头应为交易时间、交易分类")));
    }
    std::vector<QStringList> bad = kWeChatRows;
    bad[2][5] = QStringLiteral("¥一百");
    try {
        import(write("bad.csv", weChatCsv(bad).toUtf8()));
        ADD_FAILURE() << "a malformed row was read";
    } catch (const SheetError& e) {
        EXPECT_EQ(e.message(),
                  QStringLiteral("第 21 行 金额(元) 不是有效的金额！没有导入任何数据。"));
    }
    bad = kWeChatRows;
    bad[1][0] = QStringLiteral("昨天");
    EXPECT_THROW(BillReader::read(weChatXlsx(bad)), SheetError);
    EXPECT_EQ(f.count("OutTable") + f.count("InTable"), 0);
}

TEST_F(BillImportTest, CliImportsThenFindsEverythingImported) {
    const QString path = write("wechat.csv", weChatCsv(kWeChatRows).toUtf8());
    f.reopen();
    const QStringList book{"--home", f.programDir(), "--book", "我家"};
    cw::test::CliRun r = cw::test::runCli(book + QStringList{"bill", path, "dry-run"});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.count(QStringLiteral("\n新增\t")), 2);
    r = cw::test::runCli(book + QStringList{"bill", path, "member=妈妈"});
    EXPECT_EQ(r.out, QStringLiteral("新增\t2\n已导入\t0\n跳过\t2\n"));
    r = cw::test::runCli(book + QStringList{"bill", path});
    EXPECT_EQ(r.out, QStringLiteral("新增\t0\n已导入\t2\n跳过\t2\n"));
    r = cw::test::runCli(book + QStringList{"bill", write("x.csv", "a,b\n")});
    EXPECT_EQ(r.code, 3);
    r = cw::test::runCli(book + QStringList{"bill", path, "now"});
    EXPECT_EQ(r.code, 2);
    f.reopen();
    EXPECT_EQ(f.count("OutTable") + f.count("InTable"), 2);
    EXPECT_EQ(f.db().query(QStringLiteral("SELECT FName FROM OutTable")).firstColumn(),
              QStringList{QStringLiteral("妈妈")});
}

TEST_F(BillImportTest, AnOlderDataFileGetsTheBillTables) {
    f.db().execScript(QStringLiteral("DROP TABLE SBillDone; DROP TABLE SBillMap;"));
    cw::DataFile::upgrade(f.db());
    EXPECT_TRUE(f.db().hasColumn(QStringLiteral("SBillDone"), QStringLiteral("theNo")));
    EXPECT_TRUE(f.db().hasColumn(QStringLiteral("SBillMap"), QStringLiteral("theName")));
    EXPECT_EQ(import(write("wechat.csv", weChatCsv(kWeChatRows).toUtf8())).added, 2);
}

TEST_F(BillImportTest, TheBillIsTheFirstSheetWhateverItIsCalled) {
    const QString path = weChatXlsx(kWeChatRows);
    // Rename the sheet inside the package, as the app names it.
    int error = 0;
    zip_t* zip = zip_open(path.toLocal8Bit().constData(), 0, &error);
    ASSERT_NE(zip, nullptr);
    zip_stat_t st;
    ASSERT_EQ(zip_stat(zip, "xl/workbook.xml", 0, &st), 0);
    QByteArray xml(int(st.size), '\0');
    zip_file_t* in = zip_fopen(zip, "xl/workbook.xml", 0);
    ASSERT_EQ(zip_fread(in, xml.data(), st.size), zip_int64_t(st.size));
    zip_fclose(in);
    ASSERT_TRUE(xml.contains("name=\"Sheet1\""));
    xml.replace("name=\"Sheet1\"", QStringLiteral("name=\"微信支付账单明细\"").toUtf8());
    zip_source_t* src = zip_source_buffer(zip, xml.constData(), zip_uint64_t(xml.size()), 0);
    ASSERT_GE(zip_file_add(zip, "xl/workbook.xml", src, ZIP_FL_OVERWRITE), 0);
    ASSERT_EQ(zip_close(zip), 0);

    const Bill b = BillReader::read(path);
    ASSERT_EQ(b.rows.size(), 4u);
    EXPECT_EQ(b.rows[1].counterparty, QStringLiteral("张三"));
    // The spreadsheet import still asks for its Sheet1 by name.
    EXPECT_THROW(cw::SpreadsheetReader::read(path), SheetError);
}

TEST_F(BillImportTest, PicksAreCheckedThenBookedAndRememberedTogether) {
    const QString path = write("wechat.csv", weChatCsv(kWeChatRows).toUtf8());
    BillImport bills(f.dm());
    auto rows = bills.plan(BillReader::read(path));
    ASSERT_EQ(rows.size(), 4u);
    // The red packet ticked without a kind: named by its line, nothing booked, nothing kept.
    rows[2].ticked = true;
    rows[0].posting.account = QStringLiteral("微信钱包");
    rows[0].accountPick = 1;
    try {
        bills.book(rows);
        ADD_FAILURE() << "a neutral row was booked";
    } catch (const cw::PostingRules::Refused& e) {
        EXPECT_EQ(e.message(), QStringLiteral("第 21 行 收/支 不计收支，请先选择收入或支出！"
                                              "没有导入任何数据。"));
    }
    EXPECT_EQ(f.count("OutTable") + f.count("InTable") + f.count("SBillDone"), 0);
    EXPECT_EQ(f.count("SBillMap"), 0);

    rows[2].kind = BillRow::Direction::Out;
    rows[1].posting.member = QString();
    EXPECT_EQ(BillImport::check(rows[1]), QStringLiteral("第 20 行 家庭成员 不能为空！"));
    rows[1].posting.member = QStringLiteral("爸爸");
    rows[1].posting.date = QStringLiteral("2026/11/5");
    rows[0].posting.name = QStringLiteral("饮品");
    rows[0].categoryPick = 2;
    EXPECT_EQ(bills.book(rows), 3);
    EXPECT_DOUBLE_EQ(balance(QStringLiteral("微信钱包")), -12.5);
    EXPECT_DOUBLE_EQ(balance(QStringLiteral("零钱")), 1234.5 - 100);
    EXPECT_EQ(f.db().query(QStringLiteral("SELECT IDate FROM InTable")).firstColumn(),
              QStringList{QStringLiteral("2026-11-05")});
    EXPECT_EQ(f.count("SBillDone"), 3);

    // Next time: 零钱 is proposed as 微信钱包, 便利店 as 饮品; the red packet is 已导入.
    BillImport next(f.dm());
    const auto again = next.plan(BillReader::read(path));
    EXPECT_EQ(again[2].state, BillImport::State::Imported);
    std::vector<QStringList> more = kWeChatRows;
    more[0][8] = QStringLiteral("4300001");
    const auto fresh = next.plan(BillReader::read(write("next.csv", weChatCsv(more).toUtf8())));
    EXPECT_EQ(fresh[0].state, BillImport::State::New);
    EXPECT_EQ(fresh[0].posting.account, QStringLiteral("微信钱包"));
    EXPECT_EQ(fresh[0].posting.name, QStringLiteral("饮品"));
    // An income from 便利店 would not take the expense pick.
    EXPECT_EQ(next.proposeCategory(fresh[0].row, BillRow::Direction::In), QStringLiteral("其他"));
}

TEST_F(BillImportTest, RowsBookedElsewhereSinceTheBillWasOpenedAreNotBookedAgain) {
    const QString path = write("wechat.csv", weChatCsv(kWeChatRows).toUtf8());
    BillImport window(f.dm());
    const auto opened = window.plan(BillReader::read(path));
    // Meanwhile a script books the same bill.
    EXPECT_EQ(import(path).added, 2);
    try {
        window.book(opened);
        ADD_FAILURE() << "a row was booked twice";
    } catch (const cw::PostingRules::Refused& e) {
        EXPECT_EQ(e.message(),
                  QStringLiteral("第 19 行 已导入，请重新打开账单！没有导入任何数据。"));
    }
    EXPECT_EQ(f.count("OutTable") + f.count("InTable"), 2);
    EXPECT_DOUBLE_EQ(balance(QStringLiteral("零钱")), 1222);
}

TEST_F(BillImportTest, APartlyRefundedPurchaseIsBookedForWhatWasKept) {
    std::vector<QStringList> rows = kWeChatRows;
    rows[3][7] = QStringLiteral("已退款(￥5.50)");  // of ¥30.00
    rows.push_back(rows[3]);
    rows.back()[7] = QStringLiteral("已退款（¥30.00）");
    rows.back()[8] = QStringLiteral("4200005");
    BillImport bills(f.dm());
    const auto planned = bills.plan(BillReader::read(weChatXlsx(rows)));
    ASSERT_EQ(planned.size(), 5u);
    EXPECT_TRUE(planned[3].ticked);
    EXPECT_DOUBLE_EQ(planned[3].row.refunded, 5.5);
    EXPECT_FALSE(planned[4].ticked);  // refunded whole
    EXPECT_EQ(bills.book(planned), 3);
    EXPECT_DOUBLE_EQ(balance(QStringLiteral("招商银行储蓄卡(1234)")), -24.5);
}

TEST_F(BillImportTest, EachOwnersBillsKeepTheirOwnAccountsAndMember) {
    f.db().exec(QStringLiteral("INSERT INTO SFamily(BName, FName) VALUES(?,?)"),
                QStringLiteral("我家"), QStringLiteral("妈妈"));
    // The same month of two people's bills, told apart by the nickname in the preamble.
    const auto bill = [this](const QString& owner, const QString& numbers) {
        std::vector<QStringList> rows = kWeChatRows;
        for (QStringList& r : rows) r[8] = numbers + r[8];
        QString text = weChatCsv(rows);
        text.replace(QStringLiteral("[小王]"), QLatin1Char('[') + owner + QLatin1Char(']'));
        return BillReader::read(write("bill.csv", text.toUtf8()));
    };
    EXPECT_EQ(bill(QStringLiteral("小王"), QString()).owner, QStringLiteral("小王"));
    QStringEncoder gbk("GB18030");
    EXPECT_EQ(BillReader::read(write("alipay.csv", gbk.encode(alipayCsv()))).owner,
              QStringLiteral("xiaowang@example.com"));

    {
        BillImport bills(f.dm());
        auto rows = bills.plan(bill(QStringLiteral("小王"), QStringLiteral("A")));
        rows[0].posting.account = QStringLiteral("小王零钱");
        rows[0].accountPick = 1;
        rows[0].posting.member = QStringLiteral("妈妈");
        rows[0].memberPick = 2;
        EXPECT_EQ(bills.book(rows), 2);
    }
    {
        // Someone new starts from the picks made before, but not from 小王's member.
        BillImport bills(f.dm());
        auto rows = bills.plan(bill(QStringLiteral("小李"), QStringLiteral("B")));
        EXPECT_EQ(rows[0].posting.account, QStringLiteral("小王零钱"));
        EXPECT_EQ(rows[0].posting.member, QStringLiteral("爸爸"));
        rows[0].posting.account = QStringLiteral("小李零钱");
        rows[0].accountPick = 1;
        EXPECT_EQ(bills.book(rows), 2);
    }
    BillImport bills(f.dm());
    const auto wang = bills.plan(bill(QStringLiteral("小王"), QStringLiteral("C")));
    EXPECT_EQ(wang[0].posting.account, QStringLiteral("小王零钱"));
    EXPECT_EQ(wang[1].posting.account, QStringLiteral("小王零钱"));  // "/" is 零钱 too
    EXPECT_EQ(wang[0].posting.member, QStringLiteral("妈妈"));
    const auto li = bills.plan(bill(QStringLiteral("小李"), QStringLiteral("D")));
    EXPECT_EQ(li[0].posting.account, QStringLiteral("小李零钱"));
    EXPECT_EQ(li[0].posting.member, QStringLiteral("爸爸"));
    // 小李's income stayed where it was proposed (the dialog would have carried the pick to it).
    EXPECT_DOUBLE_EQ(balance(QStringLiteral("小王零钱")), -12.5 + 1234.5);
    EXPECT_DOUBLE_EQ(balance(QStringLiteral("小李零钱")), -12.5);
}

}  // namespace
