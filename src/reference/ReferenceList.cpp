#include "reference/ReferenceList.h"

#include <array>

#include "storage/SortClause.h"

namespace cw {

namespace {

using Cascade = ReferenceList::Cascade;

// Every table where a posting, its sub-records, the journal, the plans or the defaults
// carry a member or an account, in the order the renames have always run.
const QStringList& postingTables() {
    static const QStringList tables = {
        QStringLiteral("BList"),   QStringLiteral("Borrow"),   QStringLiteral("BorrowR"),
        QStringLiteral("Debt"),    QStringLiteral("DebtR"),    QStringLiteral("DList"),
        QStringLiteral("InTable"), QStringLiteral("OutTable"), QStringLiteral("SMRX"),
        QStringLiteral("TList"),   QStringLiteral("TTable"),   QStringLiteral("TTableR"),
        QStringLiteral("UList"),   QStringLiteral("UPlan"),
    };
    return tables;
}

std::vector<Cascade> acrossPostings(const QString& column) {
    std::vector<Cascade> out;
    for (const QString& table : postingTables()) out.push_back({table, column, {}});
    return out;
}

// A category is named by its postings, by the plans of its own kind only (the income and
// expense seeds share 网银 and 赡养费, and a contact may carry a category's name too), and
// by the book's default, which a posting would otherwise bring back as a new category.
ReferenceList category(ReferenceList::Kind kind, const char* table, const char* nameColumn,
                       const char* label, const char* postings, const char* planKind,
                       QString GlobalState::*defaultName) {
    ReferenceList l;
    l.kind = kind;
    l.table = QLatin1String(table);
    l.nameColumn = QLatin1String(nameColumn);
    l.label = QString::fromUtf8(label);
    l.columns = QStringLiteral(
                    "%1 AS %2, thePY AS 拼音码, BName AS 帐薄名称, Remark AS 备注, "
                    "theState AS 状态, ID, theCount AS 记账次数")
                    .arg(l.nameColumn, l.label);
    l.hiddenColumns = {QStringLiteral("帐薄名称"), QStringLiteral("ID")};
    l.cascade = {
        {QLatin1String(postings), l.nameColumn, {}},
        {QStringLiteral("UPlan"), QStringLiteral("PName"), {QString::fromUtf8(planKind)}},
        {QStringLiteral("SMRX"), l.nameColumn, {}},
    };
    l.defaultName = defaultName;
    return l;
}

ReferenceList income() {
    return category(ReferenceList::Income, "InD", "IName", "收入类别", "InTable", "收入",
                    &GlobalState::myIName);
}

ReferenceList expense() {
    ReferenceList l = category(ReferenceList::Expense, "OutD", "OName", "支出类别", "OutTable",
                               "支出", &GlobalState::myOName);
    l.columns += QStringLiteral(", theMC AS 月上限");
    l.moneyColumns = {QStringLiteral("月上限")};
    return l;
}

ReferenceList investment() {
    return category(ReferenceList::Investment, "TD", "TName", "投资类别", "TTable", "投资",
                    &GlobalState::myTName);
}

// Besides the postings, a member owns accounts, has reminder thresholds and writes notes;
// a rename that skipped those would orphan them.
ReferenceList members() {
    ReferenceList l;
    l.kind = ReferenceList::Members;
    l.table = QStringLiteral("SFamily");
    l.nameColumn = QStringLiteral("FName");
    l.label = QStringLiteral("姓名");
    l.columns = QStringLiteral(
        "FName AS 姓名, thePY AS 拼音码, theGX AS 关系, BirDate AS 生日, "
        "Remark AS 备注, BName AS 帐薄名称, ID");
    l.hiddenColumns = {QStringLiteral("帐薄名称"), QStringLiteral("ID")};
    l.hasState = false;
    l.ordered = false;
    l.cascade = acrossPostings(l.nameColumn);
    l.cascade.push_back({QStringLiteral("ChangeT"), l.nameColumn, {}});
    for (const char* table : {"SAccount", "UWarn", "UThing"}) {
        l.cascade.push_back({QLatin1String(table), l.nameColumn, {}});
    }
    l.defaultName = &GlobalState::myFName;
    return l;
}

// A contact is the other party of debts and credits, and of the plans of those two kinds.
ReferenceList contacts() {
    ReferenceList l;
    l.kind = ReferenceList::Contacts;
    l.table = QStringLiteral("PD");
    l.nameColumn = QStringLiteral("PName");
    l.label = QStringLiteral("往来人员");
    l.columns = QStringLiteral(
        "PName AS 往来人员, thePY AS 拼音码, BName AS 帐薄名称, "
        "Remark AS 备注, theState AS 状态, ID, theCount AS 记账次数");
    l.hiddenColumns = {QStringLiteral("帐薄名称"), QStringLiteral("ID")};
    l.cascade = {
        {QStringLiteral("Debt"), QStringLiteral("DPro"), {}},
        {QStringLiteral("Borrow"), QStringLiteral("BPro"), {}},
        {QStringLiteral("UPlan"),
         QStringLiteral("PName"),
         {QStringLiteral("债务"), QStringLiteral("债权")}},
        {QStringLiteral("SMRX"), QStringLiteral("PName"), {}},
    };
    l.defaultName = &GlobalState::myPName;
    return l;
}

// Balances move by account name, so the name must follow into every row that names it,
// transfers on both their sides included.
ReferenceList accounts() {
    ReferenceList l;
    l.kind = ReferenceList::Accounts;
    l.table = QStringLiteral("SAccount");
    l.nameColumn = QStringLiteral("AName");
    l.label = QStringLiteral("账户名称");
    l.columns = QStringLiteral(
        "theType AS 账户分类, FName AS 家庭成员, AName AS 账户名称, "
        "thePY AS 拼音码, BName AS 账薄名称, AMoney AS 账户余额, "
        "Remark AS 备注, theState AS 状态, ID, theCount AS 记账次数");
    l.hiddenColumns = {QStringLiteral("账薄名称"), QStringLiteral("ID")};
    l.moneyColumns = {QStringLiteral("账户余额")};
    l.cascade = acrossPostings(l.nameColumn);
    l.cascade.push_back({QStringLiteral("ChangeT"), QStringLiteral("OldN"), {}});
    l.cascade.push_back({QStringLiteral("ChangeT"), QStringLiteral("NewN"), {}});
    l.defaultName = &GlobalState::myAName;
    return l;
}

const std::array<ReferenceList, ReferenceList::KindCount>& all() {
    static const std::array<ReferenceList, ReferenceList::KindCount> lists = {
        income(), expense(), investment(), members(), contacts(), accounts(),
    };
    return lists;
}

}  // namespace

const ReferenceList& ReferenceList::of(Kind kind) {
    return all()[size_t(kind)];
}

const ReferenceList* ReferenceList::ofTable(const QString& table) {
    for (const ReferenceList& l : all()) {
        if (l.table.compare(table, Qt::CaseInsensitive) == 0) return &l;
    }
    return nullptr;
}

QString ReferenceList::listSql(const QString& px) const {
    const QString order =
        ordered ? SortClause::lists(px, nameColumn) : QStringLiteral(" ORDER BY ID");
    return QStringLiteral("SELECT %1 FROM %2 WHERE BName=?").arg(columns, table) + order;
}

}  // namespace cw
