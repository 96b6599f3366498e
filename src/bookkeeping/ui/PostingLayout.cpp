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

// The words in which a debt, a credit and an investment differ on their screens.
struct SettledWords {
    const PostingKind* kind;
    QString group;            // "债务信息"
    QString dateLabel;        // "日        期："
    QString nameLabel;        // "债  权  人："
    QString nameTitle;        // "债权人"
    QString amountLabel;      // "债务金额："
    QString amountTitle;      // "债务金额"
    QString runningTitle;     // "已还金额"
    bool runningAfterAmount;  // investments show the gain beside the amount
    PostingLayout::Filler names;
    PostingLayout::Filler pickedNames;  // the query's pick-list
    QString GlobalState::*preset;
    std::vector<QString> commands;  // the sub-dialog commands, "" for a separator
    bool writesOff;
    QString queryCaption;
    QString queryDate;  // the query's date check box
    QString queryName;  // the query's name check box
};

PostingLayout settled(const SettledWords& w) {
    const PostingKind& k = *w.kind;
    std::vector<PostingLayout::Column> columns{
        {k.dateColumn, QStringLiteral("日期")},
        {k.nameColumn, w.nameTitle},
        {k.moneyColumn, w.amountTitle},
    };
    const PostingLayout::Column running{QStringLiteral("RMoney"), w.runningTitle};
    if (w.runningAfterAmount) columns.push_back(running);
    columns.push_back({k.accountColumn, QStringLiteral("账户名称")});
    columns.push_back({QStringLiteral("FName"), QStringLiteral("家庭成员")});
    if (!w.runningAfterAmount) columns.push_back(running);
    columns.push_back({QStringLiteral("Remark"), QStringLiteral("备注")});

    std::vector<Item> popup;
    for (const QString& c : w.commands) {
        if (c.isEmpty()) {
            popup.push_back({Item::Type::Separator});
        } else {
            popup.push_back({Item::Type::Command, c});
        }
    }
    popup.push_back({Item::Type::Separator});
    popup.push_back({Item::Type::Filters});
    if (w.writesOff) {
        popup.push_back({Item::Type::Separator});
        popup.push_back({Item::Type::Command, QStringLiteral("坏账 &H")});
    }

    Row amount = amountRow();
    amount.label = w.amountLabel;
    amount.title = w.amountTitle;
    return {
        .kind = w.kind,
        .group = w.group,
        .columns = columns,
        .entry =
            {
                {Field::Date, w.dateLabel, QStringLiteral("日期")},
                {Field::Name, w.nameLabel, w.nameTitle, w.names, k.nameTable, k.nameTableColumn,
                 w.preset},
                amount,
                accountRow(),
                memberRow(),
                remarkRow(),
            },
        .popup = popup,
        .query =
            {
                .className = k.className + QStringLiteral("_Q"),
                .caption = w.queryCaption,
                .criteria =
                    {
                        {Criterion::Type::Dates, w.queryDate, k.dateColumn},
                        {Criterion::Type::PickedName, w.queryName, k.nameColumn, w.pickedNames},
                        {Criterion::Type::PickedName, QStringLiteral("账户名称"),
                         QStringLiteral("AName"), &TfrmDM::DBComAccount},
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

const PostingLayout& PostingLayout::debt() {
    static const PostingLayout layout = settled({
        .kind = &PostingKind::debt(),
        .group = QStringLiteral("债务信息"),
        .dateLabel = QStringLiteral("日        期："),
        .nameLabel = QStringLiteral("债  权  人："),
        .nameTitle = QStringLiteral("债权人"),
        .amountLabel = QStringLiteral("债务金额："),
        .amountTitle = QStringLiteral("债务金额"),
        .runningTitle = QStringLiteral("已还金额"),
        .runningAfterAmount = false,
        .names = &TfrmDM::ComPType,
        .pickedNames = &TfrmDM::DBComPType,
        .preset = &GlobalState::myPName,
        .commands = {QStringLiteral("还债 &R"), QStringLiteral("还债记录 &V"), QString(),
                     QStringLiteral("增加债务金额 &Z"), QStringLiteral("减少债务金额 &J"),
                     QStringLiteral("增减债务记录 &B")},
        .writesOff = false,
        .queryCaption = QStringLiteral("债务查询"),
        .queryDate = QStringLiteral("借债日期"),
        .queryName = QStringLiteral("债  权  人"),
    });
    return layout;
}

const PostingLayout& PostingLayout::credit() {
    static const PostingLayout layout = settled({
        .kind = &PostingKind::credit(),
        .group = QStringLiteral("债权信息"),
        .dateLabel = QStringLiteral("日        期："),
        .nameLabel = QStringLiteral("债  务  人："),
        .nameTitle = QStringLiteral("债务人"),
        .amountLabel = QStringLiteral("债权金额："),
        .amountTitle = QStringLiteral("债权金额"),
        .runningTitle = QStringLiteral("已收金额"),
        .runningAfterAmount = false,
        .names = &TfrmDM::ComPType,
        .pickedNames = &TfrmDM::DBComPType,
        .preset = &GlobalState::myPName,
        .commands = {QStringLiteral("收债 &R"), QStringLiteral("收债记录 &V"), QString(),
                     QStringLiteral("增加债权金额 &Z"), QStringLiteral("减少债权金额 &J"),
                     QStringLiteral("增减债权记录 &B")},
        .writesOff = true,
        .queryCaption = QStringLiteral("债权查询"),
        .queryDate = QStringLiteral("借债日期"),
        .queryName = QStringLiteral("债  务  人"),
    });
    return layout;
}

const PostingLayout& PostingLayout::investment() {
    static const PostingLayout layout = settled({
        .kind = &PostingKind::investment(),
        .group = QStringLiteral("投资"),
        .dateLabel = QStringLiteral("投资日期："),
        .nameLabel = QStringLiteral("投资类别："),
        .nameTitle = QStringLiteral("投资类别"),
        .amountLabel = QStringLiteral("投资金额："),
        .amountTitle = QStringLiteral("投资金额"),
        .runningTitle = QStringLiteral("收益金额"),
        .runningAfterAmount = true,
        .names = &TfrmDM::ComTZType,
        .pickedNames = &TfrmDM::DBComTZType,
        .preset = &GlobalState::myTName,
        .commands = {QStringLiteral("收益 &R"), QStringLiteral("收益记录 &V"), QString(),
                     QStringLiteral("增加投资金额 &Z"), QStringLiteral("减少投资金额 &S"),
                     QStringLiteral("增减投资记录 &B")},
        .writesOff = false,
        .queryCaption = QStringLiteral("投资查询"),
        .queryDate = QStringLiteral("投资日期"),
        .queryName = QStringLiteral("投资类别"),
    });
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
