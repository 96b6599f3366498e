#pragma once

#include <QString>
#include <QVariant>
#include <vector>

#include "reports/ReportField.h"

namespace cw {

// What one report column holds; it decides how a value is shown, written and summed.
enum class ColumnKind {
    Text,
    Date,     // "yyyy-mm-dd" (or a period label "yyyy-mm"), kept as text everywhere
    Money,    // a double: "1,234.50" on screen and paper, "1234.5" in TSV, a number in a workbook
    Count,    // a whole number
    Ratio,    // a plain fraction shown with two decimals: 0.25 → "0.25"
    Percent,  // a value already multiplied by 100, shown "25.00%"
};

// One column of a report: the field it carries (its key), the title the screen shows, its
// kind, the width it takes on paper when a report is printed without a layout of its own, and
// whether the report sums it (the 合计 line, the printed footers).
struct ReportColumn {
    Field key;
    QString title;
    ColumnKind kind = ColumnKind::Text;
    double widthMm = 20;
    bool summed = false;
};

// The result of one report or query run: rows of raw values under column descriptors, with
// the totals of the summed columns. The grid, the workbook, the printed report and the CLI
// all read this one object, so their totals cannot disagree.
//
// Building one:
//     ReportTable t({{Field::IDate, "日期", ColumnKind::Date},
//                    {Field::IMoney, "金额", ColumnKind::Money, 20, true}});
//     t.addRow({QStringLiteral("2024-01-05"), 1000.0}, id);   // id: the stored row's ID
// Reading one: value(row, Field::IMoney), total(Field::IMoney), displayText(row, column).
//
// Values are QVariant: money and ratios as double, counts as qint64, texts and dates as
// QString. Money totals are added up in cents, so a total never drifts from the rows.
class ReportTable {
  public:
    ReportTable() = default;
    explicit ReportTable(std::vector<ReportColumn> columns);

    const std::vector<ReportColumn>& columns() const { return columns_; }
    int columnCount() const { return int(columns_.size()); }
    // -1 when the report has no such column.
    int columnOf(Field key) const;
    bool hasColumn(Field key) const { return columnOf(key) >= 0; }
    // Throws std::out_of_range when the report has no such column: a layout that names a
    // field its report lacks is a programming error, found by the layout tests.
    int requireColumn(Field key) const;
    const ReportColumn& column(int index) const { return columns_[size_t(index)]; }

    void reserve(int rows);
    // One row, its values in column order (missing values read as empty). id is the stored
    // row's ID, printed under "序号"; 0 when the row has none.
    void addRow(std::vector<QVariant> values, qint64 id = 0);

    int rowCount() const { return int(ids_.size()); }
    bool isEmpty() const { return ids_.empty(); }
    qint64 rowId(int row) const { return ids_[size_t(row)]; }
    const QVariant& value(int row, int column) const;
    QVariant value(int row, Field key) const { return value(row, requireColumn(key)); }
    double number(int row, Field key) const { return value(row, key).toDouble(); }
    QString text(int row, Field key) const { return value(row, key).toString(); }

    // The total of a money or count column (0 for other kinds): money rounded to the cent,
    // counts whole. Kept for every such column; `summed` only says which the 合计 line shows.
    double total(int column) const;
    double total(Field key) const { return total(requireColumn(key)); }
    // The total as a value of the column's kind (qint64 for counts); invalid for other kinds.
    QVariant totalValue(int column) const;
    // What the 合计 line shows under the column: its total when summed, else nothing.
    QVariant shownTotal(int column) const;

    // Whether the screen shows a 合计 line under the rows (and the TSV prints one).
    bool totalsRow() const { return totalsRow_; }
    void setTotalsRow(bool on) { totalsRow_ = on; }

    // The screen's and the paper's form: "1,234.50", "0.25", "12". The total texts are empty
    // under columns that are not summed.
    QString displayText(int row, int column) const;
    QString totalDisplayText(int column) const;
    // The plain form of scripts: "1234.5", no separators, rounded to the cent.
    QString plainText(int row, int column) const;
    QString totalPlainText(int column) const;

    static QString display(const QVariant& value, ColumnKind kind);
    static QString plain(const QVariant& value, ColumnKind kind);
    static bool isNumeric(ColumnKind kind) {
        return kind == ColumnKind::Money || kind == ColumnKind::Count ||
               kind == ColumnKind::Ratio || kind == ColumnKind::Percent;
    }

  private:
    std::vector<ReportColumn> columns_;
    std::vector<QVariant> cells_;  // row-major, columnCount() per row
    std::vector<qint64> ids_;
    std::vector<qint64> sums_;  // per column: cents for money, units for counts
    bool totalsRow_ = true;
};

}  // namespace cw
