#include "import/bills/BillRules.h"

#include <utility>
#include <vector>

namespace cw {

namespace {

bool containsAny(const QString& text, const QStringList& words) {
    for (const QString& w : words)
        if (text.contains(w)) return true;
    return false;
}

// The account after "到" in "零钱通转出-到工商银行(1234)"; empty when none is named.
QString named(const QString& text, const char* word) {
    const qsizetype at = text.indexOf(QString::fromUtf8(word));
    if (at < 0) return QString();
    QString rest = text.mid(at + 1);
    const qsizetype end = rest.indexOf(QLatin1Char(' '));
    return (end < 0 ? rest : rest.left(end)).trimmed();
}

bool usable(const QString& name) {
    return !name.isEmpty() && name != QStringLiteral("/");
}

struct Suggestion {
    QStringList words;  // in the app category or the counterparty
    QStringList categories;
};

// App categories and counterparties, mapped onto the categories a new book starts with and
// the common names households give their own.
const std::vector<Suggestion>& expenseTable() {
    static const std::vector<Suggestion> t{
        {{"餐饮", "美食", "外卖", "饭", "餐厅", "咖啡", "奶茶", "面包"},
         {"餐饮", "外出就餐", "食品"}},
        {{"超市", "日用", "百货", "便利店"}, {"日用品", "日常用品"}},
        {{"加油", "石化", "石油"}, {"加油", "汽油费"}},
        {{"停车", "高速", "ETC"}, {"停车过路费"}},
        {{"交通", "出行", "公交", "地铁", "打车", "滴滴", "铁路", "航空"}, {"交通", "公共汽车费"}},
        {{"话费", "移动", "联通", "电信"}, {"话费", "手机费", "电话费"}},
        {{"水费", "水务"}, {"水费"}},
        {{"电费", "电力", "电网"}, {"电费"}},
        {{"燃气", "煤气"}, {"燃气费", "煤气费"}},
        {{"服饰", "服装", "鞋"}, {"服饰", "衣服"}},
        {{"医疗", "药", "医院", "诊所"}, {"医疗", "医疗药品费"}},
        {{"教育", "培训", "学校"}, {"教育", "培训费", "学杂费"}},
        {{"休闲", "娱乐", "电影", "游戏"}, {"娱乐", "娱乐费"}},
        {{"旅游", "酒店", "旅行"}, {"旅游", "旅游度假"}},
        {{"数码", "电器"}, {"数码", "购买数码产品"}},
        {{"住房", "物业", "房租"}, {"住房", "房租"}},
        {{"爱车", "养车", "汽车"}, {"汽车", "汽车维护费"}},
        {{"保险"}, {"保险", "交纳保费"}},
        {{"红包"}, {"红包", "礼品礼金"}},
        {{"手续费", "服务费"}, {"手续费", "银行手续费"}},
    };
    return t;
}

const std::vector<Suggestion>& incomeTable() {
    static const std::vector<Suggestion> t{
        {{"工资", "薪"}, {"工资"}},
        {{"奖金"}, {"奖金"}},
        {{"利息", "收益"}, {"利息收入", "理财收益"}},
        {{"红包"}, {"红包", "亲属赠予金"}},
        {{"报销"}, {"报销"}},
    };
    return t;
}

}  // namespace

QString BillRules::accountType(const QString& name) {
    if (containsAny(name, {"信用卡", "花呗", "白条", "信用购"})) return QStringLiteral("信用卡");
    if (containsAny(name, {"零钱", "余额"})) return QStringLiteral("电子账户");
    if (containsAny(name, {"银行", "储蓄卡", "借记卡"})) return QStringLiteral("银行卡");
    if (containsAny(name, {"基金", "理财", "财富", "证券"})) return QStringLiteral("其它");
    return QStringLiteral("现金");
}

QString BillRules::walletOf(const QString& method, Bill::Source source) {
    if (source == Bill::Source::WeChat) return usable(method) ? method : QStringLiteral("零钱");
    if (!usable(method) || method == QStringLiteral("账户余额")) return QStringLiteral("余额");
    return method;
}

bool BillRules::transfer(const BillRow& row, Bill::Source source, QString* from, QString* to) {
    if (row.refund) return false;
    const QString text = row.type + QLatin1Char(' ') + row.goods;
    const QString method = walletOf(row.method, source);
    const bool wechat = source == Bill::Source::WeChat;
    const QString wallet = wechat ? QStringLiteral("零钱") : QStringLiteral("余额");
    const auto orWallet = [&](const QString& name) {
        return usable(name) ? walletOf(name, source) : wallet;
    };
    const auto counterparty = usable(row.counterparty) ? row.counterparty : QString();
    std::pair<QString, QString> move;
    // What a merchant was paid (话费充值 included) is an expense whatever its words; only a
    // card repaid may come as 支出.
    const bool neutral = row.direction == BillRow::Direction::Neutral;
    if (!neutral && !(row.direction == BillRow::Direction::Out && containsAny(text, {"还款"})))
        return false;
    if (containsAny(text, {"零钱通", "余额宝"})) {
        const QString fund = text.contains(QStringLiteral("零钱通")) ? QStringLiteral("零钱通")
                                                                     : QStringLiteral("余额宝");
        if (containsAny(text, {"收益"})) return false;  // a yield is income, not a move
        if (containsAny(text, {"转出", "提现", "取出"}))
            move = {fund, orWallet(named(text, "到"))};
        else
            move = {method == fund ? wallet : method, fund};
    } else if (containsAny(text, {"零钱充值", "余额充值"})) {
        move = {method, wallet};
    } else if (containsAny(text, {"提现"})) {
        move = {method, counterparty.isEmpty() ? named(text, "到") : counterparty};
    } else if (containsAny(text, {"还款", "信用借还"})) {
        QString card = counterparty;
        for (const QString& t : {row.counterparty, row.goods, row.type})
            if (containsAny(t, {"信用卡", "花呗", "白条"})) {
                card = t.contains(QStringLiteral("花呗"))   ? QStringLiteral("花呗")
                       : t.contains(QStringLiteral("白条")) ? QStringLiteral("白条")
                                                            : t;
                break;
            }
        if (!card.isEmpty() && accountType(card) != QStringLiteral("信用卡")) {
            if (!neutral) return false;
            card += QStringLiteral("信用卡");
        }
        move = {method, card};
    } else if (containsAny(text, {"基金", "理财"}) && containsAny(text, {"买入", "申购", "购买"})) {
        move = {method, counterparty.isEmpty() ? QStringLiteral("基金") : counterparty};
    } else if (containsAny(text, {"基金", "理财"}) && containsAny(text, {"卖出", "赎回"})) {
        move = {counterparty.isEmpty() ? QStringLiteral("基金") : counterparty, method};
    } else {
        return false;
    }
    if (!usable(move.first) || !usable(move.second) || move.first == move.second) return false;
    *from = move.first;
    *to = move.second;
    return true;
}

QStringList BillRules::categories(const BillRow& row, BillRow::Direction kind) {
    const auto& table = kind == BillRow::Direction::In ? incomeTable() : expenseTable();
    QStringList out;
    // The app's own category says more than the counterparty's name.
    QString type = row.type;
    type.remove(QStringLiteral("-退款"));
    for (const QString& text : {type, row.counterparty, row.goods}) {
        if (!usable(text)) continue;
        for (const Suggestion& s : table) {
            if (!containsAny(text, s.words)) continue;
            out << s.categories;
        }
    }
    out.removeDuplicates();
    return out;
}

const QStringList& BillRules::feeCategories() {
    static const QStringList c{QStringLiteral("手续费"), QStringLiteral("银行手续费")};
    return c;
}

}  // namespace cw
