#include <gtest/gtest.h>

#include "support/CliRun.h"

using cw::test::CliRun;

#include <QDate>
#include <QProcess>

#include "bookkeeping/BookkeepingFixture.h"

namespace {

// Debts, credits and investments with their records through the headless companion.
class CliSubPostingsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        f.addBook(QStringLiteral("我家账簿"), QStringLiteral("pw"));
        cw::test::openAccount(f, QStringLiteral("现金"), 100, QStringLiteral("爸爸"));
        cw::test::openAccount(f, QStringLiteral("工行卡"), 1000, QStringLiteral("妈妈"));
        f.dm().NewFamily(QStringLiteral("爸爸"));
        f.dm().NewFamily(QStringLiteral("妈妈"));
    }

    CliRun cli(const QStringList& args) {
        return cw::test::runCli(
            QStringList{"--home", f.programDir(), "--book", "我家账簿", "--password", "pw"} + args);
    }

    // The journal rows after the two openings, without their ID column.
    QStringList rows() {
        const CliRun r = cli({"journal"});
        EXPECT_EQ(r.code, 0) << r.err.toStdString();
        QStringList lines = r.out.split('\n', Qt::SkipEmptyParts).mid(3);
        for (QString& line : lines) line = line.section('\t', 1);
        return lines;
    }

    void expectClean() {
        const CliRun r = cli({"check"});
        EXPECT_EQ(r.code, 0) << r.out.toStdString();
    }

    cw::test::TempDataFile f;
};

const QString kToday = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));

}  // namespace

TEST_F(CliSubPostingsTest, ADebtRepaidInPartThenWithTheDialogsPresetAndARepaymentDeleted) {
    CliRun r = cli({"post", "debt", "date=2026-11-01", "contact=老李", "amount=1000",
                    "account=工行卡", "member=妈妈", "remark=买车"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("1\n"));
    r = cli({"post", "repay", "id=1", "date=2026-11-15", "amount=400", "account=现金",
             "member=爸爸", "remark=先还"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("1\n"));
    // Keys not given take the dialog's presets: today, the debt's account and member, the rest.
    EXPECT_EQ(cli({"post", "repay", "id=1"}).out, QStringLiteral("2\n"));
    r = cli({"delete", "debt", "1"});
    EXPECT_EQ(r.code, 3);
    EXPECT_EQ(r.err,
              QStringLiteral("该债务有 已还金额，不能删除；如要删除，请先删除 还债记录。\n"));
    EXPECT_EQ(cli({"delete", "repay", "1"}).code, 0);
    EXPECT_EQ(rows(), (QStringList{
                          "2026-11-01\t债务\t买车\t1000\t0\t工行卡\t2000\t妈妈\tBorrow\t1\t新增",
                          "2026-11-15\t还债\t先还\t0\t400\t现金\t-300\t爸爸\tBorrowR\t1\t新增",
                          kToday + "\t还债\t\t0\t600\t工行卡\t1400\t妈妈\tBorrowR\t2\t新增",
                          kToday + "\t还债\t还债 删除\t400\t0\t现金\t100\t爸爸\tBorrowR\t1\t删除",
                      }));
    r = cli({"post", "repay", "id=1", "amount=400.01"});
    EXPECT_EQ(r.code, 3);
    EXPECT_EQ(r.err, QStringLiteral("还债金额 不能大于债务金额！\n"));
    expectClean();
}

TEST_F(CliSubPostingsTest, AnInvestmentReturnAndItsDeletionAreJournaledBothWays) {
    ASSERT_EQ(cli({"post", "investment", "date=2026-11-01", "category=基金", "amount=1000",
                   "account=工行卡", "member=妈妈"})
                  .code,
              0);
    const CliRun r = cli({"post", "return", "id=1", "date=2026-12-01", "principal=1000",
                          "profit=-30", "remark=赎回"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(cli({"delete", "return", r.out.trimmed()}).code, 0);
    EXPECT_EQ(rows().mid(1),
              (QStringList{
                  "2026-12-01\t收回本金\t赎回\t1000\t0\t工行卡\t1000\t妈妈\tTTableR\t1\t新增",
                  "2026-12-01\t收益\t赎回\t-30\t0\t工行卡\t970\t妈妈\tTTableR\t1\t新增",
                  kToday + "\t收回本金\t收益 删除\t0\t1000\t工行卡\t-30\t妈妈\tTTableR\t1\t删除",
                  kToday + "\t收益\t收益 删除\t0\t-30\t工行卡\t0\t妈妈\tTTableR\t1\t删除",
              }));
    expectClean();
}

TEST_F(CliSubPostingsTest, IncreaseAndDecreaseNameTheirParentsKind) {
    ASSERT_EQ(
        cli({"post", "credit", "contact=小张", "amount=300", "account=现金", "member=爸爸"}).code,
        0);
    EXPECT_EQ(cli({"post", "increase", "of=credit", "id=1", "amount=50"}).out,
              QStringLiteral("1\n"));
    const CliRun r = cli({"post", "decrease", "of=credit", "id=1", "amount=350.01"});
    EXPECT_EQ(r.code, 3);
    EXPECT_EQ(r.err, QStringLiteral("减少金额 不能大于债权金额！\n"));
    EXPECT_EQ(cli({"post", "decrease", "of=credit", "id=1", "amount=350"}).code, 0);
    EXPECT_EQ(cli({"post", "collect", "id=1"}).err,
              QStringLiteral("收债金额 不能小于或等于零！\n"));
    EXPECT_EQ(f.dm().balance(QStringLiteral("现金")), 100);
    expectClean();
}

TEST_F(CliSubPostingsTest, WrongWordsAreUsageErrorsAndWhatNoWindowDoesIsRefused) {
    ASSERT_EQ(
        cli({"post", "debt", "contact=老李", "amount=10", "account=现金", "member=爸爸"}).code, 0);
    EXPECT_EQ(cli({"post", "debt", "category=老李", "amount=10"}).code, 2);
    EXPECT_EQ(cli({"post", "investment", "contact=老李"}).code, 2);
    EXPECT_EQ(cli({"post", "repay", "amount=1"}).code, 2);
    EXPECT_EQ(cli({"post", "repay", "id=x"}).code, 2);
    EXPECT_EQ(cli({"post", "repay", "id=1", "of=debt"}).code, 2);
    EXPECT_EQ(cli({"post", "return", "id=1", "amount=1"}).code, 2);
    EXPECT_EQ(cli({"post", "increase", "id=1", "amount=1"}).code, 2);
    EXPECT_EQ(cli({"post", "increase", "of=income", "id=1", "amount=1"}).code, 2);
    EXPECT_EQ(cli({"post", "repay", "id=1", "id=1"}).code, 2);
    EXPECT_EQ(cli({"delete", "payback", "1"}).code, 2);

    CliRun r = cli({"post", "repay", "id=9"});
    EXPECT_EQ(r.code, 3);
    EXPECT_EQ(r.err, QStringLiteral("找不到这条记录！\n"));
    r = cli({"post", "repay", "id=1", "amount=1", "account=无此账户"});
    EXPECT_EQ(r.err, QStringLiteral("请选择 帐户名称！\n"));
    EXPECT_EQ(cli({"edit", "repay", "1"}).code, 3);
    EXPECT_EQ(cli({"post", "increase", "of=debt", "id=1", "amount=5"}).code, 0);
    r = cli({"delete", "increase", "1"});
    EXPECT_EQ(r.code, 3);
    EXPECT_EQ(r.err, QStringLiteral("增减记录不能删除！\n"));
    EXPECT_EQ(cli({"delete", "collect", "1"}).code, 3);
    EXPECT_EQ(rows().size(), 2);
}
