#include <gtest/gtest.h>

#include "reports/FundFlowLog.h"
#include "support/TempDataFile.h"

using namespace cw;

namespace {

class FundFlowLogTest : public ::testing::Test {
  protected:
    void SetUp() override { file.addBook(QStringLiteral("我家")); }

    qint64 entry(const char* date, double in, double out, const char* account,
                 const char* type = "收入", const char* member = "爸爸", const char* remark = "",
                 const char* book = "我家") {
        file.db().exec(QStringLiteral("INSERT INTO UList(BName,theDate,theType,Remark,theIn,theOut,"
                                      "AName,AMoney,FName) VALUES(?,?,?,?,?,?,?,-1,?)"),
                       u(book), u(date), u(type), u(remark), in, out, u(account), u(member));
        return file.db().lastInsertId();
    }
    double balance(qint64 id) {
        return file.db()
            .query(QStringLiteral("SELECT AMoney FROM UList WHERE ID=?"), id)
            .value(0, 0)
            .toDouble();
    }
    static QString u(const char* s) { return QString::fromUtf8(s); }
    static ReportFilter none() {
        ReportFilter f;
        f.datesTicked = false;
        return f;
    }

    test::TempDataFile file;
};

TEST_F(FundFlowLogTest, FiltersSortAndTotals) {
    entry("2024-01-02", 100, 0, "工行卡", "工资", "爸爸", "一月工资");
    entry("2024-01-01", 0, 30.25, "钱包", "餐饮", "妈妈", "午饭");
    entry("2024-02-01", 50, 0, "工行卡", "利息", "爸爸", "");
    entry("2024-01-05", 70, 0, "工行卡", "工资", "爸爸", "", "别家");

    ReportFilter f = none();
    EXPECT_EQ(FundFlowLog::table(file.db(), u("我家"), f, {}).rowCount(), 3);
    f.datesTicked = true;
    f.from = QDate(2024, 1, 1);
    f.to = QDate(2024, 1, 31);
    FundFlowLog::Totals t = FundFlowLog::totals(file.db(), u("我家"), f);
    EXPECT_EQ(t.count, 2);
    EXPECT_EQ(FundFlowLog::statusTexts(t),
              (QStringList{"记录：2", "收入合计：100.00", "支出合计：30.25"}));
    f.set(FilterKey::Member, u("妈妈"));
    f.set(FilterKey::Remark, u("午"));
    f.set(FilterKey::Category, u("餐饮"));
    EXPECT_EQ(FundFlowLog::totals(file.db(), u("我家"), f).count, 1);
    f.set(FilterKey::Account, u("工行卡"));
    const auto empty = FundFlowLog::totals(file.db(), u("我家"), f);
    EXPECT_EQ(FundFlowLog::statusTexts(empty),
              (QStringList{"记录：0", "收入合计：", "支出合计："}));

    // Journal order unsorted; by date when that item is chosen; unknown items sort by date.
    const auto dates = [&](std::optional<ReportSort> s) {
        const ReportTable r = FundFlowLog::table(file.db(), u("我家"), none(), s);
        QStringList out;
        for (int i = 0; i < r.rowCount(); ++i) out << r.text(i, Field::theDate);
        return out;
    };
    EXPECT_EQ(dates(std::nullopt), (QStringList{"2024-01-02", "2024-01-01", "2024-02-01"}));
    EXPECT_EQ(dates(ReportSort{u("日期"), false}),
              (QStringList{"2024-01-01", "2024-01-02", "2024-02-01"}));
    EXPECT_EQ(dates(ReportSort{u("x"), true}),
              (QStringList{"2024-02-01", "2024-01-02", "2024-01-01"}));
    EXPECT_TRUE(FundFlowLog::orderBy(ReportSort{u("本次余额"), false}).contains("AMoney"));
}

// In 100, out 30, in 50 give 100, 70, 120; rows of other accounts keep their balance, and
// neither an account balance nor a posting changes.
TEST_F(FundFlowLogTest, RecomputeOneAccountInOrder) {
    const qint64 a = entry("2024-01-01", 100, 0, "工行卡");
    const qint64 other = entry("2024-01-01", 999, 0, "钱包");
    const qint64 c = entry("2024-01-03", 50, 0, "工行卡");
    const qint64 b = entry("2024-01-02", 0, 30, "工行卡");
    const qint64 both = entry("2024-01-02", 5, 5, "工行卡");
    file.addAccount(u("工行卡"), 777);
    int rows = 0;
    // Shown with no account filter: still only that account's rows are rewritten.
    EXPECT_EQ(FundFlowLog::recompute(file.db(), u("我家"), u("工行卡"), none(),
                                     FundFlowLog::dateOrder(), &rows),
              QString());
    EXPECT_EQ(rows, 3);
    EXPECT_DOUBLE_EQ(balance(a), 100);
    EXPECT_DOUBLE_EQ(balance(b), 70);
    EXPECT_DOUBLE_EQ(balance(c), 120);
    EXPECT_DOUBLE_EQ(balance(both), -1);
    EXPECT_DOUBLE_EQ(balance(other), -1);
    EXPECT_DOUBLE_EQ(file.db()
                         .query(QStringLiteral("SELECT AMoney FROM SAccount WHERE AName='工行卡'"))
                         .value(0, 0)
                         .toDouble(),
                     777);

    EXPECT_EQ(
        FundFlowLog::recompute(file.db(), u("我家"), QString(), none(), FundFlowLog::dateOrder()),
        u("请选择 账户名称！"));

    // A row whose amount is not a number stops it with nothing changed.
    file.db().exec(QStringLiteral("UPDATE UList SET AMoney=-1"));
    file.db().exec(QStringLiteral("UPDATE UList SET theOut='x' WHERE ID=?"), c);
    EXPECT_FALSE(
        FundFlowLog::recompute(file.db(), u("我家"), u("工行卡"), none(), FundFlowLog::dateOrder())
            .isEmpty());
    EXPECT_DOUBLE_EQ(balance(a), -1);
}

TEST_F(FundFlowLogTest, EditAndDelete) {
    const qint64 a = entry("2024-01-01", 100, 0, "工行卡");
    const qint64 b = entry("2024-01-02", 0, 30, "钱包", "餐饮", "妈妈");
    entry("2024-01-03", 0, 40, "钱包", "餐饮", "妈妈");
    const qint64 foreign = entry("2024-01-03", 0, 40, "钱包", "餐饮", "妈妈", "", "别家");
    const int postings = file.count(u("OutTable"));

    FundFlowLog::EntryText e{QDate(2024, 1, 9), u("它's"), u("a'b\"c"), QString(),
                             u("12.5"),         u("现金"), u("儿子")};
    EXPECT_EQ(FundFlowLog::edit(file.db(), u("我家"), b, e), QString());
    const Query q = file.db().query(
        QStringLiteral("SELECT theDate,theType,Remark,theIn,theOut,AName,FName,AMoney FROM UList "
                       "WHERE ID=?"),
        b);
    EXPECT_EQ(q.value(0, 0).toString(), u("2024-01-09"));
    EXPECT_EQ(q.value(0, 2).toString(), u("a'b\"c"));
    EXPECT_DOUBLE_EQ(q.value(0, 3).toDouble(), 0);
    EXPECT_DOUBLE_EQ(q.value(0, 4).toDouble(), 12.5);
    EXPECT_DOUBLE_EQ(q.value(0, 7).toDouble(), -1);  // the balance is left alone
    e.in = u("12x");
    EXPECT_EQ(FundFlowLog::edit(file.db(), u("我家"), b, e),
              u("收入 不是有效的数字！请重新录入！"));
    e.in.clear();
    e.out = u("1000000000000");
    EXPECT_EQ(FundFlowLog::edit(file.db(), u("我家"), b, e),
              u("支出 不是有效的数字！请重新录入！"));

    EXPECT_EQ(FundFlowLog::deleteOne(file.db(), u("我家"), a), 1);
    EXPECT_EQ(FundFlowLog::deleteOne(file.db(), u("我家"), foreign), 0);  // another book's
    ReportFilter f = none();
    f.set(FilterKey::Account, u("钱包"));
    EXPECT_EQ(FundFlowLog::deleteMatching(file.db(), u("我家"), f), 1);
    EXPECT_EQ(FundFlowLog::deleteMatching(file.db(), u("我家"), none()), 1);
    EXPECT_EQ(file.count(u("UList")), 1);  // the other book's journal stays
    EXPECT_EQ(file.count(u("OutTable")), postings);
}

}  // namespace
