#include "bookkeeping/PostingKind.h"

#include "storage/SortClause.h"
#include "storage/TfrmDM.h"

namespace cw {

namespace {

using Check = PostingKind::Check;
using Field = PostingKind::Field;

// Functions rather than constants: the kinds may be built while other files' statics are
// still being initialised.
QString pickAccount() {
    return QStringLiteral("请选择 账户名称！");
}
QString pickMember() {
    return QStringLiteral("请选择 家庭成员！");
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

const std::vector<const PostingKind*>& PostingKind::all() {
    static const std::vector<const PostingKind*> kinds = {&income(), &expense(), &transfer()};
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

PostingKind::Filter PostingKind::atOpen(const GlobalState& state, const QString& yearMonth) const {
    if (!openFlag || !(state.*openFlag)) return everything();
    return openFilter == OpenFilter::ThisMonth ? monthOf(yearMonth) : outstanding();
}

QString PostingKind::sortClause(const QString& jzpx) const {
    return SortClause::postings(jzpx, dateColumn);
}

}  // namespace cw
