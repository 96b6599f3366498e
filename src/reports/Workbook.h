#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <vector>

namespace cw {

// A spreadsheet in memory, filled call for call the way the exports describe it (merge a
// range, centre it, set its font, write cells, draw borders, set up the page), then saved as
// an .xlsx file by XlsxWriter. Rows and columns count from 1 and ranges read "A1:H1", as on
// the sheet itself.
//
// Values keep their type: a QString stays text (dates and month labels included, so
// "2024-01" never turns into a date), numbers (double, integers) become numeric cells that the
// spreadsheet can sum; a number format (moneyFormat(), percentFormat()) makes them read as the
// screen shows them. Columns are widened to the widest value they hold when saved.
//
// The data rows of a long export are a Body: read from their source while the file is
// written, never copied into cells, so a hundred thousand rows cost no memory of their own.
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
        bool border = false;   // a thin continuous line on every edge
        QString numberFormat;  // empty: General
        bool operator==(const Style&) const = default;
    };

    struct Cell {
        QVariant value;
        Style style;
    };

    // A block of rows [firstRow, firstRow + rows) whose values come from `value`; each of its
    // columns has one style for all its rows.
    struct Body {
        int firstRow = 0;
        int rows = 0;
        int columns = 0;
        // The value of data row `index` (from 0) in `column` (from 1).
        std::function<QVariant(int index, int column)> value;
        std::vector<Style> styles = {};  // per column, [0] unused
        // Called every few hundred rows while the rows are written: rows done, rows in all.
        std::function<void(int done, int total)> progress = {};
        int lastRow() const { return firstRow + rows - 1; }
        bool holds(int row) const { return rows > 0 && row >= firstRow && row <= lastRow(); }
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

    // Thousands separators and two decimals, as the screens show money: 1,234.50.
    static QString moneyFormat() { return QStringLiteral("#,##0.00"); }
    // A share held as a fraction (0.125) reads 12.50%.
    static QString percentFormat() { return QStringLiteral("0.00%"); }
    // Two decimals without separators, as the screens show a ratio.
    static QString ratioFormat() { return QStringLiteral("0.00"); }
    // The width a column needs to show the value whole in the cell's format and font: digits
    // and Latin letters one character each, CJK two, a character of padding.
    static double widthFor(const QVariant& value, const Style& style);
    // Whether a value is written as a numeric cell.
    static bool isNumber(const QVariant& value);
    // What the spreadsheet shows for a value under a number format.
    static QString shown(const QVariant& value, const QString& numberFormat);
    // The spreadsheet's width of a column without one of its own.
    static constexpr double kDefaultWidth = 8.43;
    // Texts longer than this wrap or run over rather than widen their column further.
    static constexpr double kMaxFittedWidth = 80;

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
    void setNumberFormat(const Range& range, const QString& format);

    // Width in characters of the default font.
    void setColumnWidth(int column, double width) { widths_[column] = width; }
    std::optional<double> columnWidth(int column) const;

    void setValue(int row, int column, const QVariant& value);
    void setValue(int row, int column, const QVariant& value, const QString& numberFormat);
    QVariant value(int row, int column) const;
    // What the cell shows as text ("" when empty): numbers in their number format, else in
    // their shortest form.
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
    // The widths set, each widened to the widest value of its column outside merged ranges,
    // body rows included (one pass over them).
    std::map<int, double> fittedWidths() const;
    int lastRow() const;

    // Rows from the body are no cells: a range that styles them must span all of them, and
    // the style applies to the body's columns.
    void setBody(Body body);
    const Body& body() const { return body_; }

  private:
    static qint64 key(int row, int column) { return (qint64(row) << 16) | qint64(column); }
    Cell& cell(int row, int column) { return cells_[key(row, column)]; }
    template <typename F>
    void forEach(const Range& range, F&& f) {
        for (int r = range.top; r <= range.bottom; ++r) {
            if (body_.holds(r)) continue;
            for (int c = range.left; c <= range.right; ++c) f(cell(r, c).style);
        }
        if (!touchesBody(range)) return;
        for (int c = range.left; c <= std::min(range.right, body_.columns); ++c)
            f(body_.styles[size_t(c)]);
    }
    // Whether the range covers the body's rows; throws std::logic_error when it covers only
    // some of them.
    bool touchesBody(const Range& range) const;
    bool isMerged(int row, int column) const;

    QString caption_;
    std::map<qint64, Cell> cells_;
    QList<Range> merges_;
    std::map<int, double> widths_;
    PageSetup page_;
    Body body_;
};

}  // namespace cw
