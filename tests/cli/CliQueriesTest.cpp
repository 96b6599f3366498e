#include <gtest/gtest.h>

#include <QJsonObject>
#include <QTemporaryDir>

#include "support/CliRun.h"
#include "support/TempDataFile.h"
#include "support/XlsxRead.h"

using cw::test::CliRun;

namespace {

class CliQueriesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        f.addBook(QStringLiteral("我家"), QStringLiteral("pw"));
        post({"income", "date=2024-01-15", "category=工资", "amount=45288106.2", "account=钱包",
              "member=爸爸", "remark=年\t终"});
        post({"expense", "date=2024-01-03", "category=餐饮", "amount=250", "account=钱包",
              "member=妈妈", "remark=午饭"});
        post({"expense", "date=2024-02-03", "category=交通", "amount=250.5", "account=银行卡",
              "member=爸爸"});
        post({"expense", "date=2024-01-02", "category=餐饮", "amount=10", "account=钱包",
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

const QString kOut = QStringLiteral("日期\t支出类别\t金额\t账户名称\t家庭成员\t备注\n");

TEST_F(CliQueriesTest, QueryFiltersSortAndTotals) {
    CliRun r = cli({"query", "out"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, kOut + QStringLiteral("2024-01-02\t餐饮\t10\t钱包\t爸爸\t\n"
                                           "2024-01-03\t餐饮\t250\t钱包\t妈妈\t午饭\n"
                                           "2024-02-03\t交通\t250.5\t银行卡\t爸爸\t\n"
                                           "合计\t\t510.5\t\t\t\n"));
    r = cli({"query", "out", "from=2024-01-03", "category=餐饮", "sort=金额", "order=desc"});
    EXPECT_EQ(r.out, kOut + QStringLiteral("2024-01-03\t餐饮\t250\t钱包\t妈妈\t午饭\n"
                                           "合计\t\t250\t\t\t\n"));
    r = cli({"query", "out", "to=2024-01-31", "account=钱包", "member=爸爸"});
    EXPECT_EQ(r.out,
              kOut + QStringLiteral("2024-01-02\t餐饮\t10\t钱包\t爸爸\t\n合计\t\t10\t\t\t\n"));
    r = cli({"query", "in", "remark=\t"});
    EXPECT_EQ(r.out, QStringLiteral("日期\t收入类别\t金额\t账户名称\t家庭成员\t备注\n"
                                    "2024-01-15\t工资\t45288106.2\t钱包\t爸爸\t年\\t终\n"
                                    "合计\t\t45288106.2\t\t\t\n"));
    EXPECT_EQ(cli({"query", "out", "sort=金额 DESC"}).code, 2);
    EXPECT_EQ(cli({"query", "transfer", "sort=日期"}).code, 2);  // no sort group there
    EXPECT_EQ(cli({"query", "out", "contact=老王"}).code, 2);
    EXPECT_EQ(cli({"query", "nothing"}).code, 2);
}

TEST_F(CliQueriesTest, QueryWorkbook) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.xlsx"));
    const CliRun r = cli({"query", "out", "from=2024-01-01", "to=2024-01-31", "xlsx=" + path});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const auto read = cw::test::readXlsx(path);
    if (!read) GTEST_SKIP() << cw::test::kNoXlsxReader;
    const QJsonObject cells = (*read)[QStringLiteral("cells")].toObject();
    QStringList values;
    for (auto it = cells.begin(); it != cells.end(); ++it)
        values << it.value().toObject()[QStringLiteral("value")].toVariant().toString();
    EXPECT_TRUE(values.contains(QStringLiteral("午饭")));
    EXPECT_TRUE(values.contains(QStringLiteral("260")));

    // Without dates the title carries the range of the rows, not a year 1.
    ASSERT_EQ(cli({"query", "out", "xlsx=" + path}).code, 0);
    const QString title = (*cw::test::readXlsx(path))[QStringLiteral("cells")]
                              .toObject()[QStringLiteral("A1")]
                              .toObject()[QStringLiteral("value")]
                              .toString();
    EXPECT_TRUE(title.contains(QStringLiteral("（2024-01-02至2024-")) &&
                !title.contains(QStringLiteral("0001")))
        << title.toStdString();
}

// The journal's filters, the newest rows in event order, amounts to the cent, and the
// recompute of one account in date order.
TEST_F(CliQueriesTest, JournalFiltersLastAndRecompute) {
    CliRun r = cli({"journal", "last=2"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("3\t2024-02-03\t")));
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("4\t2024-01-02\t")));

    r = cli({"journal", "account=钱包", "from=2024-01-01", "to=2024-01-31", "member=爸爸"});
    lines = r.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[1].contains(QStringLiteral("\t45288106.2\t0\t钱包\t45288106.2\t")))
        << lines[1].toStdString();
    EXPECT_EQ(cli({"journal", "kind=餐饮", "remark=午"}).out.count('\n'), 2);
    EXPECT_EQ(cli({"journal", "last=x"}).code, 2);

    r = cli({"recompute", "account=钱包"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("3\n"));
    // In date order: -10, -260, then +45288106.2.
    r = cli({"journal", "account=钱包"});
    lines = r.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[1].split('\t')[7], QStringLiteral("45287846.2"));
    EXPECT_EQ(lines[2].split('\t')[7], QStringLiteral("-260"));
    EXPECT_EQ(lines[3].split('\t')[7], QStringLiteral("-10"));
    EXPECT_EQ(cli({"recompute"}).code, 2);
}

}  // namespace
