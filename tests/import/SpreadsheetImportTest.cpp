#include <gtest/gtest.h>

#include "bookkeeping/BookkeepingFixture.h"
#include "import/SpreadsheetImport.h"
#include "import/SpreadsheetReader.h"
#include "import/XlsxReader.h"
#include "support/CliRun.h"

namespace {

using cw::ImportKind;
using cw::SheetError;
using cw::SheetRows;
using cw::SpreadsheetImport;
using cw::SpreadsheetReader;
using cw::test::JournalRow;

QString fixture(const char* name) {
    return QStringLiteral(COINWICK_SOURCE_DIR "/tests/data/import/") + QString::fromUtf8(name);
}

class SpreadsheetImportTest : public ::testing::Test {
  protected:
    void SetUp() override {
        f.addBook(QStringLiteral("我家"));
        cw::test::openAccount(f, QStringLiteral("招行卡"), 1000, QStringLiteral("爸爸"));
    }

    // Reads, checks and books a fixture as the dialog does; the refusal message when any.
    QString import(const char* cli, const char* file, int* booked = nullptr) {
        const ImportKind* kind = ImportKind::byCliName(QString::fromUtf8(cli));
        const SheetRows sheet = SpreadsheetReader::read(fixture(file));
        const SpreadsheetImport::Checked c = SpreadsheetImport::check(*kind, sheet);
        if (!c.ok()) return c.message;
        const int n = SpreadsheetImport(f.dm()).book(*kind, c.postings);
        if (booked) *booked = n;
        return QString();
    }

    cw::test::TempDataFile f;
};

TEST(SpreadsheetReaderTest, ReadsCellsAsTheirDisplayedText) {
    const SheetRows s = SpreadsheetReader::read(fixture("income.xlsx"));
    EXPECT_EQ(s.header.join(','), QStringLiteral("日期,收入类别,金额,账户名称,家庭成员,备注"));
    ASSERT_EQ(s.rowCount(), 4u);
    EXPECT_EQ(s.row(0).join('|'), QStringLiteral("2026-03-01|奖金|1000.5|招行卡|爸爸|年终'奖"));
    // A date-time cell keeps its time; a float with binary noise reads as it is shown.
    EXPECT_EQ(s.text(1, 0), QStringLiteral("2026-03-02 15:30:00"));
    EXPECT_EQ(s.text(1, 2), QStringLiteral("0.3"));
    EXPECT_EQ(s.text(2, 0), QStringLiteral("2026/3/5"));
    EXPECT_EQ(s.text(2, 2), QString());
    for (int r = 0; r < 4; ++r) EXPECT_EQ(s.rowNumber(size_t(r)), r + 2);

    // The Mac date system counts from 1904; the .xls form reads the same through FreeXL.
    EXPECT_EQ(SpreadsheetReader::read(fixture("date1904.xlsx")).text(0, 0),
              QStringLiteral("2026-03-01"));
    const SheetRows xls = SpreadsheetReader::read(fixture("income.xls"));
    ASSERT_EQ(xls.rowCount(), 2u);
    EXPECT_EQ(xls.row(0).join('|'), QStringLiteral("2026-03-01|奖金|1000.5|招行卡|爸爸|xls"));
    EXPECT_EQ(xls.text(1, 2), QStringLiteral("0.3"));
}

TEST(SpreadsheetReaderTest, RefusesForeignDamagedAndSheetlessFiles) {
    const auto message = [](const char* file) {
        try {
            SpreadsheetReader::read(fixture(file));
        } catch (const SheetError& e) {
            return e.message();
        }
        return QString();
    };
    EXPECT_EQ(message("foreign.xlsx"), QStringLiteral("不是Excel文件，无法读取！"));
    EXPECT_EQ(message("damaged.xlsx"), QStringLiteral("Excel文件已损坏，无法读取！"));
    EXPECT_EQ(message("no-sheet1.xlsx"), QStringLiteral("Excel文件中找不到工作表 Sheet1！"));
    EXPECT_TRUE(message("no-such-file.xlsx").startsWith(QStringLiteral("无法打开文件：")));
}

TEST(SpreadsheetReaderTest, NumberTextsAndDateFormats) {
    using cw::XlsxReader;
    EXPECT_EQ(XlsxReader::numberText(45352, true, false), QStringLiteral("2024-03-01"));
    EXPECT_EQ(XlsxReader::numberText(45352.5, true, false), QStringLiteral("2024-03-01 12:00:00"));
    EXPECT_EQ(XlsxReader::numberText(59, true, false), QStringLiteral("1900-02-28"));
    EXPECT_EQ(XlsxReader::numberText(1e12 + 0.5, false, false), QStringLiteral("1000000000000.5"));
    EXPECT_EQ(XlsxReader::numberText(-12.5, false, false), QStringLiteral("-12.5"));
    EXPECT_TRUE(XlsxReader::isDateFormat(QStringLiteral("yyyy\"年\"m\"月\"d\"日\"")));
    EXPECT_FALSE(XlsxReader::isDateFormat(QStringLiteral("[Red]#,##0.00")));
    EXPECT_FALSE(XlsxReader::isDateFormat(QStringLiteral("General")));
}

TEST(SpreadsheetImportRulesTest, GbkCutsAndDates) {
    // Ten Chinese characters fill 20 bytes; the eleventh would be split and is left out.
    EXPECT_EQ(SpreadsheetImport::gbkCut(QStringLiteral("一二三四五六七八九十一"), 20),
              QStringLiteral("一二三四五六七八九十"));
    EXPECT_EQ(SpreadsheetImport::gbkCut(QStringLiteral("a一二三四五六七八九十"), 20),
              QStringLiteral("a一二三四五六七八九"));
    EXPECT_EQ(SpreadsheetImport::dayOf(QStringLiteral("2026/3/5")), QStringLiteral("2026-03-05"));
    EXPECT_EQ(SpreadsheetImport::dayOf(QStringLiteral("2026-03-02 15:30:00")),
              QStringLiteral("2026-03-02"));
    EXPECT_EQ(SpreadsheetImport::dayOf(QStringLiteral("2026年3月5日")),
              QStringLiteral("2026-03-05"));
    EXPECT_EQ(SpreadsheetImport::dayOf(QStringLiteral("2026-02-30")), QString());
    EXPECT_EQ(SpreadsheetImport::dayOf(QStringLiteral("昨天")), QString());
}

TEST_F(SpreadsheetImportTest, IncomeBooksEveryRowWithItsJournalRowAndNewNamesOnce) {
    const qint64 before = cw::test::lastJournalId(f.db());
    int booked = 0;
    ASSERT_EQ(import("in", "income.xlsx", &booked), QString());
    EXPECT_EQ(booked, 4);
    EXPECT_EQ(f.count("InTable"), 4);

    // The cut keeps ten characters of the long category; 奖金 and 钱包 are made once.
    EXPECT_EQ(f.db()
                  .query("SELECT count(*) AS n FROM InD WHERE BName='我家' AND IName='奖金'")
                  .integer("n"),
              1);
    EXPECT_EQ(f.db()
                  .query("SELECT count(*) AS n FROM InD WHERE IName='一二三四五六七八九十'")
                  .integer("n"),
              1);
    const cw::Query wallet =
        f.db().query("SELECT theType, AMoney, FName FROM SAccount WHERE AName='钱包'");
    EXPECT_EQ(wallet.text("theType"), QStringLiteral("现金"));
    EXPECT_EQ(wallet.text("FName"), QStringLiteral("妈妈"));
    EXPECT_DOUBLE_EQ(wallet.number("AMoney"), 7);
    EXPECT_DOUBLE_EQ(f.dm().balance(QStringLiteral("招行卡")), 2000.8);
    // Usage counts stay as they were.
    EXPECT_EQ(f.db().query("SELECT theCount FROM InD WHERE IName='奖金'").integer("theCount"), 0);

    const std::vector<JournalRow> rows = cw::test::journalAfter(f.db(), before);
    ASSERT_EQ(rows.size(), 4u);
    const qint64 first =
        f.db().query("SELECT min(ID) AS n FROM InTable WHERE BName='我家'").integer("n");
    EXPECT_EQ(rows[0], (JournalRow{"2026-03-01", "奖金", "年终'奖", 1000.5, 0, "招行卡", 2000.5,
                                   "爸爸", "我家", "InTable", first, "导入"}));
    EXPECT_EQ(rows[1], (JournalRow{"2026-03-02", "奖金", "", 0.3, 0, "招行卡", 2000.8, "爸爸",
                                   "我家", "InTable", first + 1, "导入"}));
    // A date typed as text, an empty amount booked as 0.
    EXPECT_EQ(rows[2], (JournalRow{"2026-03-05", "利息", "text date", 0, 0, "钱包", 0, "妈妈",
                                   "我家", "InTable", first + 2, "导入"}));
    EXPECT_EQ(cw::BookCheck(f.dm()).check(), QStringList());
}

TEST_F(SpreadsheetImportTest, TheOtherKinds) {
    ASSERT_EQ(import("out", "expense.xlsx"), QString());
    EXPECT_DOUBLE_EQ(f.dm().balance(QStringLiteral("招行卡")), 988);
    EXPECT_DOUBLE_EQ(f.dm().balance(QStringLiteral("钱包")), -35.5);

    // A transfer onto the same account moves nothing but books both rows, the target's first.
    const qint64 before = cw::test::lastJournalId(f.db());
    ASSERT_EQ(import("transfer", "transfer.xlsx"), QString());
    EXPECT_DOUBLE_EQ(f.dm().balance(QStringLiteral("招行卡")), 788);
    EXPECT_DOUBLE_EQ(f.dm().balance(QStringLiteral("钱包")), 164.5);
    const std::vector<JournalRow> rows = cw::test::journalAfter(f.db(), before);
    ASSERT_EQ(rows.size(), 4u);
    const qint64 id = f.db().query("SELECT min(ID) AS n FROM ChangeT").integer("n");
    EXPECT_EQ(rows[0], (JournalRow{"2026-05-01", "转账", "取现", 200, 0, "钱包", 164.5, "爸爸",
                                   "我家", "ChangeT", id, "导入"}));
    EXPECT_EQ(rows[1], (JournalRow{"2026-05-01", "转账", "取现", 0, 200, "招行卡", 788, "爸爸",
                                   "我家", "ChangeT", id, "导入"}));
    EXPECT_EQ(rows[2].AName, QStringLiteral("钱包"));
    EXPECT_DOUBLE_EQ(rows[3].AMoney, 164.5);

    ASSERT_EQ(import("debt", "debt.xlsx"), QString());
    ASSERT_EQ(import("credit", "credit.xlsx"), QString());
    ASSERT_EQ(import("investment", "investment.xlsx"), QString());
    EXPECT_DOUBLE_EQ(f.dm().balance(QStringLiteral("招行卡")), 788 + 5000 - 3000);
    EXPECT_DOUBLE_EQ(f.dm().balance(QStringLiteral("钱包")), 164.5 - 800);
    EXPECT_EQ(f.db().query("SELECT BMoney, BPro FROM Borrow").text("BPro"), QStringLiteral("老王"));
    EXPECT_EQ(
        f.db().query("SELECT count(*) AS n FROM PD WHERE PName IN ('老王','小李')").integer("n"),
        2);
    // The investment takes its date-time text whole and reads the date from it.
    EXPECT_EQ(f.db().query("SELECT TDate FROM TTable").text("TDate"), QStringLiteral("2026-07-01"));
    EXPECT_EQ(f.db().query("SELECT theType FROM UList WHERE theT='TTable'").text("theType"),
              QStringLiteral("基金"));
    EXPECT_EQ(cw::BookCheck(f.dm()).check(), QStringList());
}

TEST_F(SpreadsheetImportTest, ABadRowRefusesTheWholeSheet) {
    const qint64 before = cw::test::lastJournalId(f.db());
    EXPECT_EQ(import("in", "bad-member.xlsx"),
              QStringLiteral("第 4 行 家庭成员 不能为空！没有导入任何数据。"));
    EXPECT_EQ(import("in", "bad-amount.xlsx"),
              QStringLiteral("第 3 行 金额 不是有效的数字！没有导入任何数据。"));
    // The headers of one kind are not another's.
    EXPECT_TRUE(
        import("out", "income.xlsx").startsWith(QStringLiteral("表格头部找不到“支出类别”")));
    EXPECT_EQ(f.count("InTable"), 0);
    EXPECT_EQ(cw::test::journalAfter(f.db(), before).size(), 0u);
    EXPECT_EQ(f.db().query("SELECT count(*) AS n FROM InD WHERE IName='奖金'").integer("n"), 0);
}

TEST_F(SpreadsheetImportTest, TheCliImportsAndRefusesAsTheDialogDoes) {
    f.reopen();
    const QStringList book{"--home", f.programDir(), "--book", "我家"};
    cw::test::CliRun r =
        cw::test::runCli(book + QStringList{"import", "in", fixture("income.xls")});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("2\n"));
    r = cw::test::runCli(book + QStringList{"import", "in", fixture("bad-member.xlsx")});
    EXPECT_EQ(r.code, 3);
    EXPECT_EQ(r.err, QStringLiteral("第 4 行 家庭成员 不能为空！没有导入任何数据。\n"));
    r = cw::test::runCli(book + QStringList{"import", "in", fixture("foreign.xlsx")});
    EXPECT_EQ(r.code, 3);
    r = cw::test::runCli(book + QStringList{"import", "income", fixture("income.xls")});
    EXPECT_EQ(r.code, 2);
    f.reopen();
    EXPECT_EQ(f.count("InTable"), 2);
}

}  // namespace
