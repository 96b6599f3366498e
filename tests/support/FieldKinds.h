#pragma once

#include <QVariant>
#include <vector>

#include "reports/ReportTable.h"

namespace cw::test {

// The kind a report gives each field: what the export and print tests fill a made-up table by.
inline ColumnKind kindOf(Field f) {
    switch (f) {
        case Field::IMoney:
        case Field::OMoney:
        case Field::CMoney:
        case Field::BMoney:
        case Field::DMoney:
        case Field::TMoney:
        case Field::RMoney:
        case Field::SMoney:
        case Field::theIn:
        case Field::theOut:
        case Field::AMoney:
        case Field::theSM:
        case Field::theZM:
        case Field::theJY:
        case Field::PMoney:
        case Field::Amount:
            return ColumnKind::Money;
        case Field::theSC:
        case Field::theZC:
            return ColumnKind::Count;
        case Field::theBC:
            return ColumnKind::Ratio;
        case Field::IDate:
        case Field::ODate:
        case Field::CDate:
        case Field::BDate:
        case Field::DDate:
        case Field::TDate:
        case Field::RDate:
        case Field::PDate:
        case Field::theDate:
            return ColumnKind::Date;
        default:
            return ColumnKind::Text;
    }
}

// A made-up row of a print test: every amount `amount`, every count `count`, ratios 99999.99,
// dates 2024-12-31, each text column text(field).
template <typename Text>
std::vector<QVariant> sampleRow(const ReportTable& t, double amount, qint64 count, Text&& text) {
    std::vector<QVariant> values;
    for (const ReportColumn& c : t.columns()) {
        switch (c.kind) {
            case ColumnKind::Money:
                values.push_back(amount);
                break;
            case ColumnKind::Count:
                values.push_back(count);
                break;
            case ColumnKind::Ratio:
                values.push_back(99999.99);
                break;
            case ColumnKind::Date:
                values.push_back(QStringLiteral("2024-12-31"));
                break;
            default:
                values.push_back(text(c.key));
        }
    }
    return values;
}

}  // namespace cw::test
