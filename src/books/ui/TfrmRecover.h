#pragma once

#include <QDialog>
#include <functional>

#include "widgets/AppContext.h"

class QLineEdit;
class QPushButton;

namespace cw {

// Restores the data file from a backup copy the user picks. A copy that is not a sound data
// file of this program is refused and nothing changes; a restored file closes the open book.
class TfrmRecover : public QDialog {
    Q_OBJECT
  public:
    // Returns the chosen file, empty when the dialog was cancelled.
    using FilePicker = std::function<QString(QWidget* parent)>;

    explicit TfrmRecover(AppContext& ctx, QWidget* parent = nullptr);

    void setFilePicker(FilePicker picker) { pickFile_ = std::move(picker); }

    QLineEdit* pathEdit() const { return path_; }
    QPushButton* chooseButton() const { return choose_; }
    QPushButton* restoreButton() const { return restore_; }
    QPushButton* exitButton() const { return exit_; }

  public slots:
    void ButPathClick();
    void ButRestoreClick();

  private:
    AppContext& ctx_;
    FilePicker pickFile_;
    QLineEdit* path_ = nullptr;
    QPushButton* choose_ = nullptr;
    QPushButton* restore_ = nullptr;
    QPushButton* exit_ = nullptr;
};

}  // namespace cw
