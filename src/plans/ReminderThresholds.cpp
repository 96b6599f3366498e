#include "plans/ReminderThresholds.h"

#include "storage/Money.h"
#include "storage/TfrmDM.h"
#include "storage/Transaction.h"

namespace cw {

namespace {

const QString kAmountEmpty = QStringLiteral("提醒金额 不能为空！请重新录入！");
// The manager and the modify dialog word the empty hint differently (two blanks, one).
const QString kHintEmptyAdd = QStringLiteral("提醒提示  不能为空！请重新录入！");
const QString kHintEmptyModify = QStringLiteral("提醒提示 不能为空！请重新录入！");
const QString kAmountBad = QStringLiteral("提醒金额 不是有效的数字！请重新录入！");

// A threshold is a non-negative amount; anything else would be refused by the field.
bool amountOf(const QString& text, double* value) {
    return Money::parse(text, value) && *value >= 0;
}

}  // namespace

const QString ReminderThresholds::kDuplicate = QStringLiteral("提醒 添加重复！");
const QString ReminderThresholds::kModified = QStringLiteral("提醒修改 保存成功！");
const QString ReminderThresholds::kEnabled = QStringLiteral("启用");
const QString ReminderThresholds::kDisabled = QStringLiteral("停用");

const QStringList& ReminderThresholds::kinds() {
    static const QStringList k = {QStringLiteral("收入"), QStringLiteral("支出"),
                                  QStringLiteral("债务"), QStringLiteral("债权"),
                                  QStringLiteral("投资")};
    return k;
}

ReminderThresholds::ReminderThresholds(TfrmDM& dm) : dm_(dm) {}

std::vector<ReminderThresholds::Row> ReminderThresholds::list() {
    std::vector<Row> rows;
    Statement st =
        dm_.db().prepare(QStringLiteral("SELECT ID,theType,FName,WMoney,Remark,theState FROM UWarn "
                                        "WHERE BName=? ORDER BY NameKey(theType), NameKey(FName)"));
    st.bindAll(dm_.book());
    while (st.step()) {
        rows.push_back({st.integer(0), st.text(1), st.text(2), Money::round(st.number(3)),
                        st.text(4), st.text(5)});
    }
    return rows;
}

ReminderThresholds::Verdict ReminderThresholds::add(const QString& kind, const QString& member,
                                                    const QString& amount, const QString& hint) {
    if (!kinds().contains(kind)) return {QStringLiteral("提醒类别 不是有效的类别！")};
    if (member.trimmed().isEmpty()) return {QStringLiteral("请选择 家庭成员！"), Field::Member};
    if (amount.trimmed().isEmpty()) return {kAmountEmpty, Field::Amount};
    if (hint.isEmpty()) return {kHintEmptyAdd, Field::Hint};
    double value = 0;
    if (!amountOf(amount, &value)) return {kAmountBad, Field::Amount};

    Transaction tx(dm_.db());
    const Query dup = dm_.db().query(
        QStringLiteral("SELECT ID FROM UWarn WHERE FName=? AND BName=? AND theType=? LIMIT 1"),
        member, dm_.book(), kind);
    if (!dup.isEmpty()) return {kDuplicate, Field::None};
    dm_.myESql(QStringLiteral("INSERT INTO UWarn(BName,theType,FName,WMoney,Remark,theState) "
                              "VALUES(?,?,?,?,?,?)"),
               dm_.book(), kind, member, Money::round(value), hint.trimmed(), kEnabled);
    tx.commit();
    return {};
}

ReminderThresholds::Verdict ReminderThresholds::modify(qint64 id, const QString& amount,
                                                       const QString& hint) {
    if (amount.trimmed().isEmpty()) return {kAmountEmpty, Field::Amount};
    if (hint.isEmpty()) return {kHintEmptyModify, Field::Hint};
    double value = 0;
    if (!amountOf(amount, &value)) return {kAmountBad, Field::Amount};
    dm_.myESql(QStringLiteral("UPDATE UWarn SET WMoney=?, Remark=? WHERE ID=? AND BName=?"),
               Money::round(value), hint.trimmed(), id, dm_.book());
    return {};
}

void ReminderThresholds::setState(qint64 id, const QString& state) {
    // Only a row of the open book: an ID typed into a script may belong to another.
    dm_.myESql(QStringLiteral("UPDATE UWarn SET theState=? WHERE ID=? AND BName=?"), state, id,
               dm_.book());
}

bool ReminderThresholds::remove(qint64 id) {
    return dm_.myESql(QStringLiteral("DELETE FROM UWarn WHERE ID=? AND BName=?"), id, dm_.book()) >
           0;
}

}  // namespace cw
