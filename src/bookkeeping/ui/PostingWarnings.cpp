#include "bookkeeping/ui/PostingWarnings.h"

#include "bookkeeping/PostingKind.h"
#include "storage/Money.h"
#include "storage/TfrmDM.h"

namespace cw {

PostingWarnings::PostingWarnings(TfrmDM& dm) : dm_(dm) {}

std::vector<PostingWarnings::Threshold> PostingWarnings::thresholds(const PostingKind& kind) {
    std::vector<Threshold> out;
    if (kind.reminderWord.isEmpty()) return out;
    Statement st = dm_.db().prepare(
        QStringLiteral("SELECT FName AS 家庭成员, WMoney AS 提醒金额, Remark AS 提醒提示 "
                       "FROM UWarn WHERE BName=? AND theType=? AND theState='启用' ORDER BY ID"));
    st.bindAll(dm_.book(), kind.reminderWord);
    while (st.step()) {
        out.push_back({st.text(0).trimmed(), Money::round(st.number(1)), st.text(2).trimmed()});
    }
    return out;
}

std::optional<PostingWarnings::Reminder> PostingWarnings::reached(const PostingKind& kind,
                                                                  const Threshold& threshold) {
    const double total =
        dm_.myRetMMoney(kind.table, threshold.member, kind.moneyColumn, kind.dateColumn);
    if (Money::cents(total) < Money::cents(threshold.amount)) return std::nullopt;
    const QString month = dm_.clock().monthText();
    return Reminder{
        threshold.member + QLatin1Char(' ') + month + QLatin1Char(' ') + kind.reminderWord +
            QStringLiteral(" 提醒"),
        threshold.member + QStringLiteral("："),
        QStringLiteral("每月提醒金额：") + Money::display(threshold.amount) +
            QStringLiteral("，本月记账金额：") + Money::display(total) + QStringLiteral("。"),
        threshold.hint,
    };
}

QString PostingWarnings::monthlyCap(const PostingKind& kind, const QString& date,
                                    const QString& category) {
    const QString month = date.left(7);
    // The cap counts only when the book names the category exactly once.
    Statement cap =
        dm_.db().prepare(QStringLiteral("SELECT theMC FROM %1 WHERE %2=? AND BName=? LIMIT 2")
                             .arg(kind.nameTable, kind.nameTableColumn));
    cap.bindAll(category, dm_.book());
    if (!cap.step()) return QString();
    const double limit = Money::round(cap.number(0));
    if (cap.step() || Money::cents(limit) <= 0) return QString();

    const auto [from, to] = TfrmDM::monthRange(month);
    Statement spent = dm_.db().prepare(
        QStringLiteral("SELECT Sum(%1) FROM %2 WHERE BName=? AND %3=? AND %4>=? AND %4<?")
            .arg(kind.moneyColumn, kind.table, kind.nameColumn, kind.dateColumn));
    spent.bindAll(dm_.book(), category, from, to);
    const double total = spent.step() ? Money::round(spent.number(0)) : 0.0;
    if (Money::cents(total) <= Money::cents(limit)) return QString();
    return month + QLatin1Char(' ') + category + QStringLiteral(" 已超月上限！");
}

}  // namespace cw
