#include "books/BookCreation.h"

#include <QScopeGuard>

#include "books/BookLogin.h"
#include "storage/Money.h"
#include "storage/NameText.h"
#include "storage/PinyinCode.h"
#include "storage/TfrmDM.h"
#include "storage/Transaction.h"

namespace cw {

namespace {

// Where each list lives and which columns a copy carries over, in the order they are read
// and written. The members list has no state or count; the accounts are copied row by row.
struct ListTable {
    const char* table;
    const char* nameColumn;
    const char* copyColumns;
};

constexpr ListTable kLists[BookCreation::GroupCount] = {
    {"InD", "IName", "IName, thePY, Remark, theState, theCount"},
    {"OutD", "OName", "OName, thePY, Remark, theState, theCount, theMC"},
    {"TD", "TName", "TName, thePY, Remark, theState, theCount"},
    {"SFamily", "FName", "FName, thePY, Remark, theGX, BirDate"},
    {"SAccount", "AName", "AName, thePY, AMoney, Remark, theState, theCount, theType, FName"},
    {"PD", "PName", "PName, thePY, Remark, theState, theCount"},
};

BookCreation::Result refuse(const QString& message,
                            BookCreation::Field focus = BookCreation::Field::None) {
    BookCreation::Result r;
    r.message = message;
    r.focus = focus;
    return r;
}

const QString kOpening = QStringLiteral("开户");
const QString kNew = QStringLiteral("新增");
const QString kAccountTable = QStringLiteral("SAccount");

}  // namespace

BookCreation::BookCreation(TfrmDM& dm) : dm_(dm) {}

const QStringList& BookCreation::incomeSeeds() {
    static const QStringList seeds = {
        QStringLiteral("工资"),       QStringLiteral("奖金"),         QStringLiteral("补助津贴"),
        QStringLiteral("中奖奖金"),   QStringLiteral("稿费版税收入"), QStringLiteral("赡养费"),
        QStringLiteral("亲属赠予金"), QStringLiteral("经营所得"),     QStringLiteral("分红"),
        QStringLiteral("利息收入"),   QStringLiteral("出卖实物财产"), QStringLiteral("租赁所得"),
        QStringLiteral("其他收入"),   QStringLiteral("网银"),
    };
    return seeds;
}

const QStringList& BookCreation::expenseSeeds() {
    static const QStringList seeds = {
        QStringLiteral("食品"),         QStringLiteral("水费"),
        QStringLiteral("电费"),         QStringLiteral("煤气费"),
        QStringLiteral("烟酒饮料"),     QStringLiteral("衣服"),
        QStringLiteral("鞋帽"),         QStringLiteral("日常用品"),
        QStringLiteral("房租"),         QStringLiteral("其他日常杂项"),
        QStringLiteral("医疗药品费"),   QStringLiteral("保健费"),
        QStringLiteral("电话费"),       QStringLiteral("手机费"),
        QStringLiteral("上网费"),       QStringLiteral("邮寄费"),
        QStringLiteral("学杂费"),       QStringLiteral("培训费"),
        QStringLiteral("书籍及音像"),   QStringLiteral("订阅报章杂志"),
        QStringLiteral("外出就餐"),     QStringLiteral("旅游度假"),
        QStringLiteral("娱乐费"),       QStringLiteral("公共汽车费"),
        QStringLiteral("汽油费"),       QStringLiteral("养路费"),
        QStringLiteral("年检费"),       QStringLiteral("汽车维护费"),
        QStringLiteral("停车过路费"),   QStringLiteral("房屋维修"),
        QStringLiteral("电器维修"),     QStringLiteral("家具维修"),
        QStringLiteral("赡养费"),       QStringLiteral("抚养费"),
        QStringLiteral("慈善捐款"),     QStringLiteral("礼品礼金"),
        QStringLiteral("福利彩票"),     QStringLiteral("购买家电"),
        QStringLiteral("购买家具"),     QStringLiteral("购买数码产品"),
        QStringLiteral("购买通讯产品"), QStringLiteral("购买收藏品"),
        QStringLiteral("赎回典当物品"), QStringLiteral("利息支出"),
        QStringLiteral("交纳保费"),     QStringLiteral("按揭还款"),
        QStringLiteral("额外付款"),     QStringLiteral("银行手续费"),
        QStringLiteral("其他支出"),     QStringLiteral("网银"),
    };
    return seeds;
}

const QStringList& BookCreation::investmentSeeds() {
    static const QStringList seeds = {
        QStringLiteral("股票"), QStringLiteral("基金"),   QStringLiteral("国债"),
        QStringLiteral("保险"), QStringLiteral("房产"),   QStringLiteral("外汇"),
        QStringLiteral("期货"), QStringLiteral("贵金属"), QStringLiteral("其他投资"),
    };
    return seeds;
}

BookCreation::Groups BookCreation::defaultGroups() {
    Groups groups;
    groups[Income].fill = Fill::Seed;
    groups[Expense].fill = Fill::Seed;
    groups[Investment].fill = Fill::Seed;
    return groups;
}

QString BookCreation::defaultBookName(int bookCount) {
    QString name = QStringLiteral("我家账簿");
    if (bookCount != 0) name += QString::number(bookCount);
    return name;
}

int BookCreation::bookCount() {
    return int(dm_.db()
                   .query(QStringLiteral("SELECT count(*) AS n FROM SBook"))
                   .integer(QStringLiteral("n")));
}

bool BookCreation::bookExists(const QString& name) {
    return !dm_.db()
                .query(QStringLiteral("SELECT ID FROM SBook WHERE BName=? LIMIT 1"), name)
                .isEmpty();
}

QString BookCreation::today() const {
    const QString& today = dm_.state().myToday;
    return today.isEmpty() ? dm_.clock().todayText() : today;
}

BookCreation::Result BookCreation::checkNewBook(const QString& name, const QString& password,
                                                const QString& confirm) {
    if (password != confirm)
        return refuse(QStringLiteral("新密码与确认密码不一致！"), Field::Password);
    if (name.isEmpty()) return refuse(QStringLiteral("账簿名称 不能为空！"), Field::BookName);
    // The wizard's fields cannot take more; a script must not create a book that no login
    // can open or whose name no field can hold.
    if (name.size() > kMaxBookNameLength)
        return refuse(QStringLiteral("账簿名称 长度不能大于20！"), Field::BookName);
    if (NameText::hasControl(name)) return refuse(NameText::controlMessage(), Field::BookName);
    if (BookLogin::gbkLength(password) > BookLogin::kMaxPasswordBytes)
        return refuse(BookLogin::kTooLong, Field::Password);
    if (bookExists(name))
        return refuse(QStringLiteral("账簿名称 重复，请重新录入！"), Field::BookName);
    return {};
}

BookCreation::Result BookCreation::checkGroups(const Groups& groups) {
    for (int g = 0; g < GroupCount; ++g) {
        if (groups[g].fill != Fill::Copy || !groups[g].sourceBook.isEmpty()) continue;
        Result r = refuse(QStringLiteral("请选择 账簿名称！"), Field::SourceBook);
        r.group = g;
        return r;
    }
    return {};
}

void BookCreation::insertBook(const QString& name, const QString& password, const QString& remark) {
    // A new book lists its drop-downs unordered and its postings newest first.
    dm_.db().exec(QStringLiteral("INSERT INTO SBook(BName,BPass,BDate,Remark,thePX,theJZPX) "
                                 "VALUES(?,?,?,?,5,3)"),
                  name, password, today(), remark);
}

void BookCreation::insertSettings(const QString& book) {
    // No remembered password, no defaults, every list showing everything, the reminder
    // sound on and the due-plans window off.
    dm_.myESql(QStringLiteral("INSERT INTO SMRX(BName, BPassKG, BPass, FName, AName, "
                              "IName, OName, TName, PName, D_I, "
                              "D_O, D_C, D_B, D_D, D_T, "
                              "TX_M, TX_T) VALUES (?, 0, '', '', '', '', '', '', '', 0, "
                              "0, 0, 0, 0, 0, -1, 0)"),
               book);
}

void BookCreation::seed(Group group, const QString& book) {
    const QStringList* names = nullptr;
    switch (group) {
        case Income:
            names = &incomeSeeds();
            break;
        case Expense:
            names = &expenseSeeds();
            break;
        case Investment:
            names = &investmentSeeds();
            break;
        default:
            return;
    }
    const ListTable& list = kLists[group];
    // Only expense categories carry a monthly cap; a seeded one has none.
    const bool cap = group == Expense;
    Statement st =
        dm_.db().prepare(QStringLiteral("INSERT INTO %1(%2,thePY,BName,Remark,theState,theCount%3) "
                                        "VALUES(?,?,?,'','启用',0%4)")
                             .arg(QLatin1String(list.table), QLatin1String(list.nameColumn),
                                  cap ? QStringLiteral(",theMC") : QString(),
                                  cap ? QStringLiteral(",0") : QString()));
    for (const QString& name : *names) {
        st.reset();
        st.bindAll(name, PinyinCode::of(name), book);
        st.run();
    }
}

void BookCreation::copy(Group group, const QString& from, const QString& to) {
    if (group == Accounts) {
        copyAccounts(from, to);
        return;
    }
    const ListTable& list = kLists[group];
    dm_.db().exec(QStringLiteral("INSERT INTO %1(BName, %2) SELECT ?, %2 FROM %1 WHERE BName=? "
                                 "ORDER BY ID")
                      .arg(QLatin1String(list.table), QLatin1String(list.copyColumns)),
                  to, from);
}

void BookCreation::copyAccounts(const QString& from, const QString& to) {
    Query q = dm_.db().query(QStringLiteral("SELECT %1 FROM SAccount WHERE BName=? ORDER BY ID")
                                 .arg(QLatin1String(kLists[Accounts].copyColumns)),
                             from);
    // The journal services write into the open book; point them at the new one while its
    // opening rows are written, and give the open book back whatever happens.
    QString& open = dm_.state().myBName;
    const QString wasOpen = open;
    open = to;
    const auto restore = qScopeGuard([&open, wasOpen] { open = wasOpen; });

    for (q.first(); !q.eof(); q.next()) {
        const QString name = q.text(QStringLiteral("AName"));
        const QString member = q.text(QStringLiteral("FName"));
        const QString remark = q.text(QStringLiteral("Remark"));
        const double amount = q.number(QStringLiteral("AMoney"));
        dm_.db().exec(QStringLiteral("INSERT INTO SAccount(BName, AName, thePY, AMoney, Remark, "
                                     "theState, theCount, theType, FName) "
                                     "VALUES(?,?,?,?,?,?,?,?,?)"),
                      to, name, q.text(QStringLiteral("thePY")), amount, remark,
                      q.text(QStringLiteral("theState")), q.integer(QStringLiteral("theCount")),
                      q.text(QStringLiteral("theType")), member);
        // The copied balance is booked as the account's opening, so the new book's journal
        // adds up to its balances from the first day.
        const qint64 id = dm_.db().lastInsertId();
        dm_.List_Add(today(), kOpening, remark, amount, 0, name, member, kAccountTable, id, kNew);
    }
}

BookCreation::Result BookCreation::createFirstBook(const QString& name, const QString& password,
                                                   const QString& remark, bool seedIncome,
                                                   bool seedExpense, bool seedInvestment) {
    Transaction tx(dm_.db());
    Result r = checkNewBook(name, password, password);
    if (!r.ok()) return r;
    insertBook(name, password, remark);
    if (seedIncome) seed(Income, name);
    if (seedExpense) seed(Expense, name);
    if (seedInvestment) seed(Investment, name);
    insertSettings(name);
    tx.commit();
    dm_.state().myBName = name;
    return r;
}

BookCreation::Result BookCreation::createAdditionalBook(const QString& name,
                                                        const QString& password,
                                                        const QString& remark,
                                                        const Groups& groups) {
    Transaction tx(dm_.db());
    Result r = checkNewBook(name, password, password);
    if (!r.ok()) return r;
    r = checkGroups(groups);
    if (!r.ok()) return r;
    insertBook(name, password, remark);
    for (int g = 0; g < GroupCount; ++g) {
        const GroupChoice& choice = groups[g];
        if (choice.fill == Fill::Copy) copy(Group(g), choice.sourceBook, name);
        if (choice.fill == Fill::Seed) seed(Group(g), name);
    }
    insertSettings(name);
    tx.commit();
    return r;
}

Query BookCreation::members() {
    return dm_.db().query(QStringLiteral("SELECT FName AS 姓名, thePY AS 拼音码, theGX AS 关系, "
                                         "BirDate AS 生日, Remark AS 备注, BName AS 帐薄名称, ID "
                                         "FROM SFamily WHERE BName=? ORDER BY ID"),
                          dm_.book());
}

Query BookCreation::accounts() {
    return dm_.db().query(
        QStringLiteral("SELECT theType AS 账户分类, FName AS 家庭成员, AName AS 账户名称, "
                       "thePY AS 拼音码, BName AS 账薄名称, AMoney AS 初始金额, "
                       "Remark AS 备注, theState AS 状态, ID "
                       "FROM SAccount WHERE BName=? ORDER BY ID"),
        dm_.book());
}

bool BookCreation::bookHasMember(const QString& name) {
    return !dm_.db()
                .query(QStringLiteral("SELECT ID FROM SFamily WHERE FName=? AND BName=? LIMIT 1"),
                       name, dm_.book())
                .isEmpty();
}

bool BookCreation::bookHasAccount(const QString& name) {
    return !dm_.db()
                .query(QStringLiteral("SELECT ID FROM SAccount WHERE AName=? AND BName=? LIMIT 1"),
                       name, dm_.book())
                .isEmpty();
}

BookCreation::Result BookCreation::addMember(const QString& name, const QString& relation,
                                             const QString& birthday, const QString& remark) {
    if (name.isEmpty())
        return refuse(QStringLiteral("姓名不能为空！请重新录入！"), Field::MemberName);
    if (NameText::hasControl(name)) return refuse(NameText::controlMessage(), Field::MemberName);
    Transaction tx(dm_.db());
    if (bookHasMember(name)) return refuse(QStringLiteral("姓名添加重复！"));
    dm_.db().exec(QStringLiteral("INSERT INTO SFamily(FName,thePY,BName,theGX,BirDate,Remark) "
                                 "VALUES(?,?,?,?,?,?)"),
                  name, PinyinCode::of(name), dm_.book(), relation, birthday, remark);
    Result r;
    r.id = dm_.db().lastInsertId();
    tx.commit();
    return r;
}

void BookCreation::deleteMember(qint64 id) {
    Transaction tx(dm_.db());
    dm_.db().exec(QStringLiteral("DELETE FROM SFamily WHERE ID=? AND BName=?"), id, dm_.book());
    tx.commit();
}

BookCreation::Result BookCreation::checkAccount(const QString& type, const QString& member,
                                                const QString& name, const QString& amountText) {
    if (type.isEmpty()) return refuse(QStringLiteral("请选择 账户分类！"), Field::AccountType);
    if (member.isEmpty()) return refuse(QStringLiteral("请选择 家庭成员！"), Field::AccountMember);
    if (name.isEmpty()) {
        return refuse(QStringLiteral("账户名称不能为空！请重新录入！"), Field::AccountName);
    }
    if (NameText::hasControl(name)) return refuse(NameText::controlMessage(), Field::AccountName);
    // A half-typed amount ("-", ".") holds no amount either.
    double amount = 0;
    if (Money::tooLarge(amountText)) {
        return refuse(QStringLiteral("初始金额 不是有效的数字！请重新录入！"), Field::Amount);
    }
    if (!Money::parse(amountText.trimmed(), &amount)) {
        return refuse(QStringLiteral("初始金额不能为空！请重新录入！"), Field::Amount);
    }
    if (bookHasAccount(name)) return refuse(QStringLiteral("账户名称添加重复！"));
    return {};
}

BookCreation::Result BookCreation::openAccount(const QString& type, const QString& member,
                                               const QString& name, double amount,
                                               const QString& remark) {
    Transaction tx(dm_.db());
    Result r = checkAccount(type, member, name, Money::plain(amount));
    if (!r.ok()) return r;
    const double opening = Money::round(amount);
    dm_.db().exec(QStringLiteral("INSERT INTO SAccount(AName,thePY,BName,theState,theType,FName,"
                                 "AMoney,Remark) VALUES(?,?,?,'启用',?,?,?,?)"),
                  name, PinyinCode::of(name), dm_.book(), type, member, opening, remark);
    r.id = dm_.db().lastInsertId();
    dm_.List_Add(today(), kOpening, remark, opening, 0, name, member, kAccountTable, r.id, kNew);
    tx.commit();
    return r;
}

BookCreation::Result BookCreation::checkDeleteAccount(qint64 id) {
    const Query q = dm_.db().query(
        QStringLiteral("SELECT AMoney FROM SAccount WHERE ID=? AND BName=?"), id, dm_.book());
    if (q.isEmpty() || Money::isZero(q.number(QStringLiteral("AMoney")))) return {};
    return refuse(
        QStringLiteral("账户余额不为零，不能删除；若要删除，请将该账户余额转账到其它账户后删除！"));
}

BookCreation::Result BookCreation::deleteAccount(qint64 id) {
    Transaction tx(dm_.db());
    Result r = checkDeleteAccount(id);
    if (!r.ok()) return r;
    // The account's journal rows stay: they are the history of money that has moved on.
    dm_.db().exec(QStringLiteral("DELETE FROM SAccount WHERE ID=? AND BName=?"), id, dm_.book());
    tx.commit();
    return r;
}

}  // namespace cw
