#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "support/CliRun.h"
#include "support/PdfWords.h"
#include "support/TempDataFile.h"
#include "support/XlsxRead.h"

using cw::test::CliRun;

namespace {

class CliReportsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        f.addBook(QStringLiteral("我家"), QStringLiteral("pw"));
        post({"income", "date=2024-01-15", "category=工资", "amount=1000", "account=钱包",
              "member=爸爸"});
        post({"expense", "date=2024-01-03", "category=餐饮", "amount=250", "account=钱包",
              "member=妈妈"});
        post({"expense", "date=2024-02-03", "category=餐饮", "amount=250.5", "account=银行卡",
              "member=爸爸"});
    }

    void post(const QStringList& args) {
        const CliRun r = cli(QStringList{"post"} + args);
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
    }

    CliRun cli(const QStringList& args) {
        return cw::test::runCli(
            QStringList{"--home", f.programDir(), "--book", "我家", "--password", "pw"} + args);
    }

    cw::test::TempDataFile f;
};

const QString kHeader =
    QStringLiteral("月份\t收入金额\t收入笔数\t支出金额\t支出笔数\t结余金额\t支出占收入\n");

// The grid as TSV: the screen's titles, amounts plain to the cent, a 合计 line.
TEST_F(CliReportsTest, MonthlyAsTsv) {
    const CliRun r = cli({"report", "monthly", "from=2023-12-31", "to=2024-03-31"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, kHeader + QStringLiteral("2023-12\t0\t0\t0\t0\t0\t0\n"
                                              "2024-01\t1000\t1\t250\t1\t750\t0.25\n"
                                              "2024-02\t0\t0\t250.5\t1\t-250.5\t0\n"
                                              "2024-03\t0\t0\t0\t0\t0\t0\n"
                                              "合计\t1000\t1\t500.5\t2\t499.5\t\n"));
}

TEST_F(CliReportsTest, YearlyWithFilters) {
    CliRun r = cli({"report", "yearly", "from=2024-01-01", "to=2024-12-31", "account=钱包"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out,
              QStringLiteral("年份\t收入金额\t收入笔数\t支出金额\t支出笔数\t结余金额\t支出占收入\n"
                             "2024\t1000\t1\t250\t1\t750\t0.25\n"
                             "合计\t1000\t1\t250\t1\t750\t\n"));
    r = cli({"report", "yearly", "from=2024-01-01", "to=2024-12-31", "member=爸爸"});
    EXPECT_TRUE(r.out.contains(QStringLiteral("2024\t1000\t1\t250.5\t1\t749.5\t0.25\n")))
        << r.out.toStdString();
}

TEST_F(CliReportsTest, RefusalsAndBadUsage) {
    CliRun r = cli({"report", "monthly", "from=2024-03-01", "to=2024-02-01"});
    EXPECT_EQ(r.code, 3);
    EXPECT_EQ(r.err.trimmed(), QStringLiteral("日期选择错误，请重新选择！"));
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_EQ(cli({"report", "monthly", "from=2024-02-30"}).code, 2);
    EXPECT_EQ(cli({"report", "monthly", "category=工资"}).code, 2);
    EXPECT_EQ(cli({"report", "weekly"}).code, 2);
    EXPECT_EQ(cli({"report"}).code, 2);
    EXPECT_EQ(cw::test::runCli({"--home", f.programDir(), "--book", "我家", "--password", "x",
                                "report", "monthly"})
                  .code,
              3);
}

// xlsx= writes what the screen's Excel button writes.
TEST_F(CliReportsTest, WorkbookOfTheExcelButton) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("月报.xlsx"));
    const CliRun r = cli({"report", "monthly", "from=2024-01-01", "to=2024-02-29", "xlsx=" + path});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    ASSERT_TRUE(QFile::exists(path));
    const auto read = cw::test::readXlsx(path);
    if (!read) GTEST_SKIP() << cw::test::kNoXlsxReader;
    const QJsonObject cells = (*read)[QStringLiteral("cells")].toObject();
    const auto v = [&](const char* ref) {
        return cells[QString::fromLatin1(ref)].toObject()[QStringLiteral("value")].toVariant();
    };
    EXPECT_EQ(v("A1").toString(), QStringLiteral("我家-收支月报表"));
    EXPECT_EQ(v("B2").toString(), QStringLiteral("月份"));
    EXPECT_EQ(v("H2").toString(), QStringLiteral("支出占收入"));
    EXPECT_EQ(v("B3").toString(), QStringLiteral("2024-01"));
    EXPECT_EQ(v("C3").toDouble(), 1000);
    EXPECT_EQ(v("H3").toDouble(), 0.25);
    EXPECT_EQ(v("A5").toString(), QStringLiteral("合计"));
    EXPECT_EQ(v("E5").toDouble(), 500.5);
    EXPECT_EQ(v("F5").toDouble(), 2);
    EXPECT_EQ(v("G5").toDouble(), 499.5);
    EXPECT_EQ((*read)[QStringLiteral("merges")].toArray(), QJsonArray{QStringLiteral("A1:H1")});
}

QString pdfText(const QString& path) {
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty()) return QString();
    QProcess p;
    p.start(tool, {QStringLiteral("-layout"), path, QStringLiteral("-")});
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// pdf= writes the previewed report; its text reads back, page by page.
TEST_F(CliReportsTest, PrintedReportAsPdf) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("月报.pdf"));
    const CliRun r = cli({"report", "monthly", "from=2024-01-01", "to=2024-04-30", "pdf=" + path});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QString text = pdfText(path);
    if (text.isEmpty()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    for (const char* part : {"收支月统计表", "页数 1", "序号", "月份", "收入金额", "支出笔数",
                             "结余", "2024-01", "1,000.00", "250.50", "-250.50", "0.25", "合计 4",
                             "本页合计 4", "499.50", "www.coinwick.cn"}) {
        EXPECT_TRUE(text.contains(QString::fromUtf8(part))) << part << "\n" << text.toStdString();
    }
}

// 45 lines take two portrait pages: each page foot counts and sums its own lines, the footer
// after the last line all 45.
TEST_F(CliReportsTest, FortyFiveLinesOverTwoPages) {
    for (int y = 1980; y < 2025; ++y) {
        post({"income", QStringLiteral("date=%1-06-01").arg(y), "category=工资", "amount=100",
              "account=钱包", "member=爸爸"});
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("年报.pdf"));
    const CliRun r = cli({"report", "yearly", "from=1980-01-01", "to=2024-12-31", "pdf=" + path});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QString text = pdfText(path);
    if (text.isEmpty()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    const QStringList pages = text.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    ASSERT_EQ(pages.size(), 2) << text.toStdString();
    EXPECT_TRUE(pages[0].contains(QStringLiteral("页数 1")));
    EXPECT_TRUE(pages[1].contains(QStringLiteral("页数 2")));
    // Page one holds 40 years of 100 each.
    EXPECT_TRUE(
        pages[0].contains(QRegularExpression(QStringLiteral("本页合计 40\\s+4,000.00\\s+40"))))
        << pages[0].toStdString();
    EXPECT_FALSE(pages[0].contains(QStringLiteral("合计 45")));
    // 2024 carries the January income and the two expenses as well.
    EXPECT_TRUE(
        pages[1].contains(QRegularExpression(QStringLiteral("本页合计 5\\s+1,500.00\\s+6"))))
        << pages[1].toStdString();
    EXPECT_TRUE(pages[1].contains(QRegularExpression(QStringLiteral("合计 45\\s+5,500.00\\s+46"))));
    EXPECT_TRUE(pages[1].contains(QStringLiteral("2024")));
}

// Amounts of twelve digits print whole on paper: in their rows, the page sums and the total.
TEST_F(CliReportsTest, TwelveDigitTotalsPrintWhole) {
    post({"income", "date=2024-01-20", "category=工资", "amount=999999999999.99", "account=钱包",
          "member=爸爸"});
    post({"income", "date=2024-02-20", "category=工资", "amount=123456789012.99", "account=钱包",
          "member=爸爸"});
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("月报.pdf"));
    const CliRun r = cli({"report", "monthly", "from=2024-01-01", "to=2024-02-29", "pdf=" + path});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QStringList headers{"序号",     "月份",     "收入金额", "收入笔数",
                              "支出金额", "支出笔数", "结余"};
    if (cw::test::printedWhole(path, headers, "", "") < 0)
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    // Rows once; the sums of the page and of the report twice.
    for (const auto& [header, whole, times] :
         std::vector<std::tuple<const char*, const char*, int>>{
             {"收入金额", "1,000,000,000,999.99", 1},
             {"结余", "123,456,788,762.49", 1},
             {"收入金额", "1,123,456,790,012.98", 2},
             {"结余", "1,123,456,789,512.48", 2}}) {
        EXPECT_EQ(cw::test::printedWhole(path, headers, QString::fromUtf8(header),
                                         QString::fromUtf8(whole)),
                  times)
            << header << " " << whole;
    }
}

}  // namespace

namespace {

// The month-by-name tables of 收入月报表 and 支出月报表: TSV, and the workbook with xlsx=.
TEST_F(CliReportsTest, MonthByNameTables) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("按成员.xlsx"));
    CliRun r = cli({"report", "expense-by-member", "xlsx=" + path});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    // Names in pinyin order: ba before ma.
    EXPECT_EQ(r.out, QStringLiteral("月份\t爸爸\t妈妈\t合计\n"
                                    "2024-01\t0\t250\t250\n"
                                    "2024-02\t250.5\t0\t250.5\n"
                                    "合计\t250.5\t250\t500.5\n"));
    EXPECT_TRUE(QFile::exists(path));
    r = cli({"report", "income-by-category"});
    EXPECT_EQ(r.out, QStringLiteral("月份\t工资\t合计\n2024-01\t1000\t1000\n合计\t1000\t1000\n"));
    EXPECT_EQ(cli({"report", "income-by-account", "from=2024-01-01"}).code, 2);
}

}  // namespace
