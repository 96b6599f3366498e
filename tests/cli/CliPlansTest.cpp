#include <gtest/gtest.h>

#include "support/CliRun.h"
#include "support/TempDataFile.h"

using namespace cw;

namespace {

const QString kHome = QStringLiteral("我家");

struct CliPlansTest : ::testing::Test {
    test::TempDataFile f;

    void SetUp() override {
        f.addBook(kHome, QStringLiteral("1"));
        f.dm().NewFamily(QStringLiteral("爸爸"));
        f.addAccount(QStringLiteral("钱包"), 100, QStringLiteral("爸爸"));
        // Opened as the account manager does, so the book checks clean.
        f.dm().List_Add(f.state().myToday, QStringLiteral("开户"), QString(), 100, 0,
                        QStringLiteral("钱包"), QStringLiteral("爸爸"), QStringLiteral("SAccount"),
                        f.db().lastInsertId(), QStringLiteral("新增"));
    }

    test::CliRun cli(const QStringList& args) {
        return test::runCli(QStringList{QStringLiteral("--home"), f.programDir(),
                                        QStringLiteral("--book"), kHome,
                                        QStringLiteral("--password"), QStringLiteral("1")} +
                            args);
    }

    QStringList planArgs(const QString& kind, const QString& name, const QString& every,
                         const QString& from, const QString& to) {
        return {QStringLiteral("plan"),
                QStringLiteral("add"),
                kind,
                name,
                QStringLiteral("amount=12.5"),
                QStringLiteral("account=钱包"),
                QStringLiteral("member=爸爸"),
                QStringLiteral("remark=a\tb"),
                QStringLiteral("every=") + every,
                QStringLiteral("from=") + from,
                QStringLiteral("to=") + to};
    }
};

}  // namespace

TEST_F(CliPlansTest, PlanAddListsAndExecutesDuePlans) {
    auto r = cli(planArgs(QStringLiteral("income"), QStringLiteral("category=工资"),
                          QStringLiteral("month"), QStringLiteral("2024-01-15"),
                          QStringLiteral("2025-01-15")) +
                 QStringList{QStringLiteral("day=20")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("13\n"));
    r = cli(planArgs(QStringLiteral("credit"), QStringLiteral("contact=老王"),
                     QStringLiteral("3months"), QStringLiteral("2024-01-10"),
                     QStringLiteral("2025-01-10")) +
            QStringList{QStringLiteral("day=5")});
    EXPECT_EQ(r.out, QStringLiteral("4\n"));

    r = cli({QStringLiteral("plans"), QStringLiteral("kind=credit")});
    ASSERT_EQ(r.code, 0);
    QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 6);
    EXPECT_EQ(lines[0], QStringLiteral("类别\t日期\t债务人\t金额\t账户名称\t家庭成员\t备注"));
    EXPECT_EQ(lines[1], QStringLiteral("债权\t2024-04-05\t老王\t12.5\t钱包\t爸爸\ta\\tb"));
    EXPECT_TRUE(lines[5].startsWith(QStringLiteral("合计\t")));
    EXPECT_TRUE(lines[5].contains(QStringLiteral("\t50")));

    r = cli({QStringLiteral("plans"), QStringLiteral("due")});
    EXPECT_EQ(r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts).size(), 1 + 17 + 1);

    r = cli({QStringLiteral("execute-due")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("17\n"));
    // 13 incomes up, 4 credits down.
    EXPECT_DOUBLE_EQ(f.dm().balance(QStringLiteral("钱包")), 100 + 13 * 12.5 - 4 * 12.5);
    EXPECT_EQ(f.count(QStringLiteral("InTable")), 13);
    EXPECT_EQ(f.count(QStringLiteral("Debt")), 4);
    r = cli({QStringLiteral("plans"), QStringLiteral("due")});
    EXPECT_EQ(r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts).size(), 2);
    r = cli({QStringLiteral("check")});
    EXPECT_EQ(r.code, 0) << r.out.toStdString();
}

TEST_F(CliPlansTest, RefusalsCarryTheWindowsMessages) {
    auto r = cli(planArgs(QStringLiteral("income"), QStringLiteral("category=工资"),
                          QStringLiteral("day"), QStringLiteral("2024-01-15"),
                          QStringLiteral("2024-01-15")));
    EXPECT_EQ(r.code, 3);
    EXPECT_EQ(r.err.trimmed(),
              QStringLiteral("结束日期 不能小于或等于 开始日期，请重新选择日期！"));
    r = cli(planArgs(QStringLiteral("income"), QStringLiteral("contact=老王"),
                     QStringLiteral("day"), QStringLiteral("2024-01-15"),
                     QStringLiteral("2024-01-16")));
    EXPECT_EQ(r.code, 2);
    r = cli(planArgs(QStringLiteral("income"), QStringLiteral("category=工资"),
                     QStringLiteral("weekly"), QStringLiteral("2024-01-15"),
                     QStringLiteral("2024-01-16")));
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(f.count(QStringLiteral("UPlan")), 0);
}

TEST_F(CliPlansTest, WarnKeepsOneThresholdPerMemberAndKind) {
    const QStringList add = {QStringLiteral("warn"),         QStringLiteral("add"),
                             QStringLiteral("kind=expense"), QStringLiteral("member=爸爸"),
                             QStringLiteral("amount=1000"),  QStringLiteral("remark= 省着点 ")};
    ASSERT_EQ(cli(add).code, 0);
    auto r = cli(add);
    EXPECT_EQ(r.code, 3);
    EXPECT_EQ(r.err.trimmed(), QStringLiteral("提醒 添加重复！"));

    r = cli({QStringLiteral("warn"), QStringLiteral("list")});
    QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], QStringLiteral("ID\t提醒类别\t家庭成员\t提醒金额\t提醒提示\t状态"));
    const QString id = lines[1].section(QLatin1Char('\t'), 0, 0);
    EXPECT_EQ(lines[1].section(QLatin1Char('\t'), 1),
              QStringLiteral("支出\t爸爸\t1000\t省着点\t启用"));

    EXPECT_EQ(
        cli({QStringLiteral("warn"), QStringLiteral("modify"), id, QStringLiteral("amount=1500")})
            .code,
        0);
    EXPECT_EQ(cli({QStringLiteral("warn"), QStringLiteral("disable"), id}).code, 0);
    r = cli({QStringLiteral("warn"), QStringLiteral("list")});
    EXPECT_TRUE(r.out.contains(QStringLiteral("支出\t爸爸\t1500\t省着点\t停用")));
    EXPECT_EQ(cli({QStringLiteral("warn"), QStringLiteral("delete"), id}).code, 0);
    EXPECT_EQ(cli({QStringLiteral("warn"), QStringLiteral("delete"), id}).code, 3);
}
