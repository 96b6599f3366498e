#pragma once

#include <QDialog>
#include <functional>

#include "widgets/AppContext.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace cw {

// Backs the data file up to a folder the user picks, and holds the setting of the automatic
// copy on exit, which is stored whenever the dialog closes.
class TfrmBackup : public QDialog {
    Q_OBJECT
  public:
    // Returns the chosen folder, empty when the picker was cancelled.
    using FolderPicker = std::function<QString(QWidget* parent, const QString& current)>;

    explicit TfrmBackup(AppContext& ctx, QWidget* parent = nullptr);

    void setFolderPicker(FolderPicker picker) { pickFolder_ = std::move(picker); }

    QLineEdit* pathEdit() const { return path_; }
    QCheckBox* autoBackupBox() const { return auto_; }
    QPushButton* chooseButton() const { return choose_; }
    QPushButton* backupButton() const { return backup_; }
    QPushButton* exitButton() const { return exit_; }

    void done(int result) override;

  public slots:
    void ButPathClick();
    void ButBackupClick();

  private:
    AppContext& ctx_;
    FolderPicker pickFolder_;
    QLineEdit* path_ = nullptr;
    QCheckBox* auto_ = nullptr;
    QPushButton* choose_ = nullptr;
    QPushButton* backup_ = nullptr;
    QPushButton* exit_ = nullptr;
};

}  // namespace cw
