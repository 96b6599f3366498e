#pragma once

#include <QDialog>

#include "widgets/AppContext.h"

class QLineEdit;
class QPushButton;

namespace cw {

// Renames one book. A rename ends the program: the user starts again and logs in by the
// new name.
class TfrmB_M : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kMaxLength = 20;

    TfrmB_M(AppContext& ctx, const QString& oldName, QWidget* parent = nullptr);

    QLineEdit* nameEdit() const { return name_; }
    QPushButton* modifyButton() const { return modify_; }
    QPushButton* exitButton() const { return exit_; }

  public slots:
    void ButModifyClick();

  private:
    AppContext& ctx_;
    QString oldName_;
    QLineEdit* name_ = nullptr;
    QPushButton* modify_ = nullptr;
    QPushButton* exit_ = nullptr;
};

}  // namespace cw
