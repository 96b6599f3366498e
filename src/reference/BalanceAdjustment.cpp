#include "reference/BalanceAdjustment.h"

#include "storage/Money.h"
#include "storage/TfrmDM.h"
#include "storage/Transaction.h"

namespace cw {

namespace {

using Field = ReferenceManager::Field;

BalanceAdjustment::Result refuse(const QString& message, Field focus = Field::None) {
    BalanceAdjustment::Result r;
    r.message = message;
    r.focus = focus;
    return r;
}

}  // namespace

const QString BalanceAdjustment::kJournalType = QStringLiteral("调账");
const QString BalanceAdjustment::kRemark = QStringLiteral("调整账户余额");

BalanceAdjustment::BalanceAdjustment(TfrmDM& dm) : dm_(dm) {}

BalanceAdjustment::Result BalanceAdjustment::adjust(qint64 accountId, const QString& actual) {
    // A half-typed amount ("-", ".") holds no amount either.
    double wanted = 0;
    if (Money::tooLarge(actual)) {
        return refuse(QStringLiteral("实际余额 不是有效的数字！请重新录入！"), Field::Amount);
    }
    if (!Money::parse(actual, &wanted)) {
        return refuse(QStringLiteral("实际余额 不能为空！请重新录入！"), Field::Amount);
    }

    Transaction tx(dm_.db());
    const Query account = dm_.db().query(QStringLiteral("SELECT AName, FName, AMoney FROM SAccount "
                                                        "WHERE ID=? AND BName=?"),
                                         accountId, dm_.book());
    if (account.isEmpty()) return refuse(ReferenceManager::kNotFound);
    const QString name = account.text(QStringLiteral("AName"));
    const QString owner = account.text(QStringLiteral("FName"));
    // Worked in cents: equal amounts are refused, and any other difference is at least a cent.
    const qint64 difference =
        Money::cents(wanted) - Money::cents(account.number(QStringLiteral("AMoney")));
    if (difference == 0) {
        return refuse(QStringLiteral("实际余额 不能等于 账户余额！请重新录入！"), Field::Amount);
    }

    const double amount = double(difference > 0 ? difference : -difference) / 100.0;
    const QString today =
        dm_.state().myToday.isEmpty() ? dm_.clock().todayText() : dm_.state().myToday;
    const QString accountTable = QStringLiteral("SAccount");
    const QString added = QStringLiteral("新增");
    if (difference > 0) {
        dm_.AccountUp(amount, name);
        dm_.List_Add(today, kJournalType, kRemark, amount, 0, name, owner, accountTable, accountId,
                     added);
    } else {
        dm_.AccountDown(amount, name);
        dm_.List_Add(today, kJournalType, kRemark, 0, amount, name, owner, accountTable, accountId,
                     added);
    }
    tx.commit();
    Result r;
    r.id = accountId;
    return r;
}

}  // namespace cw
