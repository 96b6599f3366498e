#include "import/ImportKind.h"

namespace cw {

namespace {

ImportKind make(const PostingKind& posting, const char* cli, const char* cls, const char* caption,
                const char* name, const char* amount) {
    return {
        .posting = &posting,
        .cliName = QString::fromUtf8(cli),
        .className = QString::fromUtf8(cls),
        .caption = QString::fromUtf8(caption),
        .dateHeader = QStringLiteral("日期"),
        .nameHeader = QString::fromUtf8(name),
        .amountHeader = QString::fromUtf8(amount),
        .accountHeader = QStringLiteral("账户名称"),
        .targetHeader = {},
        .memberHeader = QStringLiteral("家庭成员"),
        .remarkHeader = QStringLiteral("备注"),
    };
}

std::vector<ImportKind> makeKinds() {
    std::vector<ImportKind> kinds;
    kinds.push_back(make(PostingKind::income(), "in", "TfrmD_In", "收入导入", "收入类别", "金额"));
    kinds.push_back(
        make(PostingKind::expense(), "out", "TfrmD_Out", "支出导入", "支出类别", "金额"));
    ImportKind transfer =
        make(PostingKind::transfer(), "transfer", "TfrmD_A", "账户转账导入", "", "转账金额");
    transfer.accountHeader = QStringLiteral("原账户");
    transfer.targetHeader = QStringLiteral("到账账户");
    kinds.push_back(transfer);
    kinds.push_back(make(PostingKind::debt(), "debt", "TfrmD_B", "债务导入", "债权人", "债务金额"));
    kinds.push_back(
        make(PostingKind::credit(), "credit", "TfrmD_D", "债权导入", "债务人", "债权金额"));
    ImportKind investment = make(PostingKind::investment(), "investment", "TfrmD_T", "投资导入",
                                 "投资类别", "投资金额");
    investment.cuts = false;
    kinds.push_back(investment);
    return kinds;
}

}  // namespace

QStringList ImportKind::headers() const {
    // A transfer states its accounts before its amount; the others their name first.
    if (!targetHeader.isEmpty()) {
        return {dateHeader, accountHeader, targetHeader, amountHeader, memberHeader, remarkHeader};
    }
    return {dateHeader, nameHeader, amountHeader, accountHeader, memberHeader, remarkHeader};
}

QStringList ImportKind::required() const {
    QStringList r{dateHeader};
    if (!nameHeader.isEmpty()) r << nameHeader;
    r << accountHeader;
    if (!targetHeader.isEmpty()) r << targetHeader;
    r << memberHeader;
    return r;
}

QString ImportKind::hint() const {
    return QStringLiteral("打开的EXCEL文件的底部一定是Sheet1，表格头部顺序为") +
           headers().join(QStringLiteral("、"));
}

const std::vector<ImportKind>& ImportKind::all() {
    static const std::vector<ImportKind> kinds = makeKinds();
    return kinds;
}

const ImportKind* ImportKind::byCliName(const QString& word) {
    for (const ImportKind& k : all()) {
        if (k.cliName == word) return &k;
    }
    return nullptr;
}

const ImportKind* ImportKind::byClassName(const QString& name) {
    for (const ImportKind& k : all()) {
        if (k.className == name) return &k;
    }
    return nullptr;
}

}  // namespace cw
