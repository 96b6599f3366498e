#include "storage/SortClause.h"

namespace cw {

QString SortClause::lists(const QString& code, const QString& nameColumn) {
    if (code == QLatin1String("1")) return QStringLiteral(" ORDER BY theCount, ID");
    if (code == QLatin1String("2")) return QStringLiteral(" ORDER BY %1, ID").arg(nameColumn);
    if (code == QLatin1String("3")) return QStringLiteral(" ORDER BY theCount DESC, ID");
    if (code == QLatin1String("4")) return QStringLiteral(" ORDER BY %1 DESC, ID").arg(nameColumn);
    return QStringLiteral(" ORDER BY ID");
}

QString SortClause::family(const QString& code) {
    if (code == QLatin1String("2")) return QStringLiteral(" ORDER BY FName, ID");
    if (code == QLatin1String("4")) return QStringLiteral(" ORDER BY FName DESC, ID");
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
