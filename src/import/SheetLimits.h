#pragma once

#include <QString>
#include <QtGlobal>

namespace cw {

// How much a file from outside may make a reader expand before it is refused. The defaults
// take a full worksheet of the spreadsheet program (1,048,576 rows, 16,384 columns, cells of
// 32,767 characters) with a million rows of ordinary cells, and keep a small hostile file from
// costing more than a few hundred MB. Tests lower them to try the refusals with small files.
struct SheetLimits {
    // Any one part of a package as unpacked, as declared and as counted while inflating.
    qint64 partBytes = qint64(1) << 30;
    // Unpacked bytes per packed byte, for parts unpacking to more than ratioFromBytes;
    // spreadsheet XML packs about ten to one, a zip bomb a thousand to one.
    qint64 packRatio = 100;
    qint64 ratioFromBytes = qint64(32) << 20;
    int rows = 1'048'576;
    int columns = 16'384;
    qint64 cells = qint64(32) << 20;  // cells holding anything, over the sheet
    int cellChars = 32'767;
    qint64 sharedStrings = qint64(4) << 20;
    qint64 textChars = qint64(128) << 20;  // every text held: shared strings and cells
    int entries = 65'536;                  // styles, number formats, relationships
    // A bill as a text file, and one of its lines.
    qint64 billBytes = qint64(64) << 20;
    int billLineChars = 65'536;
    // Cells holding anything in a statement, which is held as a list of rows while the user
    // maps its columns (some 60 bytes a cell): far more than years of a bank's detail.
    qint64 statementCells = qint64(2) << 20;

    // "Excel文件超过上限：行号 2000000，最多 1048576 行！"
    static QString exceeded(const QString& what);
    static QString billExceeded(const QString& what);
    // 4096 → "4 KB", in the largest whole unit.
    static QString bytes(qint64 n);
};

}  // namespace cw
