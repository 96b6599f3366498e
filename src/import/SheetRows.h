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
//
// Held compactly, for sheets of a million rows: only the cells that hold something, each as
// its column and a text number. A text is either kept as the reader handed it (a shared
// string, held once however many cells repeat it) or copied into one buffer of the sheet's
// (a number's text, which would cost more as a string of its own).
class SheetRows {
  public:
    QStringList header;
    // The header's own row number (0 while no row holds anything).
    int headerRowNumber = 0;

    // Gathers one row as read (cells by 0-based column); the first non-empty one is the header.
    void add(int rowNumber, const QStringList& cells);
    // The same for a reader that finds its header itself: every non-empty row is a row.
    void addRow(int rowNumber, const QStringList& cells);

    // Cell by cell, as a streaming reader goes: texts first, then the cells naming them, then
    // the row's end (which, like add, takes the first non-empty row as the header).
    quint32 keep(const QString& text);
    quint32 copy(QStringView text);
    void addCell(int column, quint32 text);
    void endRow(int rowNumber);

    size_t rowCount() const { return rowNumbers_.size(); }
    int rowNumber(size_t row) const { return rowNumbers_[row]; }
    QStringView cell(size_t row, int column) const;
    // The cell as a string: shared with the reader's when it was kept, else a copy.
    QString text(size_t row, int column) const;
    // The row's cells up to its last non-empty one.
    QStringList row(size_t row) const;

    // Cells holding something, and characters of text held (for the readers' bounds).
    qint64 cellCount() const { return qint64(cells_.size()); }
    qint64 textChars() const { return textChars_; }

  private:
    struct Cell {
        quint32 column;
        quint32 text;
    };
    static constexpr quint32 kCopied = 0x80000000u;

    QStringView textOf(quint32 id) const;
    QString stringOf(quint32 id) const;
    const Cell* find(size_t row, int column) const;
    void endRow(int rowNumber, bool findHeader);

    std::vector<QString> kept_;
    QString buffer_;
    std::vector<quint32> copiedEnds_;
    std::vector<Cell> cells_;
    std::vector<quint32> rowEnds_;
    std::vector<int> rowNumbers_;
    size_t rowStart_ = 0;
    qint64 textChars_ = 0;
};

// A file that cannot be read as a workbook with the sheet asked for; the message is the one
// the user sees.
class SheetError : public std::runtime_error {
  public:
    explicit SheetError(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromUtf8(what()); }
};

}  // namespace cw
