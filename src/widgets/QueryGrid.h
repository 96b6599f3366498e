#pragma once

#include <QHash>
#include <QString>
#include <QTableView>

#include "widgets/QueryGridModel.h"

namespace cw {

// The list of every manager, posting and query screen: whole rows, one at a time, never
// edited in place, alternating row colours, the columns the model hides kept out of sight
// and column widths fitted to their content. A click on a column title sorts the rows
// (switch it off for lists whose titles do not sort). While a row is being entered the
// list is locked so the current row cannot move away under the entry fields.
class QueryGrid : public QTableView {
    Q_OBJECT

  public:
    static constexpr int kMaxColumnWidth = 320;
    static constexpr int kMinColumnWidth = 64;

    explicit QueryGrid(QWidget* parent = nullptr);

    // The grid's own model. Fill it with setQuery/setPagedQuery; the grid follows.
    QueryGridModel* gridModel() const { return model_; }

    // -1 when the list is empty.
    int currentRow() const;
    // Makes row current and selected and scrolls to it; a paged list reads on as far as
    // needed. Rows out of range are ignored.
    void selectRow(int row);
    // The row of that ID made current; false when the list has no such row.
    bool selectId(qint64 id);

    void setLocked(bool locked);
    bool isLocked() const { return locked_; }

    void setTitleSort(bool on) { titleSort_ = on; }
    bool titleSort() const { return titleSort_; }

    // A fixed width for one column, kept across refreshes (the rest fit their content).
    void setColumnWidthFor(const QString& columnName, int pixels);
    // Shows the hidden columns of the model hidden, and fits the widths.
    void fitColumns();
    // The column that takes the spare width: the remark, else the first shown (the name).
    int stretchColumn() const;

  signals:
    // The current row moved (also after a refresh or a title sort); -1 when empty.
    void currentRowChanged(int row);
    void rowDoubleClicked(int row);
    void lockedChanged(bool locked);

  private:
    void applyHidden();
    void afterReset();
    int firstVisibleColumn() const;

    QueryGridModel* model_;
    QHash<QString, int> fixedWidths_;  // lower-case column name -> pixels
    bool locked_ = false;
    bool titleSort_ = true;
};

}  // namespace cw
