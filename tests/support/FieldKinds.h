#pragma once

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

}  // namespace cw::test
