#include <gtest/gtest.h>

#include "reference/BalanceAdjustment.h"
#include "reference/ReferenceManager.h"
#include "storage/DbError.h"
#include "storage/PinyinCode.h"
#include "support/TempDataFile.h"

using namespace cw;
using Kind = ReferenceList::Kind;
using Field = ReferenceManager::Field;
using Entry = ReferenceManager::Entry;

namespace {

const QString kHome = QStringLiteral("我家账簿");
const QString kOther = QStringLiteral("别人账簿");
// A quote, a percent sign and a backslash: stored and found exactly as typed.
const QString kOdd = QStringLiteral("老王's 100%\\");
// Twenty Chinese characters, the longest name the fields take.
const QString kLong = QStringLiteral("一二三四五六七八九十甲乙丙丁戊己庚辛壬癸");

// One place that stores a name: table.column, for plans only those of one kind.
struct Place {
    const char* table;
    const char* column;
    const char* planKind = nullptr;
};

// Every list with what it must refuse and where its names are stored.
struct ListCase {
    const char* title;
    Kind kind;
    const char* table;
    const char* nameColumn;
    const char* empty;
    const char* duplicate;
    std::vector<Place> renamed;  // reached by a rename
    std::vector<Place> kept;     // the same text meaning something else: never touched
    QString GlobalState::*byDefault;
};

const std::vector<Place> kMemberPlaces = {
    {"BList", "FName"}, {"Borrow", "FName"}, {"BorrowR", "FName"}, {"Debt", "FName"},
    {"DebtR", "FName"}, {"DList", "FName"},  {"InTable", "FName"}, {"OutTable", "FName"},
    {"SMRX", "FName"},  {"TList", "FName"},  {"TTable", "FName"},  {"TTableR", "FName"},
    {"UList", "FName"}, {"UPlan", "FName"},  {"ChangeT", "FName"}, {"SAccount", "FName"},
    {"UWarn", "FName"}, {"UThing", "FName"},
};

const std::vector<Place> kAccountPlaces = {
    {"BList", "AName"}, {"Borrow", "AName"}, {"BorrowR", "AName"}, {"Debt", "AName"},
    {"DebtR", "AName"}, {"DList", "AName"},  {"InTable", "AName"}, {"OutTable", "AName"},
    {"SMRX", "AName"},  {"TList", "AName"},  {"TTable", "AName"},  {"TTableR", "AName"},
    {"UList", "AName"}, {"UPlan", "AName"},  {"ChangeT", "OldN"},  {"ChangeT", "NewN"},
};

const ListCase kCases[] = {
    {"Income",
     Kind::Income,
     "InD",
     "IName",
     "收入类别不能为空！请重新录入！",
     "收入类别添加重复！",
     {{"InTable", "IName"}, {"UPlan", "PName", "收入"}, {"SMRX", "IName"}},
     {{"UPlan", "PName", "支出"},
      {"UPlan", "PName", "债务"},
      {"OutTable", "OName"},
      {"SMRX", "OName"}},
     &GlobalState::myIName},
    {"Expense",
     Kind::Expense,
     "OutD",
     "OName",
     "支出类别不能为空！请重新录入！",
     "支出类别添加重复！",
     {{"OutTable", "OName"}, {"UPlan", "PName", "支出"}, {"SMRX", "OName"}},
     {{"UPlan", "PName", "收入"},
      {"UPlan", "PName", "债权"},
      {"InTable", "IName"},
      {"SMRX", "IName"}},
     &GlobalState::myOName},
    {"Investment",
     Kind::Investment,
     "TD",
     "TName",
     "投资类别不能为空！请重新录入！",
     "投资类别添加重复！",
     {{"TTable", "TName"}, {"UPlan", "PName", "投资"}, {"SMRX", "TName"}},
     {{"UPlan", "PName", "收入"}, {"UPlan", "PName", "支出"}, {"InTable", "IName"}},
     &GlobalState::myTName},
    {"Members",
     Kind::Members,
     "SFamily",
     "FName",
     "姓名不能为空！请重新录入！",
     "姓名添加重复！",
     kMemberPlaces,
     {{"Borrow", "BPro"}, {"InTable", "AName"}, {"UPlan", "PName", "收入"}},
     &GlobalState::myFName},
    {"Contacts",
     Kind::Contacts,
     "PD",
     "PName",
     "往来人员不能为空！请重新录入！",
     "往来人员添加重复！",
     {{"Debt", "DPro"},
      {"Borrow", "BPro"},
      {"UPlan", "PName", "债务"},
      {"UPlan", "PName", "债权"},
      {"SMRX", "PName"}},
     {{"UPlan", "PName", "收入"},
      {"UPlan", "PName", "支出"},
      {"UPlan", "PName", "投资"},
      {"InTable", "IName"},
      {"SMRX", "IName"}},
     &GlobalState::myPName},
    {"Accounts",
     Kind::Accounts,
     "SAccount",
     "AName",
     "账户名称不能为空！请重新录入！",
     "账户名称添加重复！",
     kAccountPlaces,
     {{"InTable", "FName"}, {"Debt", "DPro"}, {"SAccount", "FName"}},
     &GlobalState::myAName},
};

QString text(const char* s) {
    return QString::fromUtf8(s);
}

// The entry a manager's add needs for a bare name; accounts also want a type, an owner and
// an opening amount.
Entry entryFor(Kind kind, const QString& name) {
    Entry e;
    e.name = name;
    if (kind == Kind::Accounts) {
        e.type = QStringLiteral("现金");
        e.member = QStringLiteral("爸爸");
        e.amount = QStringLiteral("0");
    }
    return e;
}

class ReferenceManagerBase : public ::testing::Test {
  protected:
    void SetUp() override {
        f.addBook(kOther);
        f.addBook(kHome);  // the open book
    }

    ReferenceManager manager(Kind kind) { return ReferenceManager(f.dm(), kind); }

    qint64 add(Kind kind, const QString& name) {
        const auto r = manager(kind).add(entryFor(kind, name));
        EXPECT_TRUE(r.ok()) << r.message.toStdString();
        return r.id;
    }

    // The same name added in the other book, the open book left as it was.
    qint64 addInOther(Kind kind, const QString& name) {
        f.openBook(kOther);
        const qint64 id = add(kind, name);
        f.openBook(kHome);
        return id;
    }

    // The settings row exists per book; every other place gets a row of its own.
    void plant(const Place& p, const QString& value, const QString& book) {
        if (qstrcmp(p.table, "SMRX") == 0) {
            f.db().exec(QStringLiteral("UPDATE SMRX SET %1=? WHERE BName=?").arg(text(p.column)),
                        value, book);
        } else if (p.planKind) {
            f.db().exec(QStringLiteral("INSERT INTO %1(BName,%2,PType) VALUES(?,?,?)")
                            .arg(text(p.table), text(p.column)),
                        book, value, text(p.planKind));
        } else {
            f.db().exec(QStringLiteral("INSERT INTO %1(BName,%2) VALUES(?,?)")
                            .arg(text(p.table), text(p.column)),
                        book, value);
        }
    }

    int countAt(const Place& p, const QString& value, const QString& book) {
        QString sql = QStringLiteral("SELECT count(*) AS n FROM %1 WHERE %2=? AND BName=?")
                          .arg(text(p.table), text(p.column));
        if (!p.planKind) return int(f.db().query(sql, value, book).integer("n"));
        sql += QStringLiteral(" AND PType=?");
        return int(f.db().query(sql, value, book, text(p.planKind)).integer("n"));
    }

    Query row(const QString& table, qint64 id) {
        return f.db().query(QStringLiteral("SELECT * FROM %1 WHERE ID=?").arg(table), id);
    }

    Query journal() {
        return f.db().query(QStringLiteral("SELECT * FROM UList WHERE BName=? ORDER BY ID"), kHome);
    }

    test::TempDataFile f;
};

class ListTest : public ReferenceManagerBase, public ::testing::WithParamInterface<ListCase> {
  protected:
    const ListCase& c() const { return GetParam(); }
    QString table() const { return text(c().table); }

    // The name at every place in both books, and the lookalikes in the open one. Accounts
    // add a journal row of their own (the opening), so the rows are counted as planted.
    void plantEverywhere(const QString& name) {
        planted_ = name;
        for (const Place& p : c().renamed) {
            plant(p, name, kHome);
            plant(p, name, kOther);
            counts_.push_back({countAt(p, name, kHome), countAt(p, name, kOther)});
        }
        for (const Place& p : c().kept) plant(p, name, kHome);
    }

    // Every planted row of the open book carries home, of the other book other.
    void expectEverywhere(const QString& home, const QString& other) {
        for (size_t i = 0; i < c().renamed.size(); ++i) {
            const Place& p = c().renamed[i];
            SCOPED_TRACE(std::string(p.table) + "." + p.column);
            EXPECT_EQ(countAt(p, home, kHome), counts_[i].first);
            EXPECT_EQ(countAt(p, other, kOther), counts_[i].second);
            if (home != planted_) {
                EXPECT_EQ(countAt(p, planted_, kHome), 0);
            }
            if (other != planted_) {
                EXPECT_EQ(countAt(p, planted_, kOther), 0);
            }
        }
    }

    void expectLookalikesKept(const QString& name) {
        for (const Place& p : c().kept) {
            SCOPED_TRACE(std::string("kept ") + p.table + "." + p.column);
            EXPECT_EQ(countAt(p, name, kHome), 1);
        }
    }

  private:
    QString planted_;
    std::vector<std::pair<int, int>> counts_;  // per renamed place: rows in home, in other
};

void PrintTo(const ListCase& c, std::ostream* os) {
    *os << c.title;
}

std::string caseName(const ::testing::TestParamInfo<ListCase>& info) {
    return info.param.title;
}

}  // namespace

// ---- add -------------------------------------------------------------------------------

TEST_P(ListTest, AddRefusesEmptyAndDuplicateNamesWithinTheBookOnly) {
    ReferenceManager m = manager(c().kind);
    for (const QString& blank : {QString(), QStringLiteral("   ")}) {
        const auto r = m.add(entryFor(c().kind, blank));
        EXPECT_EQ(r.message, text(c().empty));
        EXPECT_EQ(r.focus, Field::Name);
    }
    const qint64 id = add(c().kind, kOdd);
    const Query stored = row(table(), id);
    EXPECT_EQ(stored.text(c().nameColumn), kOdd);
    EXPECT_EQ(stored.text("BName"), kHome);
    EXPECT_EQ(stored.text("thePY"), PinyinCode::of(kOdd));
    if (m.list().hasState) {
        EXPECT_EQ(stored.text("theState"), QStringLiteral("启用"));
        EXPECT_EQ(stored.integer("theCount"), 0);
    }

    const int before = f.count(table());
    const auto again = m.add(entryFor(c().kind, kOdd));
    EXPECT_EQ(again.message, text(c().duplicate));
    EXPECT_EQ(f.count(table()), before);

    // The other book may have the name; a name that only looks alike as a LIKE pattern is new.
    addInOther(c().kind, kOdd);
    add(c().kind, QStringLiteral("老王's 100X\\"));
    add(c().kind, kLong);
    EXPECT_EQ(manager(c().kind).nameOf(id), kOdd);
    EXPECT_EQ(m.rows().recordCount(), 3);
}

// ---- rename cascades --------------------------------------------------------------------

TEST_P(ListTest, RenameReachesEveryPlaceOfTheOpenBookOnly) {
    const qint64 id = add(c().kind, kOdd);
    addInOther(c().kind, kOdd);
    plantEverywhere(kOdd);
    f.state().*c().byDefault = kOdd;

    Entry e = entryFor(c().kind, kLong);
    const auto r = manager(c().kind).modify(id, e);
    ASSERT_TRUE(r.ok()) << r.message.toStdString();

    expectEverywhere(kLong, kOdd);
    expectLookalikesKept(kOdd);
    EXPECT_EQ(f.state().*c().byDefault, kLong);
    const Query stored = row(table(), id);
    EXPECT_EQ(stored.text(c().nameColumn), kLong);
    EXPECT_EQ(stored.text("thePY"), PinyinCode::of(kLong));
    // The other book's row of the same name is its own.
    f.openBook(kOther);
    ReferenceManager other = manager(c().kind);
    EXPECT_EQ(other.rows().text(other.list().label), kOdd);
}

TEST_P(ListTest, RenameOntoANameTheBookHasIsRefusedAndChangesNothing) {
    const qint64 id = add(c().kind, kOdd);
    add(c().kind, kLong);
    plantEverywhere(kOdd);
    f.state().*c().byDefault = kOdd;

    const auto r = manager(c().kind).modify(id, entryFor(c().kind, kLong));
    EXPECT_EQ(r.message, text(c().duplicate));
    expectEverywhere(kOdd, kOdd);
    EXPECT_EQ(f.state().*c().byDefault, kOdd);
    EXPECT_EQ(row(table(), id).text(c().nameColumn), kOdd);

    // Only this book counts: a name the other book has is free here.
    addInOther(c().kind, QStringLiteral("新名字"));
    EXPECT_TRUE(manager(c().kind).modify(id, entryFor(c().kind, QStringLiteral("新名字"))).ok());
}

TEST_P(ListTest, AFailingRenameLeavesEveryPlaceAsItWas) {
    const qint64 id = add(c().kind, kOdd);
    plantEverywhere(kOdd);
    f.state().*c().byDefault = kOdd;
    // The row's own update runs after the cascade; make the engine refuse it.
    f.db().exec(QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON %1 "
                               "BEGIN SELECT RAISE(ABORT, 'disk full'); END")
                    .arg(table()));

    EXPECT_THROW(manager(c().kind).modify(id, entryFor(c().kind, kLong)), DbError);
    expectEverywhere(kOdd, kOdd);
    EXPECT_EQ(f.state().*c().byDefault, kOdd);
    EXPECT_FALSE(f.db().inTransaction());
}

TEST_P(ListTest, ModifyKeepingTheNameRewritesTheRowOnly) {
    const qint64 id = add(c().kind, kOdd);
    plantEverywhere(kOdd);
    f.db().exec(QStringLiteral("UPDATE %1 SET thePY='HAND' WHERE ID=?").arg(table()), id);

    Entry e = entryFor(c().kind, kOdd);
    e.remark = QStringLiteral("备注'%");
    ASSERT_TRUE(manager(c().kind).modify(id, e).ok());
    const Query stored = row(table(), id);
    EXPECT_EQ(stored.text("Remark"), e.remark);
    // The code typed by hand gives way to the name's code.
    EXPECT_EQ(stored.text("thePY"), PinyinCode::of(kOdd));
    expectEverywhere(kOdd, kOdd);

    // Blank names and rows of the other book are refused.
    EXPECT_EQ(manager(c().kind).modify(id, entryFor(c().kind, QStringLiteral(" "))).message,
              text(c().empty));
    const qint64 foreign = addInOther(c().kind, QStringLiteral("外人"));
    EXPECT_EQ(manager(c().kind).modify(foreign, entryFor(c().kind, QStringLiteral("x"))).message,
              ReferenceManager::kNotFound);
}

// ---- delete, pinyin, count ----------------------------------------------------------------

TEST_P(ListTest, DeleteRemovesTheRowAndLeavesTheNameInPostings) {
    const qint64 id = add(c().kind, kOdd);
    const qint64 foreign = addInOther(c().kind, kOdd);
    plantEverywhere(kOdd);
    ReferenceManager m = manager(c().kind);
    ASSERT_TRUE(m.checkRemove(id).ok());
    ASSERT_TRUE(m.remove(id).ok());
    EXPECT_TRUE(row(table(), id).isEmpty());
    EXPECT_FALSE(row(table(), foreign).isEmpty());
    expectEverywhere(kOdd, kOdd);
    // An ID of the other book is not this book's to delete.
    m.remove(foreign);
    EXPECT_FALSE(row(table(), foreign).isEmpty());
}

TEST_P(ListTest, PinyinAndCountAreSetByIdWithinTheBook) {
    const qint64 id = add(c().kind, kOdd);
    const qint64 foreign = addInOther(c().kind, kOdd);
    ReferenceManager m = manager(c().kind);

    auto r = m.setPinyin(id, QString());
    EXPECT_EQ(r.message, QStringLiteral("拼音码 不能为空！"));
    EXPECT_EQ(r.focus, Field::Pinyin);
    ASSERT_TRUE(m.setPinyin(id, QStringLiteral("LW'%")).ok());
    EXPECT_EQ(row(table(), id).text("thePY"), QStringLiteral("LW'%"));
    EXPECT_EQ(m.setPinyin(foreign, QStringLiteral("X")).message, ReferenceManager::kNotFound);
    EXPECT_EQ(row(table(), foreign).text("thePY"), PinyinCode::of(kOdd));

    if (!m.list().hasState) return;  // members have no usage count
    r = m.setCount(id, QString());
    EXPECT_EQ(r.message, QStringLiteral("记账次数 不能为空！"));
    EXPECT_EQ(r.focus, Field::Count);
    EXPECT_FALSE(m.setCount(id, QStringLiteral("-5")).ok());
    EXPECT_FALSE(m.setCount(id, QStringLiteral("1.5")).ok());
    ASSERT_TRUE(m.setCount(id, QStringLiteral("123456")).ok());
    EXPECT_EQ(row(table(), id).integer("theCount"), 123456);
    ASSERT_TRUE(m.setCount(id, QStringLiteral("0")).ok());
    EXPECT_EQ(row(table(), id).integer("theCount"), 0);
}

INSTANTIATE_TEST_SUITE_P(EveryList, ListTest, ::testing::ValuesIn(kCases), caseName);

// ---- lists with a state -------------------------------------------------------------------

TEST_F(ReferenceManagerBase, DisabledRowsLeaveTheDropDownListsAndStayInTheManager) {
    struct StateCase {
        Kind kind;
        QStringList (TfrmDM::*dropDown)();
    };
    const StateCase cases[] = {
        {Kind::Income, &TfrmDM::ComInType},     {Kind::Expense, &TfrmDM::ComOutType},
        {Kind::Investment, &TfrmDM::ComTZType}, {Kind::Contacts, &TfrmDM::ComPType},
        {Kind::Accounts, &TfrmDM::ComAccount},
    };
    for (const StateCase& s : cases) {
        ReferenceManager m = manager(s.kind);
        SCOPED_TRACE(m.list().table.toStdString());
        const qint64 id = add(s.kind, kOdd);
        m.setState(id, false);
        EXPECT_FALSE((f.dm().*s.dropDown)().contains(kOdd));
        Query rows = m.rows();
        ASSERT_EQ(rows.recordCount(), 1);
        EXPECT_EQ(rows.text("状态"), QStringLiteral("停用"));
        m.setState(id, true);
        EXPECT_TRUE((f.dm().*s.dropDown)().contains(kOdd));
        EXPECT_EQ(m.rows().text("状态"), QStringLiteral("启用"));
    }
}

TEST_F(ReferenceManagerBase, ListsFollowTheBookSortCodeExceptMembers) {
    qint64 last = 0;
    for (const QString& name : {QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("a")}) {
        last = add(Kind::Income, name);
        add(Kind::Members, name);
    }
    ReferenceManager income = manager(Kind::Income);
    ReferenceManager members = manager(Kind::Members);
    const auto names = [](Query q) { return q.firstColumn(); };
    f.state().myPX = QStringLiteral("2");
    EXPECT_EQ(names(income.rows()), QStringList({"a", "b", "c"}));
    EXPECT_EQ(names(members.rows()), QStringList({"b", "c", "a"}));
    f.state().myPX = QStringLiteral("4");
    EXPECT_EQ(names(income.rows()), QStringList({"c", "b", "a"}));
    f.state().myPX = QStringLiteral("3");
    income.setCount(last, QStringLiteral("9"));
    EXPECT_EQ(names(income.rows()), QStringList({"a", "b", "c"}));
    f.state().myPX = QStringLiteral("1");
    EXPECT_EQ(names(income.rows()), QStringList({"b", "c", "a"}));
    f.state().myPX = QStringLiteral("5");
    EXPECT_EQ(names(income.rows()), QStringList({"b", "c", "a"}));
}

// ---- list specifics -------------------------------------------------------------------------

TEST_F(ReferenceManagerBase, ExpenseCapIsANumberOrNothing) {
    ReferenceManager m = manager(Kind::Expense);
    Entry e = entryFor(Kind::Expense, QStringLiteral("食品"));
    e.cap = QStringLiteral("-");
    auto r = m.add(e);
    EXPECT_EQ(r.message, QStringLiteral("月上限 不是有效的数字！请重新录入！"));
    EXPECT_EQ(r.focus, Field::Cap);
    EXPECT_EQ(f.count("OutD"), 0);
    e.cap = QString();
    const qint64 id = m.add(e).id;
    EXPECT_EQ(row("OutD", id).number("theMC"), 0.0);
    e.cap = QStringLiteral("800.456");
    ASSERT_TRUE(m.modify(id, e).ok());
    EXPECT_EQ(row("OutD", id).number("theMC"), 800.46);
}

TEST_F(ReferenceManagerBase, MemberBirthdayIsKeptUnlessTheModificationBringsOne) {
    ReferenceManager m = manager(Kind::Members);
    Entry e = entryFor(Kind::Members, QStringLiteral("妈妈"));
    e.relation = QStringLiteral("母亲");
    e.birthday = QStringLiteral("1968-03-04");
    const qint64 mother = m.add(e).id;
    const qint64 child = m.add(entryFor(Kind::Members, QStringLiteral("小明"))).id;
    EXPECT_EQ(row("SFamily", mother).text("BirDate"), QStringLiteral("1968-03-04"));
    EXPECT_EQ(row("SFamily", child).text("BirDate"), QString());

    Entry untouched = entryFor(Kind::Members, QStringLiteral("妈"));
    untouched.relation = QStringLiteral("母亲");
    ASSERT_TRUE(m.modify(mother, untouched).ok());
    EXPECT_EQ(row("SFamily", mother).text("BirDate"), QStringLiteral("1968-03-04"));
    ASSERT_TRUE(m.modify(child, entryFor(Kind::Members, QStringLiteral("小明"))).ok());
    EXPECT_EQ(row("SFamily", child).text("BirDate"), QString());

    untouched.birthday = QStringLiteral("1969-01-01");
    ASSERT_TRUE(m.modify(mother, untouched).ok());
    const Query stored = row("SFamily", mother);
    EXPECT_EQ(stored.text("BirDate"), QStringLiteral("1969-01-01"));
    EXPECT_EQ(stored.text("theGX"), QStringLiteral("母亲"));
}

TEST_F(ReferenceManagerBase, AccountChecksInOrderAndBooksTheOpening) {
    ReferenceManager m = manager(Kind::Accounts);
    Entry e;
    const auto refusal = [&] { return m.add(e); };
    EXPECT_EQ(refusal().message, QStringLiteral("请选择 账户分类！"));
    EXPECT_EQ(refusal().focus, Field::Type);
    e.type = QStringLiteral("信用卡");
    EXPECT_EQ(refusal().message, QStringLiteral("请选择 家庭成员！"));
    EXPECT_EQ(refusal().focus, Field::Member);
    e.member = QStringLiteral("爸爸");
    EXPECT_EQ(refusal().message, QStringLiteral("账户名称不能为空！请重新录入！"));
    e.name = QStringLiteral("招行信用卡");
    for (const QString& amount : {QString(), QStringLiteral("-")}) {
        e.amount = amount;
        EXPECT_EQ(refusal().message, QStringLiteral("账户余额不能为空！请重新录入！"));
        EXPECT_EQ(refusal().focus, Field::Amount);
    }
    EXPECT_EQ(f.count("SAccount") + f.count("UList"), 0);

    e.amount = QStringLiteral("-500");
    e.remark = QStringLiteral("还款日 5 号");
    const auto r = m.add(e);
    ASSERT_TRUE(r.ok()) << r.message.toStdString();
    const Query stored = row("SAccount", r.id);
    EXPECT_EQ(stored.number("AMoney"), -500.0);
    EXPECT_EQ(stored.text("theType"), QStringLiteral("信用卡"));
    EXPECT_EQ(stored.text("FName"), QStringLiteral("爸爸"));
    EXPECT_EQ(stored.text("theState"), QStringLiteral("启用"));
    Query j = journal();
    ASSERT_EQ(j.recordCount(), 1);
    EXPECT_EQ(j.text("theType"), QStringLiteral("开户"));
    EXPECT_EQ(j.text("theE"), QStringLiteral("新增"));
    EXPECT_EQ(j.text("theT"), QStringLiteral("SAccount"));
    EXPECT_EQ(j.integer("theID"), r.id);
    EXPECT_EQ(j.text("theDate"), QStringLiteral("2026-12-09"));
    EXPECT_EQ(j.number("theIn"), -500.0);
    EXPECT_EQ(j.number("theOut"), 0.0);
    EXPECT_EQ(j.number("AMoney"), -500.0);
    EXPECT_EQ(j.text("Remark"), e.remark);

    // A modification changes type, owner, name and remark; never the balance or the state.
    m.setState(r.id, false);
    Entry changed = e;
    changed.type = QStringLiteral("银行卡");
    changed.member = QStringLiteral("妈妈");
    changed.name = QStringLiteral("招行卡");
    changed.amount = QStringLiteral("999");
    ASSERT_TRUE(m.modify(r.id, changed).ok());
    const Query after = row("SAccount", r.id);
    EXPECT_EQ(after.text("theType"), QStringLiteral("银行卡"));
    EXPECT_EQ(after.text("FName"), QStringLiteral("妈妈"));
    EXPECT_EQ(after.number("AMoney"), -500.0);
    EXPECT_EQ(after.text("theState"), QStringLiteral("停用"));
    EXPECT_EQ(journal().recordCount(), 1);
}

TEST_F(ReferenceManagerBase, OnlyAnAccountHoldingNothingInCentsIsDeleted) {
    ReferenceManager m = manager(Kind::Accounts);
    const QString message =
        QStringLiteral("账户余额不为零，不能删除；若要删除，请将该账户余额转账到其它账户后删除！");
    for (const double balance : {0.5, -3.0, 0.01}) {
        f.addAccount(QStringLiteral("卡"), balance);
        const qint64 id = f.db().lastInsertId();
        EXPECT_EQ(m.checkRemove(id).message, message) << balance;
        EXPECT_EQ(m.remove(id).message, message) << balance;
        EXPECT_FALSE(row("SAccount", id).isEmpty());
        f.db().exec(QStringLiteral("DELETE FROM SAccount WHERE ID=?"), id);
    }
    for (const double balance : {0.0, 0.004, -0.004}) {
        f.addAccount(QStringLiteral("空卡"), balance);
        const qint64 id = f.db().lastInsertId();
        plant({"UList", "AName"}, QStringLiteral("空卡"), kHome);
        ASSERT_TRUE(m.remove(id).ok()) << balance;
        EXPECT_TRUE(row("SAccount", id).isEmpty());
    }
    // The journal keeps the history of the accounts that went.
    EXPECT_EQ(countAt({"UList", "AName"}, QStringLiteral("空卡"), kHome), 3);
}

// ---- balance adjustment --------------------------------------------------------------------

TEST_F(ReferenceManagerBase, AdjustmentBooksTheDifferenceUpOrDown) {
    f.addAccount(QStringLiteral("现金"), 100, QStringLiteral("爸爸"));
    const qint64 id = f.db().lastInsertId();
    f.openBook(kOther);
    f.addAccount(QStringLiteral("现金"), 100);
    f.openBook(kHome);
    BalanceAdjustment adjust(f.dm());

    ASSERT_TRUE(adjust.adjust(id, QStringLiteral("150")).ok());
    EXPECT_EQ(f.dm().balance(QStringLiteral("现金")), 150.0);
    ASSERT_TRUE(adjust.adjust(id, QStringLiteral("-20")).ok());
    EXPECT_EQ(f.dm().balance(QStringLiteral("现金")), -20.0);

    Query j = journal();
    ASSERT_EQ(j.recordCount(), 2);
    EXPECT_EQ(j.text("theType"), QStringLiteral("调账"));
    EXPECT_EQ(j.text("Remark"), QStringLiteral("调整账户余额"));
    EXPECT_EQ(j.text("theE"), QStringLiteral("新增"));
    EXPECT_EQ(j.text("theT"), QStringLiteral("SAccount"));
    EXPECT_EQ(j.integer("theID"), id);
    EXPECT_EQ(j.text("FName"), QStringLiteral("爸爸"));
    EXPECT_EQ(j.text("theDate"), QStringLiteral("2026-12-09"));
    EXPECT_EQ(j.number("theIn"), 50.0);
    EXPECT_EQ(j.number("theOut"), 0.0);
    EXPECT_EQ(j.number("AMoney"), 150.0);
    j.next();
    EXPECT_EQ(j.number("theIn"), 0.0);
    EXPECT_EQ(j.number("theOut"), 170.0);
    EXPECT_EQ(j.number("AMoney"), -20.0);

    // The other book's account of the same name did not move.
    f.openBook(kOther);
    EXPECT_EQ(f.dm().balance(QStringLiteral("现金")), 100.0);
}

TEST_F(ReferenceManagerBase, AdjustmentToTheSameAmountOrNoAmountIsRefused) {
    f.addAccount(QStringLiteral("现金"), 100);
    const qint64 id = f.db().lastInsertId();
    BalanceAdjustment adjust(f.dm());
    for (const QString& same : {QStringLiteral("100"), QStringLiteral("100.0"),
                                QStringLiteral("100.001"), QStringLiteral("+100.00")}) {
        const auto r = adjust.adjust(id, same);
        EXPECT_EQ(r.message, QStringLiteral("实际余额 不能等于 账户余额！请重新录入！"))
            << same.toStdString();
        EXPECT_EQ(r.focus, Field::Amount);
    }
    for (const QString& none : {QString(), QStringLiteral("-"), QStringLiteral(".")}) {
        EXPECT_EQ(adjust.adjust(id, none).message,
                  QStringLiteral("实际余额 不能为空！请重新录入！"));
    }
    EXPECT_EQ(journal().recordCount(), 0);
    EXPECT_EQ(f.dm().balance(QStringLiteral("现金")), 100.0);

    // A cent is a difference.
    ASSERT_TRUE(adjust.adjust(id, QStringLiteral("100.01")).ok());
    EXPECT_EQ(journal().number("theIn"), 0.01);
}
