#include "bookkeeping/ui/PostingLayout.h"

#include "storage/TfrmDM.h"

namespace cw {

namespace {

using Field = PostingLayout::Field;
using Row = PostingLayout::EntryRow;
using Criterion = PostingLayout::Criterion;
using Item = PostingLayout::PopupItem;

// The fields every kind words alike.
Row amountRow() {
    return {Field::Amount, QStringLiteral("金        额："), QStringLiteral("金额")};
}
Row accountRow() {
    return {Field::Account,       QStringLiteral("账户名称："), QStringLiteral("账户名称"),
            &TfrmDM::ComAccount,  QStringLiteral("SAccount"),   QStringLiteral("AName"),
            &GlobalState::myAName};
}
Row memberRow() {
    return {Field::Member,        QStringLiteral("家庭成员："), QStringLiteral("家庭成员"),
            &TfrmDM::ComFamily,   QStringLiteral("SFamily"),    QStringLiteral("FName"),
            &GlobalState::myFName};
}
Row remarkRow() {
    return {Field::Remark, QStringLiteral("备        注："), QStringLiteral("备注")};
}

Criterion remarkCriterion() {
    return {Criterion::Type::Text, QStringLiteral("备        注"), QStringLiteral("Remark")};
}

// Income and expense are one screen with their own words.
struct Words {
    const PostingKind* kind;
    QString word;  // "收入"
    PostingLayout::Filler categories;
    QString GlobalState::*preset;
};

PostingLayout incomeLike(const Words& w) {
    const PostingKind& k = *w.kind;
    const QString category = w.word + QStringLiteral("类别");
    return {
        .kind = w.kind,
        .group = w.word,
        .columns =
            {
                {k.dateColumn, QStringLiteral("日期")},
                {k.nameColumn, category},
                {k.moneyColumn, QStringLiteral("金额")},
                {k.accountColumn, QStringLiteral("账户名称")},
                {QStringLiteral("FName"), QStringLiteral("家庭成员")},
                {QStringLiteral("Remark"), QStringLiteral("备注")},
            },
        .entry =
            {
                {Field::Date, w.word + QStringLiteral("日期："), QStringLiteral("日期")},
                {Field::Name, category + QStringLiteral("："), category, w.categories, k.nameTable,
                 k.nameTableColumn, w.preset},
                amountRow(),
                accountRow(),
                memberRow(),
                remarkRow(),
            },
        .popup = PostingLayout::filtersAndDeleteAll(),
        .query =
            {
                .className = k.className + QStringLiteral("_Q"),
                .caption = w.word + QStringLiteral("查询"),
                .criteria =
                    {
                        {Criterion::Type::Dates, w.word + QStringLiteral("日期"), k.dateColumn},
                        {Criterion::Type::TypedName, category, k.nameColumn, w.categories,
                         k.nameTable, k.nameTableColumn},
                        {Criterion::Type::TypedName, QStringLiteral("账户名称"),
                         QStringLiteral("AName"), &TfrmDM::ComAccount, QStringLiteral("SAccount"),
                         QStringLiteral("AName")},
                        {Criterion::Type::TypedName, QStringLiteral("家庭成员"),
                         QStringLiteral("FName"), &TfrmDM::ComFamily, QStringLiteral("SFamily"),
                         QStringLiteral("FName")},
                        remarkCriterion(),
                    },
            },
    };
}

PostingLayout makeTransfer() {
    const PostingKind& k = PostingKind::transfer();
    Row source = accountRow();
    source.label = QStringLiteral("原  账  户：");
    source.title = QStringLiteral("原账户");
    // New leaves both accounts as they stand, so a run of transfers between the same two
    // accounts is typed once.
    source.preset = nullptr;
    Row target = source;
    target.field = Field::Target;
    target.label = QStringLiteral("到账账户：");
    target.title = QStringLiteral("到账账户");
    return {
        .kind = &k,
        .group = QStringLiteral("账户转帐"),
        .columns =
            {
                {k.dateColumn, QStringLiteral("转账日期")},
                {k.accountColumn, QStringLiteral("原账户")},
                {k.targetColumn, QStringLiteral("到账账户")},
                {k.moneyColumn, QStringLiteral("金额")},
                {QStringLiteral("FName"), QStringLiteral("家庭成员")},
                {QStringLiteral("Remark"), QStringLiteral("备注")},
            },
        .entry =
            {
                {Field::Date, QStringLiteral("转账日期："), QStringLiteral("转账日期")},
                source,
                target,
                amountRow(),
                memberRow(),
                remarkRow(),
            },
        .popup = PostingLayout::filtersAndDeleteAll(),
        .query =
            {
                .className = k.className + QStringLiteral("_Q"),
                .caption = QStringLiteral("帐户转账查询"),
                .criteria =
                    {
                        {Criterion::Type::Dates, QStringLiteral("转账日期"), k.dateColumn},
                        {Criterion::Type::PickedName, QStringLiteral("家庭成员"),
                         QStringLiteral("FName"), &TfrmDM::DBComFamily},
                        remarkCriterion(),
                    },
            },
    };
}

}  // namespace

std::vector<PostingLayout::PopupItem> PostingLayout::filtersAndDeleteAll() {
    using Type = Item::Type;
    return {{Type::Filters}, {Type::Separator}, {Type::DeleteAll, QStringLiteral("全部删除 &D")}};
}

const PostingLayout& PostingLayout::income() {
    static const PostingLayout layout = incomeLike({&PostingKind::income(), QStringLiteral("收入"),
                                                    &TfrmDM::ComInType, &GlobalState::myIName});
    return layout;
}

const PostingLayout& PostingLayout::expense() {
    static const PostingLayout layout = incomeLike({&PostingKind::expense(), QStringLiteral("支出"),
                                                    &TfrmDM::ComOutType, &GlobalState::myOName});
    return layout;
}

const PostingLayout& PostingLayout::transfer() {
    static const PostingLayout layout = makeTransfer();
    return layout;
}

const PostingLayout::EntryRow* PostingLayout::row(Field field) const {
    for (const EntryRow& r : entry) {
        if (r.field == field) return &r;
    }
    return nullptr;
}

QString PostingLayout::titleOf(const QString& column) const {
    for (const Column& c : columns) {
        if (c.column.compare(column, Qt::CaseInsensitive) == 0) return c.title;
    }
    return QString();
}

QString PostingLayout::columnOf(const QString& title) const {
    for (const Column& c : columns) {
        if (c.title == title) return c.column;
    }
    return QString();
}

}  // namespace cw
