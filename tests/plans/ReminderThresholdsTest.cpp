#include <gtest/gtest.h>

#include "bookkeeping/BookkeepingFixture.h"
#include "plans/ReminderThresholds.h"

using namespace cw;
using Field = ReminderThresholds::Field;

namespace {

const QString kDad = QStringLiteral("爸爸");

class ReminderThresholdsTest : public ::testing::Test {
  protected:
    void SetUp() override { f.addBook(QStringLiteral("我家")); }
    ReminderThresholds warn() { return ReminderThresholds(f.dm()); }
    test::TempDataFile f;
};

}  // namespace

TEST_F(ReminderThresholdsTest, AddChecksInOrderAndRefusesASecondOfTheSameMemberAndKind) {
    const QString out = QStringLiteral("支出");
    auto v = warn().add(out, QString(), QString(), QString());
    EXPECT_EQ(v.message, QStringLiteral("请选择 家庭成员！"));
    EXPECT_EQ(v.focus, Field::Member);
    v = warn().add(out, kDad, QString(), QString());
    EXPECT_EQ(v.message, QStringLiteral("提醒金额 不能为空！请重新录入！"));
    v = warn().add(out, kDad, QStringLiteral("1000"), QString());
    EXPECT_EQ(v.message, QStringLiteral("提醒提示  不能为空！请重新录入！"));
    EXPECT_EQ(v.focus, Field::Hint);
    v = warn().add(out, kDad, QStringLiteral("1.2.3"), QStringLiteral("省着点"));
    EXPECT_EQ(v.focus, Field::Amount);
    EXPECT_EQ(f.count(QStringLiteral("UWarn")), 0);

    EXPECT_TRUE(warn().add(out, kDad, QStringLiteral("1000"), QStringLiteral("  省着点 ")).ok());
    EXPECT_EQ(warn().add(out, kDad, QStringLiteral("5"), QStringLiteral("再来")).message,
              QStringLiteral("提醒 添加重复！"));
    EXPECT_TRUE(
        warn().add(QStringLiteral("收入"), kDad, QStringLiteral("5"), QStringLiteral("好")).ok());
    // Another book may watch the same member and kind.
    f.addBook(QStringLiteral("别家"));
    EXPECT_TRUE(warn().add(out, kDad, QStringLiteral("5"), QStringLiteral("别家的")).ok());
    f.openBook(QStringLiteral("我家"));

    const auto rows = warn().list();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].kind, QStringLiteral("支出"));  // ordered by kind in pinyin: shou, zhi
    EXPECT_EQ(rows[1].hint, QStringLiteral("省着点"));
    EXPECT_EQ(rows[1].state, QStringLiteral("启用"));
    EXPECT_DOUBLE_EQ(rows[1].amount, 1000);
}

TEST_F(ReminderThresholdsTest, ModifyChangesAmountAndHintOnlyAndStateSwitches) {
    ASSERT_TRUE(
        warn()
            .add(QStringLiteral("支出"), kDad, QStringLiteral("1000"), QStringLiteral("省着点"))
            .ok());
    const qint64 id = warn().list()[0].id;
    EXPECT_EQ(warn().modify(id, QString(), QStringLiteral("x")).message,
              QStringLiteral("提醒金额 不能为空！请重新录入！"));
    EXPECT_EQ(warn().modify(id, QStringLiteral("5"), QString()).message,
              QStringLiteral("提醒提示 不能为空！请重新录入！"));
    // Blanks only pass and are stored as empty text.
    EXPECT_TRUE(warn().modify(id, QStringLiteral("1500.5"), QStringLiteral("   ")).ok());
    auto row = warn().list()[0];
    EXPECT_DOUBLE_EQ(row.amount, 1500.5);
    EXPECT_EQ(row.hint, QString());
    EXPECT_EQ(row.member, kDad);

    warn().setState(id, ReminderThresholds::kDisabled);
    EXPECT_EQ(warn().list()[0].state, QStringLiteral("停用"));
    warn().setState(id, ReminderThresholds::kEnabled);
    EXPECT_EQ(warn().list()[0].state, QStringLiteral("启用"));
    EXPECT_TRUE(warn().remove(id));
    EXPECT_FALSE(warn().remove(id));
    EXPECT_TRUE(warn().list().empty());
}
