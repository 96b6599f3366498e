// What a household's bills book: every transaction once, refunds netted, wallet moves as
// transfers, accounts of the right type, the book's own categories.
#include <gtest/gtest.h>

#include <QFile>
#include <QStringEncoder>

#include "bookkeeping/BookkeepingFixture.h"
#include "import/bills/BillImport.h"
#include "reports/Workbook.h"
#include "reports/XlsxWriter.h"
#include "support/CliRun.h"

namespace {

using cw::BillImport;
using cw::BillReader;
using cw::BillRow;
using Planned = BillImport::Planned;
using State = BillImport::State;

const QString kBook = QStringLiteral("我家");

const QStringList kWeChatHeader{"交易时间", "交易类型", "交易对方", "商品",     "收/支", "金额(元)",
                                "支付方式", "当前状态", "交易单号", "商户单号", "备注"};
const QStringList kAlipayHeader{"交易时间", "交易分类",   "交易对方",   "对方账号",
                                "商品说明", "收/支",      "金额",       "收/付款方式",
                                "交易状态", "交易订单号", "商家订单号", "备注"};

// A month of a WeChat wallet, read by hand: income 88.00; expenses 30 + 18 (two rows under
// one number), 24.50 (30 less a refund of 5.50 already shown) and a 0.10 withdrawal fee;
// the 299 purchase refunded whole, the closed order and the 0.00 row move nothing.
// 零钱 +500 −30 −18 −24.50 −100 −200 +88 = 215.50; the card −500 +99.90 −1,252 = −1,652.10.
const std::vector<QStringList> kWeChat{
    {"2026-11-01 08:00:00", "零钱充值", "招商银行(1234)", "/", "/", "¥500.00", "招商银行(1234)",
     "充值完成", "W01", "/", "/"},
    {"2026-11-02 12:00:00", "商户消费", "美团外卖", "午餐", "支出", "¥30.00", "零钱", "支付成功",
     "W02", "M02", "/"},
    {"2026-11-02 12:00:05", "商户消费", "美团外卖", "饮料", "支出", "¥18.00", "零钱", "支付成功",
     "W02", "M03", "/"},
    {"2026-11-03 09:00:00", "扫二维码付款", "菜市场", "/", "支出", "¥0.00", "零钱", "支付成功", "",
     "/", "/"},
    {"2026-11-04 10:00:00", "商户消费", "饭店", "晚餐", "支出", "¥30.00", "零钱", "已退款(￥5.50)",
     "W05", "M05", "/"},
    {"2026-11-05 10:00:00", "商户消费-退款", "饭店", "晚餐", "收入", "¥5.50", "零钱", "已退款",
     "W06", "M05", "/"},
    {"2026-11-06 10:00:00", "商户消费", "服装店", "外套", "支出", "¥299.00", "零钱", "已全额退款",
     "W07", "M07", "/"},
    {"2026-11-07 10:00:00", "商户消费-退款", "服装店", "外套", "收入", "¥299.00", "零钱",
     "已全额退款", "W08", "M07", "/"},
    {"2026-11-08 10:00:00", "商户消费", "奶茶店", "/", "支出", "¥9.90", "零钱", "已关闭", "W09",
     "/", "/"},
    {"2026-11-09 10:00:00", "零钱提现", "招商银行(1234)", "/", "/", "¥100.00", "零钱", "提现已到账",
     "W10", "/", "服务费¥0.10"},
    {"2026-11-10 10:00:00", "转入零钱通-来自零钱", "/", "/", "/", "¥200.00", "零钱", "支付成功",
     "W11", "/", "/"},
    {"2026-11-11 10:00:00", "转账", "张三", "/", "收入", "¥88.00", "/", "已收钱", "", "/", "/"},
    {"2026-11-12 10:00:00", "信用卡还款", "建设银行信用卡(5678)", "/", "/", "¥1,252.00",
     "招商银行(1234)", "支付成功", "W13", "/", "/"},
};

// An Alipay month, read by hand: income 50; expenses 8 (花呗), 60 (100 less a refund of 40)
// and a refund of 12 for a purchase of an earlier month; the 299 purchase and its refund
// cancel, the closed order moves nothing. One wallet, however it is written:
// 余额 −60 +50 −8 −20 +12 −100 = −126; 花呗 −8 +8 = 0; 余额宝 +20; the fund +100.
const std::vector<QStringList> kAlipay{
    {"2026-11-01 08:00:00", "餐饮美食", "早餐店", "", "包子", "支出", "8.00", "花呗", "交易成功",
     "A01", "", ""},
    {"2026-11-02 10:00:00", "日用百货", "超市", "", "纸巾", "支出", "299.00", "余额", "交易成功",
     "A02", "S02", ""},
    {"2026-11-03 10:00:00", "退款", "超市", "", "退款-纸巾", "收入", "299.00", "余额", "交易成功",
     "A02_R1", "S02", ""},
    {"2026-11-04 10:00:00", "服饰装扮", "服装店", "", "T恤", "支出", "100.00", "账户余额",
     "交易成功", "A04", "", ""},
    {"2026-11-05 10:00:00", "退款", "服装店", "", "退款-T恤", "不计收支", "40.00", "账户余额",
     "退款成功", "A04_R1", "", ""},
    {"2026-11-06 10:00:00", "收入", "李四", "", "转账", "收入", "50.00", "", "交易成功", "A06", "",
     ""},
    {"2026-11-07 10:00:00", "信用借还", "花呗", "", "花呗主动还款", "不计收支", "8.00", "余额",
     "交易成功", "A07", "", ""},
    {"2026-11-08 10:00:00", "投资理财", "余额宝", "", "转入余额宝", "不计收支", "20.00", "余额",
     "交易成功", "A08", "", ""},
    {"2026-11-09 10:00:00", "日用百货", "便利店", "", "饮料", "支出", "5.00", "余额", "交易关闭",
     "A09", "", ""},
    {"2026-11-10 10:00:00", "退款", "饭店", "", "退款-晚餐", "不计收支", "12.00", "余额",
     "退款成功", "A10_R1", "", ""},
    {"2026-11-11 10:00:00", "投资理财", "蚂蚁财富", "", "买入基金", "不计收支", "100.00", "余额",
     "交易成功", "A11", "", ""},
};

QString csvLine(const QStringList& cells) {
    QStringList out;
    for (const QString& c : cells)
        out << (c.contains(QLatin1Char(',')) ? QLatin1Char('"') + c + QLatin1Char('"') : c);
    return out.join(QLatin1Char(',')) + QStringLiteral("\r\n");
}

class BillBookingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        f.addBook(kBook);
        member(QStringLiteral("爸爸"));
        for (const char* c : {"外出就餐", "日常用品", "衣服", "其他支出"}) category("OutD", c);
        category("InD", "其他收入");
    }

    void member(const QString& name) {
        f.db().exec(QStringLiteral("INSERT INTO SFamily(BName, FName) VALUES(?,?)"), f.dm().book(),
                    name);
    }
    void category(const char* table, const char* name) {
        const QString column = QLatin1String(table) == QLatin1String("OutD") ? "OName" : "IName";
        f.db().exec(QStringLiteral("INSERT INTO %1(BName, %2, theState) VALUES(?,?,'启用')")
                        .arg(QLatin1String(table), column),
                    f.dm().book(), QString::fromUtf8(name));
    }

    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = f.programDir() + QLatin1Char('/') + name;
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    QString weChatCsv(const std::vector<QStringList>& rows) {
        QString text =
            QChar(0xFEFF) + QStringLiteral("微信支付账单明细,,,\r\n微信昵称：[小王],,,\r\n");
        text += csvLine(kWeChatHeader);
        for (const QStringList& r : rows) text += csvLine(r);
        return write(QStringLiteral("wechat.csv"), text.toUtf8());
    }
    QString weChatXlsx(const std::vector<QStringList>& rows) {
        cw::Workbook book;
        book.setValue(1, 1, QStringLiteral("微信支付账单明细"));
        std::vector<QStringList> all{kWeChatHeader};
        all.insert(all.end(), rows.begin(), rows.end());
        for (size_t r = 0; r < all.size(); ++r)
            for (int c = 0; c < all[r].size(); ++c) book.setValue(int(r) + 2, c + 1, all[r][c]);
        const QString path = f.programDir() + QStringLiteral("/wechat.xlsx");
        cw::XlsxWriter writer;
        EXPECT_TRUE(writer.write(book, path));
        return path;
    }
    QString alipayCsv(const std::vector<QStringList>& rows) {
        QString text = QStringLiteral("支付宝交易明细\r\n账号：[xiaowang@example.com]\r\n");
        text += csvLine(kAlipayHeader);
        for (const QStringList& r : rows) text += csvLine(r);
        text += QStringLiteral("------------------------------------\r\n");
        QStringEncoder gbk("GB18030");
        return write(QStringLiteral("alipay.csv"), gbk.encode(text));
    }

    std::vector<Planned> plan(const QString& path) {
        BillImport bills(f.dm());
        return bills.plan(BillReader::read(path));
    }
    // Plans the bill, ticks what `tick` says (all transfers when not given) and books it.
    BillImport::Counts import(const QString& path, bool transfers = true) {
        BillImport bills(f.dm());
        auto rows = bills.plan(BillReader::read(path));
        for (Planned& p : rows)
            if (transfers && p.kind == BillRow::Direction::Transfer && !p.fixed()) p.ticked = true;
        bills.book(rows);
        return BillImport::count(rows);
    }

    double balance(const QString& account) {
        return f.db()
            .query(QStringLiteral("SELECT AMoney FROM SAccount WHERE BName=? AND AName=?"),
                   f.dm().book(), account)
            .number(QStringLiteral("AMoney"));
    }
    QString type(const QString& account) {
        return f.db()
            .query(QStringLiteral("SELECT theType FROM SAccount WHERE BName=? AND AName=?"),
                   f.dm().book(), account)
            .text(QStringLiteral("theType"));
    }
    double sum(const char* sql) {
        return f.db().query(QString::fromUtf8(sql), f.dm().book()).number(QStringLiteral("s"));
    }
    double incomeLessExpense() {
        return sum("SELECT round(coalesce(sum(IMoney),0),2) AS s FROM InTable WHERE BName=?") -
               sum("SELECT round(coalesce(sum(OMoney),0),2) AS s FROM OutTable WHERE BName=?");
    }

    cw::test::TempDataFile f;
};

TEST_F(BillBookingTest, AWeChatMonthBooksWhatACarefulReadingGives) {
    const auto rows = plan(weChatCsv(kWeChat));
    std::vector<State> states;
    std::vector<bool> ticks;
    for (const Planned& p : rows) {
        states.push_back(p.state);
        ticks.push_back(p.ticked);
    }
    using S = State;
    EXPECT_EQ(states, (std::vector<S>{S::New, S::New, S::New, S::Skipped, S::New, S::Void, S::Void,
                                      S::Void, S::Void, S::New, S::New, S::New, S::New}));
    // Transfers are proposed, not ticked; so is the 0.00 row.
    EXPECT_EQ(ticks, (std::vector<bool>{false, true, true, false, true, false, false, false, false,
                                        false, false, true, false}));
    EXPECT_EQ(rows[0].kind, BillRow::Direction::Transfer);
    EXPECT_EQ(rows[0].posting.account, QStringLiteral("招商银行(1234)"));
    EXPECT_EQ(rows[0].posting.target, QStringLiteral("零钱"));
    EXPECT_EQ(rows[9].posting.target, QStringLiteral("招商银行(1234)"));
    EXPECT_EQ(rows[9].posting.amount, QStringLiteral("99.9"));
    EXPECT_EQ(rows[10].posting.target, QStringLiteral("零钱通"));
    EXPECT_EQ(rows[12].posting.target, QStringLiteral("建设银行信用卡(5678)"));

    import(weChatCsv(kWeChat));
    EXPECT_DOUBLE_EQ(incomeLessExpense(), 88 - 30 - 18 - 24.5 - 0.1);
    EXPECT_DOUBLE_EQ(balance(QStringLiteral("零钱")), 215.5);
    EXPECT_DOUBLE_EQ(balance(QStringLiteral("招商银行(1234)")), -1652.1);
    EXPECT_DOUBLE_EQ(balance(QStringLiteral("零钱通")), 200);
    EXPECT_DOUBLE_EQ(balance(QStringLiteral("建设银行信用卡(5678)")), 1252);
    EXPECT_EQ(f.count("ChangeT"), 4);
    EXPECT_EQ(f.db()
                  .query(QStringLiteral("SELECT OName, AName FROM OutTable WHERE OMoney=0.1"))
                  .text(QStringLiteral("OName")),
              QStringLiteral("手续费"));
    EXPECT_EQ(type(QStringLiteral("零钱")), QStringLiteral("电子账户"));
    EXPECT_EQ(type(QStringLiteral("零钱通")), QStringLiteral("电子账户"));
    EXPECT_EQ(type(QStringLiteral("招商银行(1234)")), QStringLiteral("银行卡"));
    EXPECT_EQ(type(QStringLiteral("建设银行信用卡(5678)")), QStringLiteral("信用卡"));
}

TEST_F(BillBookingTest, AnAlipayMonthNetsRefundsIntoOneWallet) {
    const auto rows = plan(alipayCsv(kAlipay));
    // The whole refund cancels its purchase; the partial one lowers it; neither is income.
    EXPECT_EQ(rows[1].state, State::Void);
    EXPECT_EQ(rows[2].state, State::Void);
    EXPECT_EQ(rows[3].posting.amount, QStringLiteral("60"));
    EXPECT_EQ(rows[4].state, State::Void);
    EXPECT_FALSE(rows[8].ticked);
    // A refund of an earlier month's purchase lowers that category and account.
    EXPECT_EQ(rows[9].kind, BillRow::Direction::Out);
    EXPECT_EQ(rows[9].posting.amount, QStringLiteral("-12"));
    EXPECT_EQ(rows[9].posting.name, QStringLiteral("外出就餐"));
    EXPECT_TRUE(rows[9].ticked);

    import(alipayCsv(kAlipay));
    EXPECT_DOUBLE_EQ(incomeLessExpense(), 50 - 8 - 60 + 12);
    EXPECT_EQ(f.count("InTable"), 1);
    EXPECT_DOUBLE_EQ(balance(QStringLiteral("余额")), -126);
    EXPECT_DOUBLE_EQ(balance(QStringLiteral("蚂蚁财富")), 100);
    EXPECT_DOUBLE_EQ(balance(QStringLiteral("花呗")), 0);
    EXPECT_DOUBLE_EQ(balance(QStringLiteral("余额宝")), 20);
    EXPECT_EQ(f.count("SAccount"), 4);
    EXPECT_EQ(type(QStringLiteral("蚂蚁财富")), QStringLiteral("其它"));
    EXPECT_EQ(type(QStringLiteral("花呗")), QStringLiteral("信用卡"));
    EXPECT_EQ(type(QStringLiteral("余额")), QStringLiteral("电子账户"));
}

TEST_F(BillBookingTest, EachTransactionOnceWhateverItsNumberAndTheFileForm) {
    const std::vector<QStringList> some(kWeChat.begin() + 1, kWeChat.begin() + 4);
    std::vector<QStringList> bill = some;
    bill.push_back(kWeChat[11]);
    // .csv then .xlsx in one book, .xlsx then .csv in another: three rows, one has no number.
    EXPECT_EQ(import(weChatCsv(bill)).added, 3);
    BillImport::Counts c = import(weChatXlsx(bill));
    EXPECT_EQ(c.added, 0);
    EXPECT_EQ(c.imported, 3);
    f.addBook(QStringLiteral("他家"));
    member(QStringLiteral("爸爸"));
    EXPECT_EQ(import(weChatXlsx(bill)).added, 3);
    EXPECT_EQ(import(weChatCsv(bill)).imported, 3);
    EXPECT_DOUBLE_EQ(incomeLessExpense(), 88 - 48);

    // A book that imported with bare numbers: the first row of W02 that moved money was the
    // one booked; the other is new.
    f.openBook(kBook);
    f.db().exec(QStringLiteral("DELETE FROM SBillDone"));
    f.db().exec(QStringLiteral("INSERT INTO SBillDone(BName, theNo) VALUES(?,'W02')"), kBook);
    const auto rows = plan(weChatCsv(bill));
    EXPECT_EQ(rows[0].state, State::Imported);
    EXPECT_EQ(rows[1].state, State::New);
    EXPECT_EQ(rows[3].state, State::New);
}

TEST_F(BillBookingTest, CategoriesAndMemberAreTheBooksOwn) {
    member(QStringLiteral("妈妈"));
    f.db().exec(QStringLiteral("UPDATE SMRX SET FName='妈妈', OName='其他支出' WHERE BName=?"),
                kBook);
    auto rows = plan(weChatCsv(kWeChat));
    EXPECT_EQ(rows[1].posting.name, QStringLiteral("外出就餐"));  // 商户消费 at 美团外卖
    EXPECT_EQ(rows[3].posting.name, QStringLiteral("其他支出"));  // 扫二维码付款 at 菜市场
    EXPECT_EQ(rows[11].posting.name, QStringLiteral("其他收入"));  // 转账 from 张三
    EXPECT_EQ(rows[1].posting.member, QStringLiteral("妈妈"));
    {
        BillImport bills(f.dm());
        bills.remember(BillImport::MapKind::Expense, QStringLiteral("美团外卖"),
                       QStringLiteral("外卖"));
    }
    EXPECT_EQ(plan(weChatCsv(kWeChat))[1].posting.name, QStringLiteral("外卖"));
    // A merchant paid is an expense whatever its words; an Alipay purchase refunded later
    // (支出, 退款成功) moved nothing and is no refund.
    std::vector<QStringList> topUp{kWeChat[1]};
    topUp[0][3] = QStringLiteral("话费充值");
    EXPECT_EQ(plan(weChatCsv(topUp))[0].kind, BillRow::Direction::Out);
    std::vector<QStringList> refunded{kAlipay[1]};
    refunded[0][8] = QStringLiteral("退款成功");
    EXPECT_EQ(plan(alipayCsv(refunded))[0].state, State::Void);
    const auto alipay = plan(alipayCsv(kAlipay));
    EXPECT_EQ(alipay[0].posting.name, QStringLiteral("外出就餐"));  // 餐饮美食
    EXPECT_EQ(alipay[3].posting.name, QStringLiteral("衣服"));      // 服饰装扮
}

TEST_F(BillBookingTest, ZeroRowsStrictAmountsAndCleanTexts) {
    BillImport bills(f.dm());
    auto rows = bills.plan(BillReader::read(weChatCsv(kWeChat)));
    rows[3].ticked = true;
    try {
        bills.book(rows);
        ADD_FAILURE() << "a 0.00 row was booked";
    } catch (const cw::PostingRules::Refused& e) {
        EXPECT_EQ(e.message(), QStringLiteral("第 7 行 金额 必须大于 0！没有导入任何数据。"));
    }
    double v = 0;
    EXPECT_FALSE(BillReader::parseAmount(QStringLiteral("¥1.234,50"), &v));
    EXPECT_FALSE(BillReader::parseAmount(QStringLiteral("1,23.5"), &v));
    EXPECT_FALSE(BillReader::parseAmount(QStringLiteral("1.234"), &v));
    EXPECT_TRUE(BillReader::parseAmount(QStringLiteral("¥12,345.6"), &v));
    EXPECT_DOUBLE_EQ(v, 12345.6);

    std::vector<QStringList> dirty{kWeChat[1]};
    dirty[0][2] = QStringLiteral("美团\x01外卖");
    dirty[0][3] = QStringLiteral("午\u0085餐");
    const auto clean = bills.plan(BillReader::read(weChatCsv(dirty)));
    EXPECT_EQ(clean[0].posting.remark, QStringLiteral("美团外卖 午餐"));
}

TEST_F(BillBookingTest, DryRunListsEveryRowForReview) {
    const std::vector<QStringList> bill{kWeChat[0], kWeChat[1], kWeChat[8], kWeChat[11]};
    const QString path = weChatCsv(bill);
    f.reopen();
    const cw::test::CliRun r =
        cw::test::runCli({"--home", f.programDir(), "--book", kBook, "bill", path, "dry-run"});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(
        r.out,
        QStringLiteral("状态\t日期\t收/支\t金额\t账户\t类别\t备注\t原因\n"
                       "跳过\t2026-11-01\t转账\t500\t招商银行(1234)→零钱\t\t招商银行(1234)\t转账\n"
                       "新增\t2026-11-02\t支出\t30\t零钱\t外出就餐\t美团外卖 午餐\t\n"
                       "跳过\t2026-11-08\t支出\t9.9\t零钱\t外出就餐\t奶茶店\t已关闭\n"
                       "新增\t2026-11-11\t收入\t88\t零钱\t其他收入\t张三\t\n"));
    EXPECT_EQ(f.count("OutTable") + f.count("InTable") + f.count("SBillDone"), 0);
    // One word books the wallet moves too.
    EXPECT_EQ(
        cw::test::runCli({"--home", f.programDir(), "--book", kBook, "bill", path, "transfers"})
            .out,
        QStringLiteral("新增\t3\n已导入\t0\n跳过\t1\n"));
    f.reopen();
    f.openBook(kBook);
    EXPECT_DOUBLE_EQ(balance(QStringLiteral("零钱")), 500 - 30 + 88);
}

}  // namespace
