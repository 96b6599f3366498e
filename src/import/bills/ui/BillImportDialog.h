#pragma once

#include <QDialog>
#include <functional>
#include <memory>

class QComboBox;
class QGroupBox;
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
class BillImportDialog : public QDialog {
    Q_OBJECT

  public:
    BillImportDialog(AppContext& ctx, QWidget* parent = nullptr);
    ~BillImportDialog() override;

    // The file dialog's question; tests answer it.
    using FileChooser = std::function<QString(QWidget*)>;
    void setFileChooser(FileChooser chooser) { chooser_ = std::move(chooser); }

    // Reads the bill into the preview (what "打开" does after the file dialog).
    void openFile(const QString& path);
    void ButOpenClick();
    void ButImportClick();
    // The batch panel's "应用到选中行": every field the user filled, for the selected rows.
    void ButApplyClick();
    void tickSelected(bool on);

    BillRowsModel* model() const { return model_; }
    QTableView* grid() const { return grid_; }

  protected:
    // Space in the grid ticks the selected rows, or unticks them when all are ticked.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void updateCounts();
    QList<int> selectedRows() const;
    void fillNames();
    void showRow(int index);

    AppContext& ctx_;
    std::unique_ptr<BillImport> import_;
    FileChooser chooser_;
    QGroupBox* dataGroup_;
    QTableView* grid_;
    BillRowsModel* model_;
    QComboBox* batchKind_;
    NameComboBox* batchCategory_;
    NameComboBox* batchAccount_;
    NameComboBox* batchMember_;
    QPushButton* importButton_;
};

}  // namespace cw
