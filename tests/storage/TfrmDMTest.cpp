#include <gtest/gtest.h>

#include "storage/DbError.h"
#include "storage/SortClause.h"
#include "support/TempDataFile.h"

using namespace cw;

namespace {

class DataServices : public ::testing::Test {
  protected:
    void SetUp() override { f.addBook(QStringLiteral("我家账簿")); }

    void addCategory(const QString& table, const QString& column, const QString& name,
                     int count = 0, const QString& state = QStringLiteral("启用")) {
        f.dm().mySaveNew(table, column, name);
        f.db().exec(
            QStringLiteral("UPDATE %1 SET theCount=?, theState=? WHERE %2=?").arg(table, column),
            count, state, name);
    }

    Query journal() {
        return f.db().query(QStringLiteral(
            "SELECT theDate, theType, Remark, theIn, theOut, AName, AMoney, FName, BName, theT, "
            "theID, theE FROM UList ORDER BY ID"));
    }

    test::TempDataFile f;
};

}  // namespace

TEST_F(DataServices, BalanceMovesAreRoundedToCentsAndNeverDrift) {
    f.addAccount(QStringLiteral("现金"), 0);
    for (int i = 0; i < 10; ++i) f.dm().AccountUp(0.1, QStringLiteral("现金"));
    EXPECT_EQ(f.dm().RetAMoney(QStringLiteral("现金")), QStringLiteral("1"));
    f.dm().AccountDown(0.3, QStringLiteral("现金"));
    f.dm().AccountDown(2.004, QStringLiteral("现金"));
    EXPECT_EQ(f.dm().balance(QStringLiteral("现金")), -1.3);
    EXPECT_EQ(f.dm().RetAMoney(QStringLiteral("现金")), QStringLiteral("-1.3"));
}

TEST_F(DataServices, BalanceMovesStayInTheOpenBook) {
    f.addAccount(QStringLiteral("现金"), 100);
    f.addBook(QStringLiteral("别人的账簿"));
    f.addAccount(QStringLiteral("现金"), 5);
    f.dm().AccountUp(50, QStringLiteral("现金"));
    EXPECT_EQ(f.dm().balance(QStringLiteral("现金")), 55.0);
    f.openBook(QStringLiteral("我家账簿"));
    EXPECT_EQ(f.dm().balance(QStringLiteral("现金")), 100.0);
}

TEST_F(DataServices, RetAMoneyOfAMissingAccountIsZero) {
    EXPECT_EQ(f.dm().RetAMoney(QStringLiteral("没有的账户")), QStringLiteral("0"));
}

TEST_F(DataServices, JournalRowCarriesTheBalanceAfterTheMove) {
    f.addAccount(QStringLiteral("工行卡"), 200, QStringLiteral("爸爸"), QStringLiteral("银行卡"));
    f.dm().AccountUp(1000.5, QStringLiteral("工行卡"));
    const qint64 id = f.dm().List_Add("2026-12-01", "工资", "十二月 'bonus'", 1000.5, 0, "工行卡",
                                      "爸爸", "InTable", 7, "新增");
    f.dm().AccountDown(300, QStringLiteral("工行卡"));
    f.dm().List_Add("2026-12-02", "餐费", "", 0, 300, "工行卡", "爸爸", "OutTable", 3, "新增");
    // A journal row for an account the book does not have carries balance 0.
    f.dm().List_Add("2026-12-03", "调账", "", 1, 0, "无此账户", "爸爸", "SAccount", 9, "新增");

    Query j = journal();
    ASSERT_EQ(j.recordCount(), 3);
    EXPECT_GT(id, 0);
    EXPECT_EQ(j.text("theDate"), QStringLiteral("2026-12-01"));
    EXPECT_EQ(j.text("theType"), QStringLiteral("工资"));
    EXPECT_EQ(j.text("Remark"), QStringLiteral("十二月 'bonus'"));
    EXPECT_EQ(j.number("theIn"), 1000.5);
    EXPECT_EQ(j.number("theOut"), 0.0);
    EXPECT_EQ(j.text("AName"), QStringLiteral("工行卡"));
    EXPECT_EQ(j.number("AMoney"), 1200.5);
    EXPECT_EQ(j.text("FName"), QStringLiteral("爸爸"));
    EXPECT_EQ(j.text("BName"), QStringLiteral("我家账簿"));
    EXPECT_EQ(j.text("theT"), QStringLiteral("InTable"));
    EXPECT_EQ(j.integer("theID"), 7);
    EXPECT_EQ(j.text("theE"), QStringLiteral("新增"));
    j.next();
    EXPECT_EQ(j.number("theOut"), 300.0);
    EXPECT_EQ(j.number("AMoney"), 900.5);
    j.next();
    EXPECT_EQ(j.number("AMoney"), 0.0);
}

TEST_F(DataServices, RetIdIsEmptyForAnEmptyTableThenTheNewestRow) {
    EXPECT_EQ(f.dm().myRetID(QStringLiteral("InTable")), QString());
    f.db().exec(QStringLiteral("INSERT INTO InTable(BName) VALUES('我家账簿')"));
    EXPECT_EQ(f.dm().myRetID(QStringLiteral("InTable")), QString::number(f.db().lastInsertId()));
    EXPECT_THROW(f.dm().myRetID(QStringLiteral("InTable; DROP TABLE SBook")), DbError);
}

TEST_F(DataServices, CountsAndStatesTouchOnlyTheOpenBooksRow) {
    f.dm().mySaveNew(QStringLiteral("InD"), QStringLiteral("IName"), QStringLiteral("工资"));
    f.addBook(QStringLiteral("另一本"));
    f.dm().mySaveNew(QStringLiteral("InD"), QStringLiteral("IName"), QStringLiteral("工资"));
    f.openBook(QStringLiteral("我家账簿"));
    f.dm().myCountUp(QStringLiteral("InD"), QStringLiteral("IName"), QStringLiteral("工资"));
    f.dm().myCountUp(QStringLiteral("InD"), QStringLiteral("IName"), QStringLiteral("工资"));
    Query q = f.db().query(QStringLiteral("SELECT BName, theCount, ID FROM InD ORDER BY ID"));
    EXPECT_EQ(q.integer("theCount"), 2);
    const qint64 id = q.integer("ID");
    q.next();
    EXPECT_EQ(q.integer("theCount"), 0);

    f.dm().myState(QStringLiteral("InD"), QStringLiteral("停用"), id);
    EXPECT_EQ(
        f.db().query(QStringLiteral("SELECT theState FROM InD WHERE ID=?"), id).text("theState"),
        QStringLiteral("停用"));
    EXPECT_TRUE(f.dm().ComInType().isEmpty());
}

TEST_F(DataServices, SaveNewCreatesEnabledRowsWithPinyinOnceOnly) {
    EXPECT_TRUE(f.dm().mySaveNew("PD", "PName", QStringLiteral("张三")));
    EXPECT_FALSE(f.dm().mySaveNew("PD", "PName", QStringLiteral("张三")));
    const Query q = f.db().query(QStringLiteral("SELECT * FROM PD"));
    ASSERT_EQ(q.recordCount(), 1);
    EXPECT_EQ(q.text("theState"), QStringLiteral("启用"));
    EXPECT_EQ(q.integer("theCount"), 0);
    EXPECT_EQ(q.text("thePY"), QStringLiteral("ZS"));
    EXPECT_EQ(q.text("BName"), QStringLiteral("我家账簿"));

    // A disabled row of the same name counts as existing: nothing new is created.
    addCategory("OutD", "OName", QStringLiteral("餐费"), 0, QStringLiteral("停用"));
    EXPECT_FALSE(f.dm().mySaveNew("OutD", "OName", QStringLiteral("餐费")));
    EXPECT_EQ(f.count("OutD"), 1);
}

TEST_F(DataServices, NamesCompareExactly) {
    f.addAccount(QStringLiteral("Visa"));
    EXPECT_TRUE(f.dm().NewAccount(QStringLiteral("visa"), QStringLiteral("我")));
    EXPECT_TRUE(f.dm().NewAccount(QStringLiteral("Visa "), QStringLiteral("我")));
    EXPECT_FALSE(f.dm().NewAccount(QStringLiteral("Visa"), QStringLiteral("我")));
    EXPECT_EQ(f.count("SAccount"), 3);
    f.dm().AccountUp(10, QStringLiteral("visa"));
    EXPECT_EQ(f.dm().balance(QStringLiteral("Visa")), 0.0);
    EXPECT_EQ(f.dm().balance(QStringLiteral("visa")), 10.0);
}

TEST_F(DataServices, NewFamilyAndNewAccountFillTheirDefaults) {
    EXPECT_TRUE(f.dm().NewFamily(QStringLiteral("小明")));
    EXPECT_FALSE(f.dm().NewFamily(QStringLiteral("小明")));
    const Query m = f.db().query(QStringLiteral("SELECT * FROM SFamily"));
    EXPECT_EQ(m.recordCount(), 1);
    EXPECT_EQ(m.text("thePY"), QStringLiteral("XM"));
    EXPECT_EQ(m.text("BirDate"), QString());

    EXPECT_TRUE(f.dm().NewAccount(QStringLiteral("零钱包"), QStringLiteral("小明")));
    const Query a = f.db().query(QStringLiteral("SELECT * FROM SAccount"));
    EXPECT_EQ(a.text("theType"), QStringLiteral("现金"));
    EXPECT_EQ(a.number("AMoney"), 0.0);
    EXPECT_EQ(a.text("FName"), QStringLiteral("小明"));
    EXPECT_EQ(a.text("theState"), QStringLiteral("启用"));
}

TEST_F(DataServices, MonthSumCountsTheMembersCurrentMonthOnly) {
    EXPECT_EQ(f.dm().myRetMMoney("OutTable", QStringLiteral("爸爸"), "OMoney", "ODate"), 0.0);
    const auto add = [&](const char* date, const char* member, double money, const char* book) {
        f.db().exec(
            QStringLiteral("INSERT INTO OutTable(BName,ODate,FName,OMoney) VALUES(?,?,?,?)"),
            QString::fromUtf8(book), QString::fromUtf8(date), QString::fromUtf8(member), money);
    };
    add("2026-12-01", "爸爸", 10.1, "我家账簿");
    add("2026-12-31", "爸爸", 20.2, "我家账簿");
    add("2026-11-30", "爸爸", 1000, "我家账簿");
    add("2027-01-01", "爸爸", 1000, "我家账簿");
    add("2026-12-15", "妈妈", 1000, "我家账簿");
    add("2026-12-15", "爸爸", 1000, "另一本");
    EXPECT_DOUBLE_EQ(f.dm().myRetMMoney("OutTable", QStringLiteral("爸爸"), "OMoney", "ODate"),
                     30.3);
}

TEST_F(DataServices, ListsFollowTheBooksSortCodeAndShowEnabledRowsOnly) {
    addCategory("InD", "IName", QStringLiteral("工资"), 5);
    addCategory("InD", "IName", QStringLiteral("奖金"), 1);
    addCategory("InD", "IName", QStringLiteral("利息"), 3);
    addCategory("InD", "IName", QStringLiteral("停掉的"), 9, QStringLiteral("停用"));
    const auto list = [&](const char* code) {
        f.state().myPX = QString::fromUtf8(code);
        return f.dm().ComInType();
    };
    EXPECT_EQ(list("5"), QStringList({"工资", "奖金", "利息"}));
    EXPECT_EQ(list("1"), QStringList({"奖金", "利息", "工资"}));
    EXPECT_EQ(list("3"), QStringList({"工资", "利息", "奖金"}));
    // Name order is pinyin order: gong, jiang, li.
    EXPECT_EQ(list("2"), QStringList({"工资", "奖金", "利息"}));
    EXPECT_EQ(list("4"), QStringList({"利息", "奖金", "工资"}));
    EXPECT_EQ(list("x"), list("5"));
}

TEST_F(DataServices, FamilyListsKnowOnlyTheNameOrders) {
    for (const char* n : {"乙", "甲", "丙"}) f.dm().NewFamily(QString::fromUtf8(n));
    f.state().myPX = "1";
    EXPECT_EQ(f.dm().ComFamily(), QStringList({"乙", "甲", "丙"}));
    f.state().myPX = "3";
    EXPECT_EQ(f.dm().ComFamily(), QStringList({"乙", "甲", "丙"}));
    f.state().myPX = "2";
    EXPECT_EQ(f.dm().ComFamily(), QStringList({"丙", "甲", "乙"}));
    f.state().myPX = "4";
    EXPECT_EQ(f.dm().ComFamily(), QStringList({"乙", "甲", "丙"}));
}

TEST_F(DataServices, JournalKindsAreThoseOfTheOpenBookOnly) {
    f.dm().List_Add("2026-12-01", "工资", "", 1, 0, "现金", "", "InTable", 1, "新增");
    f.dm().List_Add("2026-12-01", "开户", "", 1, 0, "现金", "", "SAccount", 1, "新增");
    f.dm().List_Add("2026-12-02", "工资", "", 1, 0, "现金", "", "InTable", 2, "新增");
    f.addBook(QStringLiteral("私房钱"));
    f.dm().List_Add("2026-12-01", "秘密类别", "", 1, 0, "现金", "", "InTable", 3, "新增");
    f.openBook(QStringLiteral("我家账簿"));
    EXPECT_EQ(f.dm().DBComSZType(), QStringList({"工资", "开户"}));
    EXPECT_FALSE(f.dm().DBComSZType().contains(QStringLiteral("秘密类别")));
    EXPECT_EQ(f.dm().DBComSBook(), QStringList({"我家账簿", "私房钱"}));
}

TEST_F(DataServices, NameSearchCompletesOnlyAUniqueMatch) {
    addCategory("InD", "IName", QStringLiteral("工资"));
    addCategory("InD", "IName", QStringLiteral("奖金"));
    addCategory("InD", "IName", QStringLiteral("工程款"));
    addCategory("InD", "IName", QStringLiteral("100%_返利"));
    addCategory("InD", "IName", QStringLiteral("资格费"), 0, QStringLiteral("停用"));
    const auto pick = [&](const QString& typed) {
        return f.dm().mySelectCom(typed, QStringLiteral("IName"), QStringLiteral("InD"));
    };
    EXPECT_EQ(pick(QStringLiteral("奖")), QStringLiteral("奖金"));
    EXPECT_EQ(pick(QStringLiteral("GZ")), QStringLiteral("工资"));
    EXPECT_EQ(pick(QStringLiteral("gz")), QStringLiteral("工资"));  // initials in either case
    EXPECT_EQ(pick(QStringLiteral("工")), std::nullopt);            // two matches
    EXPECT_EQ(pick(QString()), std::nullopt);                       // everything matches
    EXPECT_EQ(pick(QStringLiteral("房租")), std::nullopt);
    EXPECT_EQ(pick(QStringLiteral("资格")), std::nullopt);  // disabled rows are not offered
    // The user's % and _ are ordinary characters.
    EXPECT_EQ(pick(QStringLiteral("%")), QStringLiteral("100%_返利"));
    EXPECT_EQ(pick(QStringLiteral("0%_")), QStringLiteral("100%_返利"));
    EXPECT_EQ(pick(QStringLiteral("_")), QStringLiteral("100%_返利"));
    EXPECT_EQ(pick(QStringLiteral("'")), std::nullopt);
}

TEST_F(DataServices, NameSearchOverMembersIgnoresStateAndStaysInTheBook) {
    f.dm().NewFamily(QStringLiteral("王小明"));
    f.addBook(QStringLiteral("别的"));
    f.dm().NewFamily(QStringLiteral("王大明"));
    f.openBook(QStringLiteral("我家账簿"));
    EXPECT_EQ(f.dm().mySelectCom(QStringLiteral("明"), "FName", "SFamily"),
              QStringLiteral("王小明"));
    EXPECT_EQ(f.dm().mySelectCom(QStringLiteral("WXM"), "FName", "SFamily"),
              QStringLiteral("王小明"));
}

TEST(SortClauses, PostingOrders) {
    EXPECT_EQ(SortClause::postings("1", "IDate"), QStringLiteral(" ORDER BY ID"));
    EXPECT_EQ(SortClause::postings("2", "IDate"), QStringLiteral(" ORDER BY IDate, ID"));
    EXPECT_EQ(SortClause::postings("3", "IDate"), QStringLiteral(" ORDER BY ID DESC"));
    EXPECT_EQ(SortClause::postings("4", "IDate"), QStringLiteral(" ORDER BY IDate DESC, ID DESC"));
}

TEST(MonthRanges, SelectExactlyTheMonth) {
    const auto [from, to] = TfrmDM::monthRange("2026-12");
    EXPECT_EQ(from, QStringLiteral("2026-12"));
    EXPECT_EQ(to, QStringLiteral("2026-13"));
    EXPECT_EQ(TfrmDM::monthRange("2026-09").second, QStringLiteral("2026-0:"));
}

TEST_F(DataServices, MenuSwitchIsCalledWithTheFlag) {
    std::vector<bool> calls;
    f.dm().myShow(true);  // no switch installed: nothing happens
    f.dm().setMenuSwitch([&](bool on) { calls.push_back(on); });
    f.dm().myShow(false);
    f.dm().myShow(true);
    EXPECT_EQ(calls, (std::vector<bool>{false, true}));
}
