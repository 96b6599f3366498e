#pragma once

#include <QDialog>
#include <functional>
#include <memory>
#include <optional>

#include "import/bills/BillReader.h"
#include "import/statements/StatementProfile.h"
#include "import/statements/StatementReader.h"

class QComboBox;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QTableView;

namespace cw {

struct AppContext;
class BillImport;
class BillRowsModel;
class NameComboBox;

// "账单导入": reads a WeChat Pay or Alipay bill into a preview of every row with what booking
// would make of it, lets the user tick rows and change kind, date, amount, category, account,
// member and remark (per cell, or for the selected rows at once), then books the ticked rows
// in one transaction. Rows booked before are listed "已导入" and never booked again.
//
// "银行账单导入" is the same window for bank and card statements and QIF or OFX files: the rows
// move money in and out of the account picked in "账户" (changing it plans the rows again), a
// table whose layout no profile knows is mapped first (StatementMappingDialog), "更改格式" maps
// the open table again, and the message after booking compares the statement's closing
// balance with the account's.
class BillImportDialog : public QDialog {
    Q_OBJECT

  public:
    enum class Files { Bills, Statements };

    BillImportDialog(AppContext& ctx, QWidget* parent = nullptr);
    BillImportDialog(AppContext& ctx, Files files, QWidget* parent = nullptr);
    ~BillImportDialog() override;

    // The file dialog's question; tests answer it.
    using FileChooser = std::function<QString(QWidget*)>;
    void setFileChooser(FileChooser chooser) { chooser_ = std::move(chooser); }
    // How the mapping dialog runs; the main window hands in its own.
    using DialogRunner = std::function<int(QDialog&)>;
    void setDialogRunner(DialogRunner runner) { runDialog_ = std::move(runner); }

    // Reads the bill into the preview (what "打开" does after the file dialog).
    void openFile(const QString& path);
    void ButOpenClick();
    void ButImportClick();
    // The batch panel's "应用到选中行": every field the user filled, for the selected rows.
    void ButApplyClick();
    void tickSelected(bool on);
    // "更改格式": maps the open table again, from the profile in use.
    void ButFormatClick();

    BillRowsModel* model() const { return model_; }
    QTableView* grid() const { return grid_; }

  protected:
    // Space in the grid ticks the selected rows, or unticks them when all are ticked.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void build();
    void buildGrid();
    QGroupBox* buildBatch();
    // 账户, the format read by and "更改格式".
    QHBoxLayout* buildStatementRow();
    // Runs `read` under the wait cursor; a file it refuses is named in a message and the
    // preview emptied. Returns whether it read.
    bool reading(const std::function<void()>& read);
    void setDetailWidths();
    void openStatement(const QString& path);
    // Runs the mapping dialog over the open table; reads it with the profile kept.
    void mapTable(const StatementProfile& start, size_t headerRow);
    void readTable();
    // Plans the bill for the account picked and shows it.
    void showBill(Bill bill);
    void clearRows();
    void accountChanged();
    QString accountText() const;
    QString doneMessage(int booked);
    void updateCounts();
    QList<int> selectedRows() const;
    void fillNames();
    void showRow(int index);

    AppContext& ctx_;
    const Files files_;
    std::unique_ptr<BillImport> import_;
    FileChooser chooser_;
    DialogRunner runDialog_;
    QGroupBox* dataGroup_;
    QTableView* grid_;
    BillRowsModel* model_;
    QComboBox* batchKind_;
    NameComboBox* batchCategory_;
    NameComboBox* batchAccount_;
    NameComboBox* batchMember_;
    QPushButton* importButton_;

    // Statements only.
    NameComboBox* account_ = nullptr;
    QPushButton* formatButton_ = nullptr;
    QLabel* format_ = nullptr;
    Bill bill_;  // the statement shown, its account the one it was planned for
    // The open table's rows and the profile that reads it (none until mapped).
    StatementSheet sheet_;
    std::optional<StatementProfile> profile_;
    size_t headerRow_ = 0;
};

}  // namespace cw
