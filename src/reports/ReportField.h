#pragma once

namespace cw {

// The fields a report can carry, named after the stored column (or, for computed values,
// after the alias) they come from. Report columns, spreadsheet layouts and printed layouts
// refer to each other through these keys, never through a column's title: titles differ
// between the grid, the workbook and the paper ("日期" on screen, "收入日期" on paper), and a
// misspelt key does not compile.
//
// A field means the same kind of value wherever it appears (RMoney is a repaid, collected or
// returned amount; the report's column title says which).
enum class Field {
    // shared by most postings
    ID,
    AName,
    FName,
    Remark,
    // fund-flow journal (UList); theDate is also the period label of the monthly report
    theDate,
    theType,
    theIn,
    theOut,
    AMoney,
    // income, expense, transfers
    IDate,
    IName,
    IMoney,
    ODate,
    OName,
    OMoney,
    CDate,
    OldN,
    NewN,
    CMoney,
    // debts, credits, investments and their records
    BDate,
    BPro,
    BMoney,
    DDate,
    DPro,
    DMoney,
    TDate,
    TName,
    TMoney,
    RDate,
    RMoney,
    SMoney,
    // monthly and yearly reports
    theSM,
    theSC,
    theZM,
    theZC,
    theJY,
    theBC,
    // plans
    PType,
    PDate,
    PName,
    PMoney,
    // notes
    Title,
    Detail,
    Summary,
    // analysis screens: the item counted and its amount
    Item,
    Amount,
    // statistics tables: the side a row belongs to (收入/支出, 债务/债权) and its count
    Side,
    Count,
};

}  // namespace cw
