#include <gtest/gtest.h>

#include <QFile>

#include "support/CliRun.h"
#include "support/TempDataFile.h"

using cw::test::CliRun;

namespace {

class CliStatsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        f.addBook(QStringLiteral("我家"), QStringLiteral("pw"));
        post({"income", "date=2024-01-15", "category=工资", "amount=1000", "account=钱包",
              "member=爸爸"});
        post({"income", "date=2024-02-01", "category=奖金", "amount=3000", "account=工行",
              "member=妈妈"});
        post({"expense", "date=2024-01-03", "category=餐饮", "amount=250.5", "account=钱包",
              "member=妈妈"});
        post({"debt", "date=2024-01-04", "contact=老王", "amount=500", "account=钱包",
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

TEST_F(CliStatsTest, BothListsTaggedWithTheirSideAndASumEach) {
    CliRun r =
        cli({"stats", "in-out", "by=month", "from=2024-01-01", "to=2024-12-31", "sort=name-desc"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("收支\t月份\t笔数\t金额\n"
                                    "收入\t2024-02\t1\t3000\n"
                                    "收入\t2024-01\t1\t1000\n"
                                    "支出\t2024-01\t1\t250.5\n"
                                    "收入\t合计\t2\t4000\n"
                                    "支出\t合计\t1\t250.5\n"));
    r = cli({"stats", "debt-credit", "from=2024-01-01", "to=2024-12-31"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("债务债权\t往来人员\t笔数\t金额\n"
                                    "债务\t老王\t1\t500\n"
                                    "债务\t合计\t1\t500\n"
                                    "债权\t合计\t0\t0\n"));
    // A dimension the box does not offer is the screen's refusal, never SQL.
    r = cli({"stats", "in-out", "by=IName;drop"});
    EXPECT_EQ(r.code, 3);
    EXPECT_TRUE(r.err.contains(QStringLiteral("统计的项选择错误！"))) << r.err.toStdString();
    EXPECT_EQ(cli({"stats", "in-out", "sort=sideways"}).code, 2);
}

TEST_F(CliStatsTest, AnalysisAsTsvAndItsChartAsPng) {
    const QString png = f.programDir() + QStringLiteral("/chart.png");
    CliRun r = cli({"analysis", "in", "by=member", "png=" + png, "chart=pie"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("统计的项\t金额\n爸爸\t1000\n妈妈\t3000\n合计\t4000\n"));
    QFile file(png);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray head = file.read(24);
    EXPECT_GT(file.size(), 5000);
    ASSERT_EQ(head.left(8), QByteArray("\x89PNG\r\n\x1a\n", 8));
    // The IHDR chunk: width and height, big-endian.
    const auto be = [&](int at) {
        return (uchar(head[at]) << 24) | (uchar(head[at + 1]) << 16) | (uchar(head[at + 2]) << 8) |
               uchar(head[at + 3]);
    };
    EXPECT_EQ(be(16), 1200);
    EXPECT_EQ(be(20), 700);

    r = cli({"analysis", "out", "by=day", "from=2024-01-01", "to=2024-01-02"});
    EXPECT_EQ(r.out, QStringLiteral("统计的项\t金额\n合计\t0\n"));
    EXPECT_EQ(cli({"analysis", "in", "chart=radar", "png=x.png"}).code, 2);
}

TEST_F(CliStatsTest, AccountsByKindAndMember) {
    const CliRun r = cli({"accounts", "member=妈妈"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], QStringLiteral("账户分类\t家庭成员\t账户名称\t账户余额\t备注"));
    EXPECT_TRUE(lines[1].contains(QStringLiteral("\t妈妈\t工行\t3000\t")));
    EXPECT_EQ(lines[2], QStringLiteral("合计\t\t\t3000\t"));
    EXPECT_EQ(cli({"accounts", "kind=信用卡"}).out,
              QStringLiteral("账户分类\t家庭成员\t账户名称\t账户余额\t备注\n合计\t\t\t0\t\n"));
}

}  // namespace
