#include <gtest/gtest.h>

#include "support/CliRun.h"

using cw::test::CliRun;

#include <QDate>
#include <QProcess>

#include "bookkeeping/BookkeepingFixture.h"

namespace {

class CliPostingsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        f.addBook(QStringLiteral("我家账簿"), QStringLiteral("pw"));
        cw::test::openAccount(f, QStringLiteral("现金"), 100, QStringLiteral("爸爸"));
        cw::test::openAccount(f, QStringLiteral("工行卡"), 1000, QStringLiteral("妈妈"));
    }

    CliRun cli(const QStringList& args) {
        return cw::test::runCli(
            QStringList{"--home", f.programDir(), "--book", "我家账簿", "--password", "pw"} + args);
    }

    // The journal without its header and the two opening rows.
    QString postingRows() {
        const CliRun r = cli({"journal"});
        EXPECT_EQ(r.code, 0) << r.err.toStdString();
        QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
        return lines.mid(3).join('\n');
    }

    cw::test::TempDataFile f;
};

}  // namespace

TEST_F(CliPostingsTest, PostEditDeleteAndTheJournal) {
    const CliRun posted = cli({"post", "income", "date=2026-12-01", "category=工资", "amount=12.5",
                               "account=现金", "member=爸爸", "remark=年终"});
    ASSERT_EQ(posted.code, 0) << posted.err.toStdString();
    EXPECT_EQ(posted.out, QStringLiteral("1\n"));

    const CliRun journal = cli({"journal"});
    EXPECT_EQ(
        journal.out,
        QStringLiteral(
            "ID\ttheDate\ttheType\tRemark\ttheIn\ttheOut\tAName\tAMoney\tFName\ttheT\ttheID\ttheE\n"
            "1\t2026-12-09\t开户\t\t100\t0\t现金\t100\t爸爸\tSAccount\t1\t新增\n"
            "2\t2026-12-09\t开户\t\t1000\t0\t工行卡\t1000\t妈妈\tSAccount\t2\t新增\n"
            "3\t2026-12-01\t工资\t年终\t12.5\t0\t现金\t112.5\t爸爸\tInTable\t1\t新增\n"));

    // Keys not given keep their stored values.
    EXPECT_EQ(cli({"edit", "income", "1", "amount=-0.5", "account=工行卡"}).code, 0);
    EXPECT_EQ(cli({"delete", "income", "1"}).code, 0);
    EXPECT_EQ(
        cli({"journal", "account=工行卡"}).out.split('\n', Qt::SkipEmptyParts).mid(2),
        QStringList({"5\t2026-12-01\t工资\t年终\t-0.5\t0\t工行卡\t999.5\t爸爸\tInTable\t1\t修改",
                     "6\t2026-12-01\t工资\t年终\t0\t-0.5\t工行卡\t1000\t爸爸\tInTable\t1\t删除"}));

    const CliRun tr = cli({"post", "transfer", "date=2026-12-02", "from=工行卡", "to=现金",
                           "amount=300", "member=妈妈"});
    ASSERT_EQ(tr.code, 0) << tr.err.toStdString();
    EXPECT_EQ(cli({"edit", "transfer", tr.out.trimmed(), "amount=200"}).code, 0);
    EXPECT_EQ(cli({"post", "expense", "date=2026-12-03", "category=餐饮", "amount=15",
                   "account=现金", "member=爸爸"})
                  .code,
              0);
    EXPECT_EQ(f.dm().balance(QStringLiteral("现金")), 285);
    EXPECT_EQ(f.dm().balance(QStringLiteral("工行卡")), 800);

    const CliRun check = cli({"check"});
    EXPECT_EQ(check.code, 0);
    EXPECT_EQ(check.out, QString());
}

TEST_F(CliPostingsTest, NamesAndRemarksPassThroughExactlyAndTheDateDefaultsToToday) {
    const CliRun r = cli({"post", "income", "category=老王's \"奖金\"", "amount=1",
                          "account=O'Neil 卡", "member=小'明", "remark=a=b; 'c' \"d\" 50%"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(postingRows(), "3\t" + QDate::currentDate().toString("yyyy-MM-dd") +
                                 "\t老王's \"奖金\"\ta=b; 'c' \"d\" 50%\t1\t0\tO'Neil "
                                 "卡\t1\t小'明\tInTable\t1\t新增");
}

TEST_F(CliPostingsTest, RefusalsCarryTheScreensMessage) {
    const QStringList base{"date=2026-12-01", "category=工资", "account=现金", "member=爸爸"};
    CliRun r = cli(QStringList{"post", "income", "amount=1.2.3"} + base);
    EXPECT_EQ(r.code, 3);
    EXPECT_EQ(r.err, QStringLiteral("金额 不是有效的数字！请重新录入！\n"));
    r = cli({"post", "income", "amount=1"});
    EXPECT_EQ(r.code, 3);
    EXPECT_EQ(r.err, QStringLiteral("请选择 收入类别！\n"));
    r = cli({"post", "transfer", "from=现金", "to=现金", "amount=1", "member=爸爸"});
    EXPECT_EQ(r.code, 3);
    EXPECT_EQ(r.err, QStringLiteral("到账账户 不能与 原账户 一样！请重新选择！\n"));
    r = cli({"edit", "expense", "7", "amount=1"});
    EXPECT_EQ(r.code, 3);
    EXPECT_EQ(r.err, QStringLiteral("找不到这条记录！\n"));
    EXPECT_EQ(cli({"delete", "transfer", "7"}).code, 3);
    EXPECT_EQ(cli(QStringList{"post", "income", "amount=1", "date=2026-13-01"} + base.mid(1)).code,
              3);
    EXPECT_EQ(postingRows(), QString());

    EXPECT_EQ(cli({"post", "gift", "amount=1"}).code, 2);
    EXPECT_EQ(cli({"post", "income", "colour=red"}).code, 2);
    EXPECT_EQ(cli({"post", "income", "from=现金"}).code, 2);
    EXPECT_EQ(cli({"post", "income", "amount=1", "amount=2"}).code, 2);
    EXPECT_EQ(cli({"edit", "income", "x1"}).code, 2);
    EXPECT_EQ(cli({"journal", "colour=red"}).code, 2);
}

TEST_F(CliPostingsTest, CheckListsTheDifferences) {
    f.db().exec(QStringLiteral("UPDATE SAccount SET AMoney=99 WHERE AName='现金'"));
    const CliRun r = cli({"check"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out.count('\n'), 2);
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("账户「现金」：账户余额 99，")));
}
