#include "reports/ReportFilter.h"

namespace cw {

QString ReportFilter::keyword(FilterKey key) {
    switch (key) {
        case FilterKey::Account:
            return QStringLiteral("account");
        case FilterKey::Member:
            return QStringLiteral("member");
        case FilterKey::Category:
            return QStringLiteral("category");
        case FilterKey::Contact:
            return QStringLiteral("contact");
        case FilterKey::Remark:
            return QStringLiteral("remark");
        case FilterKey::AccountType:
            return QStringLiteral("type");
        case FilterKey::Dimension:
            return QStringLiteral("by");
        case FilterKey::Sort:
            return QStringLiteral("sort");
    }
    return QString();
}

}  // namespace cw
