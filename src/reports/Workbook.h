#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <map>
#include <optional>

namespace cw {

// A spreadsheet in memory, filled call for call the way the exports describe it (merge a
// range, centre it, set its font, write cells, draw borders, set up the page), then saved as
// an .xlsx file by XlsxWriter. Rows and columns count from 1 and ranges read "A1:H1", as on
// the sheet itself.
//
// Values keep their type: a QString stays text (dates and month labels included, so
// "2024-01" never turns into a date), numbers (double, integers) become numeric cells that the
// spreadsheet can sum.
class Workbook {
  public:
    struct Range {
        int top = 1;
        int left = 1;
        int bottom = 1;
        int right = 1;

        // "A1:H1" or a single cell "B3"; throws std::invalid_argument on anything else.
        static Range parse(const QString& ref);
        QString ref() const;
        bool operator==(const Range&) const = default;
    };

    // The look of one cell. fontSize 0 leaves the spreadsheet's default.
    struct Style {
        QString fontName;
        double fontSize = 0;
        bool bold = false;
        bool centred = false;  // horizontally and vertically
        bool wrap = false;
        bool border = false;  // a thin continuous line on every edge
        bool operator==(const Style&) const = default;
    };

    struct Cell {
        QVariant value;
        Style style;
    };

    enum class Orientation { Default, Portrait, Landscape };

    // Margins in points; a margin not given keeps the spreadsheet's default.
    struct PageSetup {
        Orientation orientation = Orientation::Default;
        std::optional<double> topMargin;
        std::optional<double> bottomMargin;
        std::optional<double> leftMargin;
        std::optional<double> rightMargin;
        // Printed centred at the foot of every page; "&P" is the page number, "&N" the count.
        QString centerFooter;
    };

    // "A" for 1, "H" for 8, "AA" for 27.
    static QString columnLetters(int column);

    // The application's title while the workbook is open; saved as the document's title.
    void setCaption(const QString& caption) { caption_ = caption; }
    const QString& caption() const { return caption_; }

    // Merges each row of the range into one cell (the value of its first cell shows).
    void mergeRows(const Range& range);
    void centre(const Range& range);
    void setFontName(const Range& range, const QString& name);
    void setFontSize(const Range& range, double size);
    void setBold(const Range& range, bool bold);
    void setBorders(const Range& range);
    void setWrapText(int row, int column, bool wrap);

    // Width in characters of the default font.
    void setColumnWidth(int column, double width) { widths_[column] = width; }
    std::optional<double> columnWidth(int column) const;

    void setValue(int row, int column, const QVariant& value);
    QVariant value(int row, int column) const;
    // What the cell shows as text ("" when empty); numbers in their shortest form.
    QString text(int row, int column) const;

    PageSetup& pageSetup() { return page_; }
    const PageSetup& pageSetup() const { return page_; }

    // Everything the writer needs, cells in row then column order.
    const std::map<qint64, Cell>& cells() const { return cells_; }
    static int rowOf(qint64 key) { return int(key >> 16); }
    static int columnOf(qint64 key) { return int(key & 0xffff); }
    // Merged ranges, each one row high.
    const QList<Range>& merges() const { return merges_; }
    const std::map<int, double>& columnWidths() const { return widths_; }
    int lastRow() const;

  private:
    static qint64 key(int row, int column) { return (qint64(row) << 16) | qint64(column); }
    Cell& cell(int row, int column) { return cells_[key(row, column)]; }
    template <typename F>
    void forEach(const Range& range, F&& f) {
        for (int r = range.top; r <= range.bottom; ++r) {
            for (int c = range.left; c <= range.right; ++c) f(cell(r, c).style);
        }
    }

    QString caption_;
    std::map<qint64, Cell> cells_;
    QList<Range> merges_;
    std::map<int, double> widths_;
    PageSetup page_;
};

}  // namespace cw
