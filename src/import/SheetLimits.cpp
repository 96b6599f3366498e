#include "import/SheetLimits.h"

namespace cw {

QString SheetLimits::exceeded(const QString& what) {
    return QStringLiteral("Excel文件超过上限：%1！").arg(what);
}

QString SheetLimits::billExceeded(const QString& what) {
    return QStringLiteral("账单文件超过上限：%1！").arg(what);
}

QString SheetLimits::bytes(qint64 n) {
    if (n >= (qint64(1) << 20) && n % (qint64(1) << 20) == 0)
        return QStringLiteral("%1 MB").arg(n >> 20);
    if (n >= 1024 && n % 1024 == 0) return QStringLiteral("%1 KB").arg(n >> 10);
    return QStringLiteral("%1 字节").arg(n);
}

}  // namespace cw
