#pragma once

#include <QString>

namespace cw {

// How the program names itself at the foot of printed pages and spreadsheets.
struct ProductInfo {
    static QString name() { return QStringLiteral("Coinwick"); }
    static QString webAddress() { return QStringLiteral("www.coinwick.cn"); }
};

}  // namespace cw
