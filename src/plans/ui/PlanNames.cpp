#include "plans/ui/PlanNames.h"

#include "storage/TfrmDM.h"

namespace cw {

QStringList PlanNames::of(TfrmDM& dm, const QString& kind) {
    if (kind == QStringLiteral("收入")) return dm.DBComInType();
    if (kind == QStringLiteral("支出")) return dm.DBComOutType();
    if (kind == QStringLiteral("投资")) return dm.DBComTZType();
    return dm.DBComPType();
}

QString PlanNames::defaultOf(const GlobalState& s, const QString& kind) {
    if (kind == QStringLiteral("收入")) return s.myIName;
    if (kind == QStringLiteral("支出")) return s.myOName;
    if (kind == QStringLiteral("投资")) return s.myTName;
    return s.myPName;
}

QString PlanNames::label(const QString& kind) {
    if (kind == QStringLiteral("债务")) return QStringLiteral("债  权  人：");
    if (kind == QStringLiteral("债权")) return QStringLiteral("债  务  人：");
    return kind + QStringLiteral("类别：");
}

}  // namespace cw
