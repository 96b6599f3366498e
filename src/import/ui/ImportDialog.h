#pragma once

#include <QDialog>
#include <functional>

#include "import/ImportKind.h"
#include "import/SheetRows.h"

class QGroupBox;
class QProgressBar;
class QPushButton;
class QTableView;

namespace cw {

struct AppContext;
class SheetRowsModel;

// The six import dialogs (TfrmD_In … TfrmD_T) are this one dialog configured by their kind:
// "打开" reads Sheet1 of a chosen file into the preview, "导入" checks every row and books them
// all in one transaction with a progress bar, or names the first bad row and books nothing.
class ImportDialog : public QDialog {
    Q_OBJECT

  public:
    ImportDialog(AppContext& ctx, const ImportKind& kind, QWidget* parent = nullptr);
    ~ImportDialog() override;

    // The file dialog's question; tests answer it.
    using FileChooser = std::function<QString(QWidget*)>;
    void setFileChooser(FileChooser chooser) { chooser_ = std::move(chooser); }

    // Reads the file into the preview (what "打开" does after the file dialog).
    void openFile(const QString& path);
    void ButOpenClick();
    void ButImportClick();

  private:
    AppContext& ctx_;
    const ImportKind& kind_;
    SheetRows sheet_;
    FileChooser chooser_;
    QGroupBox* dataGroup_;
    QTableView* grid_;
    SheetRowsModel* model_;
    QPushButton* importButton_;
    QProgressBar* progress_;
};

}  // namespace cw
