#pragma once

#include <QDialog>

#include "widgets/AppContext.h"

class QButtonGroup;
class QPushButton;
class QRadioButton;

namespace cw {

// The order of the open book's drop-down lists and posting lists. The orders are read at
// login, so saving ends the program and the user starts again.
class TfrmSZ_PX : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmSZ_PX(AppContext& ctx, QWidget* parent = nullptr);

    // The choice of code (1-based) in each group.
    QRadioButton* listChoice(int code) const;
    QRadioButton* postingChoice(int code) const;
    QPushButton* saveButton() const { return save_; }
    QPushButton* exitButton() const { return exit_; }

  public slots:
    void ButSaveClick();

  private:
    void FormShow();

    AppContext& ctx_;
    QButtonGroup* lists_ = nullptr;
    QButtonGroup* postings_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* exit_ = nullptr;
};

}  // namespace cw
