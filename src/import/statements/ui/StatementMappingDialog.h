#pragma once

#include <QDialog>
#include <vector>

#include "import/statements/StatementProfile.h"
#include "import/statements/StatementReader.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QSpinBox;
class QTableWidget;

namespace cw {

struct AppContext;

// Maps a statement whose layout no profile knows: the file's first rows in a grid, the header
// row picked by its number, each of the profile's columns picked from that row's cells, and a
// name for the layout. "确定" keeps the profile for the next statements of the same layout.
class StatementMappingDialog : public QDialog {
    Q_OBJECT

  public:
    // Starts from `start` at `headerRow` (an index into sheet.rows).
    StatementMappingDialog(AppContext& ctx, const StatementSheet& sheet,
                           const StatementProfile& start, size_t headerRow,
                           QWidget* parent = nullptr);

    // The profile as the fields now map it.
    StatementProfile profile() const;
    size_t headerRow() const;

    // "确定": the layout must name its date and money columns and have a name; it is saved
    // before the dialog closes.
    void ButOkClick();

    // Rows shown, at least every row a header is searched in.
    static constexpr int kShownRows = int(StatementProfiles::kHeaderSearch);

  private:
    // The field of each column the profile names, in the order they are laid out.
    enum Field {
        Date,
        Time,
        Amount,
        Income,
        Expense,
        Mark,
        Counterparty,
        CounterpartyAccount,
        Remark1,
        Remark2,
        Remark3,
        Balance,
        FieldCount
    };
    static QComboBox* makeColumnBox(const char* objectName);
    // The column boxes and the options of the way money is given, three to a line.
    QGroupBox* buildColumns();
    QStringList headerCells() const;
    // Lists the header row's cells in every column box and selects what `p` names.
    void showProfile(const StatementProfile& p);
    void headerRowChanged();
    // Only the columns the chosen way of giving money uses can be picked.
    void amountsChanged();
    void fillGrid();

    AppContext& ctx_;
    const StatementSheet& sheet_;
    QTableWidget* grid_;
    QSpinBox* headerRow_;
    QComboBox* amounts_;
    QComboBox* columns_[FieldCount];
    QLineEdit* incomeMark_;
    QCheckBox* positiveIsExpense_;
    QLineEdit* name_;
};

}  // namespace cw
