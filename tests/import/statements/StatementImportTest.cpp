#include <gtest/gtest.h>

#include <QFile>
#include <QStringEncoder>

#include "bookkeeping/BookkeepingFixture.h"
#include "import/bills/BillImport.h"
#include "import/statements/StatementFile.h"
#include "support/CliRun.h"

namespace {

using cw::Bill;
using cw::BillImport;
using cw::BillRow;
using Direction = BillRow::Direction;

BillRow row(int n, const char* day, Direction d, double amount, const char* counterparty,
            const char* summary = "", double balance = -1) {
    BillRow r;
    r.rowNumber = n;
    r.day = QString::fromUtf8(day);
    r.time = r.day;
    r.direction = d;
    r.amount = amount;
    r.counterparty = QString::fromUtf8(counterparty);
    r.type = QString::fromUtf8(summary);
    r.goods = r.type;
    if (balance >= 0) {
        r.hasBalance = true;
        r.balance = balance;
    }
    return r;
}

Bill statement(const char* account, std::vector<BillRow> rows) {
    Bill b;
    b.source = Bill::Source::Statement;
    b.account = QString::fromUtf8(account);
    b.rows = std::move(rows);
    return b;
}

class StatementImportTest : public ::testing::Test {
  protected:
    void SetUp() override {
        f.addBook(QStringLiteral("我家"));
        f.db().exec(QStringLiteral("INSERT INTO SFamily(BName, FName) VALUES(?,?)"),
                    QStringLiteral("我家"), QStringLiteral("爸爸"));
        cw::test::openAccount(f, QStringLiteral("招行卡"), 1000);
        cw::test::openAccount(f, QStringLiteral("储蓄卡"), 200);
    }

    double balance(const char* account) {
        return f.db()
            .query(QStringLiteral("SELECT AMoney FROM SAccount WHERE BName=? AND AName=?"),
                   QStringLiteral("我家"), QString::fromUtf8(account))
            .number(QStringLiteral("AMoney"));
    }

    std::vector<BillImport::Planned> plan(const Bill& b) { return BillImport(f.dm()).plan(b); }
    BillImport::Counts book(const Bill& b) {
        BillImport import(f.dm());
        const auto rows = import.plan(b);
        import.book(rows);
        return BillImport::count(rows);
    }

    cw::test::TempDataFile f;
};

TEST_F(StatementImportTest, RowsBookIntoTheChosenAccountOnceWithBalances) {
    const Bill b = statement(
        "招行卡", {row(5, "2026-11-02", Direction::Out, 35.5, "美团", "消费", 964.5),
                   row(6, "2026-11-02", Direction::Out, 35.5, "美团", "消费", 929),
                   row(7, "2026-11-10", Direction::In, 8000, "某公司", "代发工资", 8929)});
    const auto rows = plan(b);
    ASSERT_EQ(rows.size(), 3u);
    for (const auto& p : rows) {
        EXPECT_TRUE(p.ticked);
        EXPECT_EQ(p.posting.account, QStringLiteral("招行卡"));
    }
    EXPECT_EQ(rows[2].kind, Direction::In);
    EXPECT_EQ(book(b).added, 3);
    EXPECT_DOUBLE_EQ(balance("招行卡"), 1000 - 71 + 8000);
    EXPECT_EQ(f.count("OutTable"), 2);

    // The same statement again, and one of another card with rows that read alike: the first
    // books nothing, the second is its card's own.
    const BillImport::Counts again = book(b);
    EXPECT_EQ(again.added, 0);
    EXPECT_EQ(again.imported, 3);
    Bill other = b;
    other.account = QStringLiteral("储蓄卡");
    EXPECT_EQ(book(other).added, 3);
    EXPECT_DOUBLE_EQ(balance("招行卡"), 8929);
}

TEST_F(StatementImportTest, ATransferInBothStatementsIsBookedOnce) {
    // Paid from 招行卡 to 储蓄卡, named by the counterparty.
    const BillImport::Counts first =
        book(statement("招行卡", {row(2, "2026-11-05", Direction::Out, 500, "储蓄卡", "转账")}));
    EXPECT_EQ(first.added, 1);
    EXPECT_EQ(f.count("ChangeT"), 1);
    EXPECT_DOUBLE_EQ(balance("招行卡"), 500);
    EXPECT_DOUBLE_EQ(balance("储蓄卡"), 700);

    // 储蓄卡's statement shows it two days later: known when it names 招行卡, asked about when
    // it names only the sender.
    const auto rows =
        plan(statement("储蓄卡", {row(3, "2026-11-07", Direction::In, 500, "招行卡", "转入"),
                                  row(4, "2026-11-07", Direction::In, 500, "张三", "转入"),
                                  row(5, "2026-11-20", Direction::In, 500, "张三", "转入")}));
    EXPECT_EQ(rows[0].state, BillImport::State::Imported);
    EXPECT_FALSE(rows[1].ticked);
    EXPECT_EQ(rows[1].why, QStringLiteral("可能已作为转账导入"));
    EXPECT_TRUE(rows[2].ticked);
    BillImport import(f.dm());
    import.book(rows);
    EXPECT_EQ(f.count("ChangeT"), 1);
    EXPECT_DOUBLE_EQ(balance("储蓄卡"), 1200);

    // Both statements open at once: the second to book finds the first's transfer.
    const Bill mine = statement("招行卡", {row(2, "2026-11-25", Direction::Out, 80, "储蓄卡")});
    const Bill theirs = statement("储蓄卡", {row(2, "2026-11-26", Direction::In, 80, "招行卡")});
    BillImport one(f.dm());
    BillImport other(f.dm());
    const auto early = one.plan(mine);
    const auto late = other.plan(theirs);
    ASSERT_TRUE(late[0].ticked);
    one.book(early);
    EXPECT_THROW(other.book(late), cw::PostingRules::Refused);
    EXPECT_EQ(f.count("ChangeT"), 2);

    // Two alike transfers of one day, the second left out: it is still there to book.
    const Bill twice = statement("招行卡", {row(3, "2026-11-27", Direction::Out, 60, "储蓄卡"),
                                            row(4, "2026-11-27", Direction::Out, 60, "储蓄卡")});
    auto both = plan(twice);
    both[1].ticked = false;
    BillImport(f.dm()).book(both);
    both = plan(twice);
    EXPECT_EQ(both[0].state, BillImport::State::Imported);
    EXPECT_TRUE(both[1].ticked);
}

TEST_F(StatementImportTest, ACounterpartyMadeATransferIsRecognisedNextTime) {
    Bill b = statement("招行卡", {row(2, "2026-11-05", Direction::Out, 300, "张三 6222****1234"),
                                  row(3, "2026-11-06", Direction::In, 100, "张三 6222****1234")});
    for (BillRow& r : b.rows) r.counterpartyAccount = QStringLiteral("6222021234");
    BillImport import(f.dm());
    auto rows = import.plan(b);
    ASSERT_EQ(rows[0].kind, Direction::Out);
    import.setCounterAccount(rows[0], QStringLiteral("储蓄卡"));
    rows[0].counterPick = 1;
    EXPECT_EQ(rows[0].posting.account, QStringLiteral("招行卡"));
    // Made a transfer and back: the income it was, into its own account.
    import.setCounterAccount(rows[1], QStringLiteral("储蓄卡"));
    EXPECT_EQ(rows[1].posting.account, QStringLiteral("储蓄卡"));
    EXPECT_EQ(rows[1].posting.target, QStringLiteral("招行卡"));
    import.setCounterAccount(rows[1], QString());
    EXPECT_EQ(rows[1].kind, Direction::In);
    EXPECT_EQ(rows[1].posting.account, QStringLiteral("招行卡"));
    rows[1].ticked = false;
    import.book(rows);
    EXPECT_DOUBLE_EQ(balance("储蓄卡"), 500);

    // Next month both ways are transfers with 储蓄卡, as remembered for the account number.
    for (BillRow& r : b.rows)
        r.day = r.time = QStringLiteral("2026-12-0") + QString::number(r.rowNumber);
    const auto next = plan(b);
    EXPECT_EQ(BillImport::counterAccount(next[0]), QStringLiteral("储蓄卡"));
    EXPECT_EQ(next[0].posting.target, QStringLiteral("储蓄卡"));
    EXPECT_EQ(next[1].posting.account, QStringLiteral("储蓄卡"));
    EXPECT_EQ(next[1].posting.target, QStringLiteral("招行卡"));
    EXPECT_TRUE(next[0].ticked && next[1].ticked);
}

TEST_F(StatementImportTest, TheClosingBalanceIsComparedOnItsDay) {
    Bill b = statement("招行卡", {row(2, "2026-11-05", Direction::Out, 100, "超市", "消费", 900)});
    b.hasClosingBalance = true;
    b.closingBalance = 910.25;
    b.closingDay = QStringLiteral("2026-11-30");
    BillImport import(f.dm());
    import.book(import.plan(b));
    // A posting after the statement's day does not count against it.
    book(statement("招行卡", {row(2, "2026-12-01", Direction::Out, 50, "超市")}));
    // The opening balance is dated today (2026-12-09): move it back before the statement.
    f.db().exec(QStringLiteral("UPDATE UList SET theDate='2026-10-01' WHERE theType='开户'"));
    const BillImport::BalanceCheck check = import.balanceCheck(b);
    ASSERT_TRUE(check.known);
    EXPECT_DOUBLE_EQ(check.book, 900);
    EXPECT_DOUBLE_EQ(check.difference(), 10.25);
    EXPECT_EQ(
        BillImport::balanceText(check),
        QStringLiteral("对账：账单余额 910.25，账户“招行卡”2026-11-30 的余额 900.00，相差 10.25"));
    b.closingBalance = 900;
    EXPECT_EQ(BillImport::balanceText(import.balanceCheck(b)),
              QStringLiteral("对账：账户“招行卡”2026-11-30 的余额与账单余额相符（900.00）"));
    b.account = QStringLiteral("没有的卡");
    EXPECT_FALSE(import.balanceCheck(b).known);
}

TEST_F(StatementImportTest, QifCategoriesAndTransfersMapToTheBook) {
    f.db().exec(QStringLiteral("INSERT INTO OutD(BName, OName) VALUES('我家', '外卖')"));
    Bill b;
    b.source = Bill::Source::Qif;
    b.account = QStringLiteral("招行卡");
    b.rows = {row(1, "2026-11-01", Direction::Out, 20, "饭店"),
              row(8, "2026-11-02", Direction::Out, 60, "书店"),
              row(8, "2026-11-02", Direction::Out, 40, "")};
    b.rows[0].type = QStringLiteral("餐饮:外卖");
    b.rows[1].type = QStringLiteral("Books:Technical");
    b.rows[2].transferAccount = QStringLiteral("储蓄卡");
    const auto rows = plan(b);
    EXPECT_EQ(rows[0].posting.name, QStringLiteral("外卖"));
    EXPECT_EQ(rows[1].posting.name, QStringLiteral("Technical"));
    EXPECT_EQ(rows[2].kind, Direction::Transfer);
    EXPECT_EQ(rows[2].posting.target, QStringLiteral("储蓄卡"));
    BillImport import(f.dm());
    import.book(rows);
    EXPECT_DOUBLE_EQ(balance("招行卡"), 880);
    EXPECT_DOUBLE_EQ(balance("储蓄卡"), 240);
    EXPECT_EQ(book(b).imported, 3);
}

// A 建设银行 statement in GBK as a script imports it: recognised, booked with the balance
// compared, then found booked; the account is asked for and must be the book's.
TEST_F(StatementImportTest, CliBooksAStatementOnceAndComparesItsBalance) {
    f.db().exec(QStringLiteral("UPDATE UList SET theDate='2026-10-01' WHERE theType='开户'"));
    const QString text = QStringLiteral(
        "中国建设银行个人活期账户交易明细\r\n账号：6217****0001\r\n\r\n"
        "交易日期,交易时间,摘要,支出,收入,账户余额,币种,对方账号,对方户名,交易地点\r\n"
        "20261103,12:01:09,消费,35.50,,964.50,人民币,,美团,网上\r\n"
        "20261110,09:00:00,转账,500.00,,464.50,人民币,6222000002,储蓄卡,网银\r\n"
        "20261115,09:00:00,代发工资,,\"8,000.00\",8464.50,人民币,,某公司,\r\n"
        "合计,,,,,,,,,\r\n");
    const QString path = f.programDir() + QStringLiteral("/ccb.csv");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QStringEncoder("GB18030").encode(text));
    file.close();
    f.reopen();
    const QStringList book{"--home", f.programDir(), "--book", "我家"};
    cw::test::CliRun r = cw::test::runCli(book + QStringList{"statement", path});
    EXPECT_EQ(r.code, 2);
    r = cw::test::runCli(book + QStringList{"statement", path, "account=没有的卡"});
    EXPECT_EQ(r.code, 3);
    r = cw::test::runCli(book + QStringList{"statement", path, "account=招行卡", "dry-run"});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("新增\t2026-11-10\t转账\t500\t招行卡→储蓄卡")))
        << r.out.toStdString();
    r = cw::test::runCli(book + QStringList{"statement", path, "account=招行卡"});
    EXPECT_EQ(r.out, QStringLiteral("新增\t3\n已导入\t0\n跳过\t0\n"
                                    "账单余额\t8464.5\n账户余额\t8464.5\n差额\t0\n"))
        << r.err.toStdString();
    r = cw::test::runCli(book + QStringList{"statement", path, "account=招行卡"});
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("新增\t0\n已导入\t3\n"))) << r.out.toStdString();
    r = cw::test::runCli(book +
                         QStringList{"statement", path, "account=招行卡", "profile=工商银行"});
    EXPECT_EQ(r.code, 3);

    // Notes below the rows end them; a row whose date was damaged is refused, with the rows
    // kept for the window to map otherwise.
    const auto rewrite = [&](const QString& from, const QString& to) {
        QFile changed(path);
        EXPECT_TRUE(changed.open(QIODevice::WriteOnly));
        changed.write(QStringEncoder("GB18030").encode(QString(text).replace(from, to)));
    };
    rewrite(QStringLiteral("合计"), QStringLiteral("温馨提示：仅供参考"));
    EXPECT_EQ(cw::StatementFile::open(path, cw::StatementProfiles::shipped()).bill->rows.size(),
              3u);
    rewrite(QStringLiteral("20261110"), QStringLiteral("2026111"));
    const cw::StatementFile::Opened opened =
        cw::StatementFile::open(path, cw::StatementProfiles::shipped());
    EXPECT_FALSE(opened.bill.has_value());
    EXPECT_GE(opened.profile, 0);
    EXPECT_TRUE(opened.refusal.startsWith(QStringLiteral("第 6 行 交易日期 不是有效的日期！")))
        << opened.refusal.toStdString();
    EXPECT_GT(opened.sheet.rows.size(), 4u);
    r = cw::test::runCli(book + QStringList{"statement", path, "account=招行卡"});
    EXPECT_EQ(r.code, 3);
    f.reopen();
    EXPECT_DOUBLE_EQ(balance("储蓄卡"), 700);
}

// The book written as QIF and read into another book of the file: each account's postings
// once (a transfer is in both accounts' sections), categories carried over, the opening
// balances left to the user.
TEST_F(StatementImportTest, AQifExportReadsBackIntoAnotherBook) {
    f.reopen();
    const QStringList old{"--home", f.programDir(), "--book", "我家"};
    for (const QStringList& post :
         {QStringList{"post", "income", "date=2026-11-01", "category=工资", "amount=1000",
                      "account=储蓄卡", "member=爸爸"},
          QStringList{"post", "expense", "date=2026-11-02", "category=餐饮", "amount=50.5",
                      "account=招行卡", "member=爸爸"},
          QStringList{"post", "transfer", "date=2026-11-03", "from=储蓄卡", "to=招行卡",
                      "amount=300", "member=爸爸"}})
        ASSERT_EQ(cw::test::runCli(old + post).code, 0) << post.join(' ').toStdString();
    const QString qif = f.programDir() + QStringLiteral("/book.qif");
    ASSERT_EQ(cw::test::runCli(old + QStringList{"export", "qif", qif}).code, 0);

    const QStringList fresh{"--home", f.programDir(), "--book", "新家"};
    ASSERT_EQ(cw::test::runCli({"--home", f.programDir(), "newbook", "新家"}).code, 0);
    f.reopen();
    f.db().exec(QStringLiteral("INSERT INTO SFamily(BName, FName) VALUES('新家', '妈妈')"));
    f.reopen();
    cw::test::CliRun r = cw::test::runCli(fresh + QStringList{"statement", qif});
    // 2 opening balances, 1 transfer's second side skipped.
    EXPECT_EQ(r.out, QStringLiteral("新增\t3\n已导入\t0\n跳过\t3\n")) << r.err.toStdString();
    f.reopen();
    const auto money = [&](const char* account) {
        return f.db()
            .query(QStringLiteral("SELECT AMoney FROM SAccount WHERE BName='新家' AND AName=?"),
                   QString::fromUtf8(account))
            .number(QStringLiteral("AMoney"));
    };
    EXPECT_DOUBLE_EQ(money("储蓄卡"), 700);
    EXPECT_DOUBLE_EQ(money("招行卡"), 249.5);
    EXPECT_EQ(
        f.db().query(QStringLiteral("SELECT OName FROM OutTable WHERE BName='新家'")).firstColumn(),
        QStringList{QStringLiteral("餐饮")});
    r = cw::test::runCli(fresh + QStringList{"statement", qif});
    EXPECT_EQ(r.out, QStringLiteral("新增\t0\n已导入\t4\n跳过\t2\n"));
    EXPECT_EQ(cw::test::runCli(fresh + QStringList{"check"}).code, 0);
    EXPECT_EQ(f.db()
                  .query(QStringLiteral("SELECT count(*) AS n FROM OutD WHERE BName='新家' AND "
                                        "OName='餐饮'"))
                  .integer(QStringLiteral("n")),
              1);
}

// A bank's OFX download: its account mapped to the book's once, each FITID booked once, the
// ledger balance compared.
TEST_F(StatementImportTest, AnOfxDownloadBooksOnceIntoItsMappedAccount) {
    f.db().exec(QStringLiteral("UPDATE UList SET theDate='2026-10-01' WHERE theType='开户'"));
    const QByteArray ofx =
        "OFXHEADER:100\r\nDATA:OFXSGML\r\nVERSION:102\r\nENCODING:USASCII\r\nCHARSET:1252\r\n\r\n"
        "<OFX><BANKMSGSRSV1><STMTTRNRS><STMTRS><CURDEF>CNY"
        "<BANKACCTFROM><BANKID>308<ACCTID>6225880001<ACCTTYPE>CHECKING</BANKACCTFROM>"
        "<BANKTRANLIST><DTSTART>20261101<DTEND>20261130"
        "<STMTTRN><TRNTYPE>DEBIT<DTPOSTED>20261103120000<TRNAMT>-35.50<FITID>A1<NAME>Meituan</"
        "STMTTRN>"
        "<STMTTRN><TRNTYPE>DEBIT<DTPOSTED>20261103130000<TRNAMT>-35.50<FITID>A2<NAME>Meituan</"
        "STMTTRN>"
        "<STMTTRN><TRNTYPE>CREDIT<DTPOSTED>20261115<TRNAMT>100.00<FITID>A3<NAME>Refund &amp; "
        "bonus</STMTTRN>"
        "</BANKTRANLIST><LEDGERBAL><BALAMT>1029.00<DTASOF>20261130</LEDGERBAL>"
        "</STMTRS></STMTTRNRS></BANKMSGSRSV1></OFX>\r\n";
    const QString path = f.programDir() + QStringLiteral("/bank.ofx");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(ofx);
    file.close();
    f.reopen();
    const QStringList book{"--home", f.programDir(), "--book", "我家"};
    cw::test::CliRun r = cw::test::runCli(book + QStringList{"statement", path, "account=招行卡"});
    EXPECT_EQ(r.out, QStringLiteral("新增\t3\n已导入\t0\n跳过\t0\n"
                                    "账单余额\t1029\n账户余额\t1029\n差额\t0\n"))
        << r.err.toStdString();
    r = cw::test::runCli(book + QStringList{"statement", path, "account=招行卡"});
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("新增\t0\n已导入\t3\n"))) << r.out.toStdString();
    f.reopen();
    EXPECT_DOUBLE_EQ(balance("招行卡"), 1029);
}

}  // namespace
