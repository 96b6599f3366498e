#pragma once

#include <QString>
#include <QStringList>
#include <stdexcept>
#include <vector>

namespace cw {

// One worksheet read as the user sees it: every cell as its displayed text (a date as
// yyyy-mm-dd, a number without binary noise), the first row that holds anything taken as the
// header row. Rows that hold nothing at all are left out; each row kept remembers its row
// number in the spreadsheet, so a message can point the user at it.
struct SheetRows {
    QStringList header;
    std::vector<QStringList> rows;
    std::vector<int> rowNumbers;  // 1-based, as the spreadsheet program numbers them

    // Gathers one row as read (cells by 0-based column); the first non-empty one is the header.
    void add(int rowNumber, const QStringList& cells);
};

// A file that cannot be read as a workbook with the sheet asked for; the message is the one
// the user sees.
class SheetError : public std::runtime_error {
  public:
    explicit SheetError(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromUtf8(what()); }
};

}  // namespace cw
