#include "storage/SortClause.h"

#include "storage/NameOrder.h"

namespace cw {

QString SortClause::lists(const QString& code, const QString& nameColumn) {
    if (code == QLatin1String("1")) return QStringLiteral(" ORDER BY theCount, ID");
    const QString name = NameOrder::sqlKey(nameColumn, QStringLiteral("thePY"));
    if (code == QLatin1String("2")) return QStringLiteral(" ORDER BY %1, ID").arg(name);
    if (code == QLatin1String("3")) return QStringLiteral(" ORDER BY theCount DESC, ID");
    if (code == QLatin1String("4")) return QStringLiteral(" ORDER BY %1 DESC, ID").arg(name);
    return QStringLiteral(" ORDER BY ID");
}

QString SortClause::family(const QString& code) {
    const QString name = NameOrder::sqlKey(QStringLiteral("FName"), QStringLiteral("thePY"));
    if (code == QLatin1String("2")) return QStringLiteral(" ORDER BY %1, ID").arg(name);
    if (code == QLatin1String("4")) return QStringLiteral(" ORDER BY %1 DESC, ID").arg(name);
    return QStringLiteral(" ORDER BY ID");
}

QString SortClause::postings(const QString& code, const QString& dateColumn) {
    if (code == QLatin1String("1")) return QStringLiteral(" ORDER BY ID");
    if (code == QLatin1String("2")) return QStringLiteral(" ORDER BY %1, ID").arg(dateColumn);
    if (code == QLatin1String("4"))
        return QStringLiteral(" ORDER BY %1 DESC, ID DESC").arg(dateColumn);
    return QStringLiteral(" ORDER BY ID DESC");
}

}  // namespace cw
