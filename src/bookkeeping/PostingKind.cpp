#include "bookkeeping/PostingKind.h"

#include "storage/SortClause.h"
#include "storage/TfrmDM.h"

namespace cw {

namespace {

using Check = PostingKind::Check;
using Field = PostingKind::Field;
using FilterItem = PostingKind::FilterItem;
using ListFilter = PostingKind::ListFilter;

// Functions rather than constants: the kinds may be built while other files' statics are
// still being initialised.
QString pickAccount() {
    return QStringLiteral("请选择 账户名称！");
}
QString pickMember() {
    return QStringLiteral("请选择 家庭成员！");
}

// The popup-menu filters of income, expense and transfers.
std::vector<FilterItem> monthItems() {
    return {{QStringLiteral("本月记账 &B"), ListFilter::ThisMonth},
            {QStringLiteral("历史记账 &L"), ListFilter::History},
            {QStringLiteral("全部记账 &A"), ListFilter::Everything}};
}

// Those of debts, credits and investments: what is open, what is settled, everything.
std::vector<FilterItem> settlementItems(const QString& open, const QString& settled,
                                        const QString& all) {
    return {{open, ListFilter::Outstanding},
            {settled, ListFilter::Settled},
            {all, ListFilter::Everything}};
}

PostingKind makeIncome() {
    return {
        .id = PostingKind::Id::Income,
        .cliName = QStringLiteral("income"),
        .className = QStringLiteral("TfrmInTable"),
        .caption = QStringLiteral("收入"),
        .table = QStringLiteral("InTable"),
        .dateColumn = QStringLiteral("IDate"),
        .nameColumn = QStringLiteral("IName"),
        .moneyColumn = QStringLiteral("IMoney"),
        .accountColumn = QStringLiteral("AName"),
        .nameTable = QStringLiteral("InD"),
        .nameTableColumn = QStringLiteral("IName"),
        .sign = +1,
        .raisesCounts = true,
        .canDeleteAll = true,
        .openFlag = &GlobalState::myD_I,
        .reminderWord = QStringLiteral("收入"),
        .checks =
            {
                Check{Field::Name, QStringLiteral("请选择 收入类别！")},
                Check{Field::Amount, QStringLiteral("金额不能为空！请重新录入！")},
                Check{Field::Account, pickAccount()},
                Check{Field::Member, pickMember()},
            },
        .filterItems = monthItems(),
    };
}

PostingKind makeExpense() {
    return {
        .id = PostingKind::Id::Expense,
        .cliName = QStringLiteral("expense"),
        .className = QStringLiteral("TfrmOutTable"),
        .caption = QStringLiteral("支出"),
        .table = QStringLiteral("OutTable"),
        .dateColumn = QStringLiteral("ODate"),
        .nameColumn = QStringLiteral("OName"),
        .moneyColumn = QStringLiteral("OMoney"),
        .accountColumn = QStringLiteral("AName"),
        .nameTable = QStringLiteral("OutD"),
        .nameTableColumn = QStringLiteral("OName"),
        .sign = -1,
        .raisesCounts = true,
        .canDeleteAll = true,
        .openFlag = &GlobalState::myD_O,
        .reminderWord = QStringLiteral("支出"),
        .checks =
            {
                Check{Field::Name, QStringLiteral("请选择 支出类别！")},
                // The change of an expense words this one with a blank after the field.
                Check{Field::Amount, QStringLiteral("金额不能为空！请重新录入！"),
                      QStringLiteral("金额 不能为空！请重新录入！")},
                Check{Field::Account, pickAccount()},
                Check{Field::Member, pickMember()},
            },
        .filterItems = monthItems(),
    };
}

PostingKind makeTransfer() {
    return {
        .id = PostingKind::Id::Transfer,
        .cliName = QStringLiteral("transfer"),
        .className = QStringLiteral("TfrmChangeT"),
        .caption = QStringLiteral("转账"),
        .table = QStringLiteral("ChangeT"),
        .dateColumn = QStringLiteral("CDate"),
        .nameColumn = QString(),
        .moneyColumn = QStringLiteral("CMoney"),
        .accountColumn = QStringLiteral("OldN"),
        .targetColumn = QStringLiteral("NewN"),
        .journalType = QStringLiteral("转账"),
        .sign = -1,
        .extendsRemark = true,
        .canDeleteAll = true,
        .openFlag = &GlobalState::myD_C,
        .checks =
            {
                Check{Field::Account, QStringLiteral("请选择 原账户！")},
                Check{Field::Target, QStringLiteral("请选择 到账账户！")},
                Check{Field::Target, QStringLiteral("到账账户 不能与 原账户 一样！请重新选择！"),
                      QString(), PostingKind::Rule::SameAccounts},
                Check{Field::Amount, QStringLiteral("金额 不能为空！请重新录入！")},
                Check{Field::Member, pickMember()},
            },
        .filterItems = monthItems(),
    };
}

// A debt raises the account the borrowed money went into; its contact is created after the
// member and the account, and nothing counts its use.
PostingKind makeDebt() {
    return {
        .id = PostingKind::Id::Debt,
        .cliName = QStringLiteral("debt"),
        .className = QStringLiteral("TfrmBorrow"),
        .caption = QStringLiteral("债务"),
        .table = QStringLiteral("Borrow"),
        .dateColumn = QStringLiteral("BDate"),
        .nameColumn = QStringLiteral("BPro"),
        .moneyColumn = QStringLiteral("BMoney"),
        .accountColumn = QStringLiteral("AName"),
        .nameTable = QStringLiteral("PD"),
        .nameTableColumn = QStringLiteral("PName"),
        .nameBeforeMember = false,
        .journalType = QStringLiteral("债务"),
        .sign = +1,
        .amountLabel = QStringLiteral("债务金额"),
        .openFlag = &GlobalState::myD_B,
        .openFilter = PostingKind::OpenFilter::Outstanding,
        .reminderWord = QStringLiteral("债务"),
        .checks =
            {
                Check{Field::Name, QStringLiteral("债权人 不能为空！请重新录入！")},
                Check{Field::Amount, QStringLiteral("金额 不能为空！请重新录入！"),
                      QStringLiteral("债务金额 不能为空！请重新录入！")},
                Check{Field::Account, pickAccount()},
                Check{Field::Member, pickMember()},
            },
        .deleteGuard = {.column = QStringLiteral("RMoney"),
                        .message = QStringLiteral(
                            "该债务有 已还金额，不能删除；如要删除，请先删除 还债记录。")},
        .filterItems = settlementItems(QStringLiteral("未还债务 &D"), QStringLiteral("已还债务 &L"),
                                       QStringLiteral("全部债务 &A")),
    };
}

// The mirror of a debt: lending lowers the account the money left.
PostingKind makeCredit() {
    return {
        .id = PostingKind::Id::Credit,
        .cliName = QStringLiteral("credit"),
        .className = QStringLiteral("TfrmDebt"),
        .caption = QStringLiteral("债权"),
        .table = QStringLiteral("Debt"),
        .dateColumn = QStringLiteral("DDate"),
        .nameColumn = QStringLiteral("DPro"),
        .moneyColumn = QStringLiteral("DMoney"),
        .accountColumn = QStringLiteral("AName"),
        .nameTable = QStringLiteral("PD"),
        .nameTableColumn = QStringLiteral("PName"),
        .nameBeforeMember = false,
        .journalType = QStringLiteral("债权"),
        .sign = -1,
        .amountLabel = QStringLiteral("债权金额"),
        .openFlag = &GlobalState::myD_D,
        .openFilter = PostingKind::OpenFilter::Outstanding,
        .reminderWord = QStringLiteral("债权"),
        .checks =
            {
                Check{Field::Name, QStringLiteral("债务人 不能为空！请重新录入！")},
                Check{Field::Amount, QStringLiteral("债权金额 不能为空！请重新录入！")},
                Check{Field::Account, pickAccount()},
                Check{Field::Member, pickMember()},
            },
        .deleteGuard = {.column = QStringLiteral("RMoney"),
                        .message = QStringLiteral(
                            "该债权有 已收金额，不能删除；如要删除，请先删除 收债记录。")},
        .filterItems = settlementItems(QStringLiteral("未收债权 &D"), QStringLiteral("已收债权 &L"),
                                       QStringLiteral("全部债权 &A")),
    };
}

// An investment lowers the paying account; like income and expense it is journaled under its
// category and counts the use of category and account when first saved.
PostingKind makeInvestment() {
    return {
        .id = PostingKind::Id::Investment,
        .cliName = QStringLiteral("investment"),
        .className = QStringLiteral("TfrmTZ"),
        .caption = QStringLiteral("投资"),
        .table = QStringLiteral("TTable"),
        .dateColumn = QStringLiteral("TDate"),
        .nameColumn = QStringLiteral("TName"),
        .moneyColumn = QStringLiteral("TMoney"),
        .accountColumn = QStringLiteral("AName"),
        .nameTable = QStringLiteral("TD"),
        .nameTableColumn = QStringLiteral("TName"),
        .sign = -1,
        .raisesCounts = true,
        .amountLabel = QStringLiteral("投资金额"),
        .openFlag = &GlobalState::myD_T,
        .openFilter = PostingKind::OpenFilter::Outstanding,
        .reminderWord = QStringLiteral("投资"),
        .checks =
            {
                Check{Field::Name, QStringLiteral("请选择 投资类别！")},
                Check{Field::Amount, QStringLiteral("投资金额 不能为空！请重新录入！")},
                Check{Field::Account, pickAccount()},
                Check{Field::Member, pickMember()},
            },
        // Returns, not the gain column, keep an investment: a return of gain 0 still counts.
        .deleteGuard = {.childTable = QStringLiteral("TTableR"),
                        .childKey = QStringLiteral("TID"),
                        .message = QStringLiteral("该 投资 已有收益记录，不能删除！")},
        .filterItems = settlementItems(QStringLiteral("未收投资 &D"), QStringLiteral("已收投资 &L"),
                                       QStringLiteral("全部投资 &A")),
    };
}

}  // namespace

const PostingKind& PostingKind::income() {
    static const PostingKind kind = makeIncome();
    return kind;
}

const PostingKind& PostingKind::expense() {
    static const PostingKind kind = makeExpense();
    return kind;
}

const PostingKind& PostingKind::transfer() {
    static const PostingKind kind = makeTransfer();
    return kind;
}

const PostingKind& PostingKind::debt() {
    static const PostingKind kind = makeDebt();
    return kind;
}

const PostingKind& PostingKind::credit() {
    static const PostingKind kind = makeCredit();
    return kind;
}

const PostingKind& PostingKind::investment() {
    static const PostingKind kind = makeInvestment();
    return kind;
}

const std::vector<const PostingKind*>& PostingKind::all() {
    static const std::vector<const PostingKind*> kinds = {&income(), &expense(), &transfer(),
                                                          &debt(),   &credit(),  &investment()};
    return kinds;
}

const PostingKind* PostingKind::byCliName(const QString& word) {
    for (const PostingKind* kind : all()) {
        if (kind->cliName == word) return kind;
    }
    return nullptr;
}

const PostingKind* PostingKind::byTable(const QString& table) {
    for (const PostingKind* kind : all()) {
        if (kind->table.compare(table, Qt::CaseInsensitive) == 0) return kind;
    }
    return nullptr;
}

PostingKind::Filter PostingKind::monthOf(const QString& yearMonth) const {
    // A half-open range rather than Left(date,7), so the date index does the selecting.
    const auto [from, to] = TfrmDM::monthRange(yearMonth);
    return {QStringLiteral(" AND (%1>=? AND %1<?)").arg(dateColumn), {from, to}};
}

PostingKind::Filter PostingKind::before(const QString& yearMonth) const {
    return {QStringLiteral(" AND (%1<?)").arg(dateColumn),
            {QString(yearMonth + QStringLiteral("-01"))}};
}

PostingKind::Filter PostingKind::outstanding() const {
    return {QStringLiteral(" AND (%1>0)").arg(moneyColumn), {}};
}

PostingKind::Filter PostingKind::settled() const {
    return {QStringLiteral(" AND (%1=0)").arg(moneyColumn), {}};
}

PostingKind::Filter PostingKind::filterOf(ListFilter which, const QString& yearMonth) const {
    switch (which) {
        case ListFilter::ThisMonth:
            return monthOf(yearMonth);
        case ListFilter::History:
            return before(yearMonth);
        case ListFilter::Outstanding:
            return outstanding();
        case ListFilter::Settled:
            return settled();
        case ListFilter::Everything:
            break;
    }
    return everything();
}

PostingKind::Filter PostingKind::atOpen(const GlobalState& state, const QString& yearMonth) const {
    if (!openFlag || !(state.*openFlag)) return everything();
    return openFilter == OpenFilter::ThisMonth ? monthOf(yearMonth) : outstanding();
}

QString PostingKind::sortClause(const QString& jzpx) const {
    return SortClause::postings(jzpx, dateColumn);
}

}  // namespace cw
