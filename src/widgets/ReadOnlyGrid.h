#pragma once

class QTableView;

namespace cw {

// The lists that are read and picked from, never typed into: whole rows selected, no cell
// editing, and the parts each list asks for.
class ReadOnlyGrid {
  public:
    enum Option {
        OneRow = 1,        // a single row at a time (the list's actions work on one)
        Banded = 2,        // alternating row colours, rows of the report screens' height
        StretchLast = 4,   // the last column takes the spare width
        NoRowNumbers = 8,  // no vertical header
    };
    static void setUp(QTableView* grid, int options);
    // Every column as wide as its contents; when that leaves room, the remark (备注, 摘要) takes
    // it, so a list fills its window without its numbers drifting away from their names.
    static void fitToContents(QTableView* grid);
    // Every other column as wide as its contents and `column` (the free text) as wide as the
    // rest of the view: never wider, so its title stays in sight however long a text is.
    static void stretchColumn(QTableView* grid, int column);
};

}  // namespace cw
