#pragma once

#include <QDialog>

#include "widgets/AppContext.h"
#include "books/BookLogin.h"

class QLineEdit;
class QPushButton;

namespace cw {

// Changing the open book's password. A changed password ends the program, so the next
// start logs in with it.
class TfrmChangePass : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmChangePass(AppContext& ctx, QWidget* parent = nullptr);

    QLineEdit* oldPasswordEdit() const { return oldEdit_; }
    QLineEdit* newPasswordEdit() const { return newEdit_; }
    QLineEdit* confirmationEdit() const { return confirmEdit_; }
    QPushButton* saveButton() const { return saveButton_; }
    QPushButton* exitButton() const { return exitButton_; }

  public slots:
    void ButSaveClick();

  private:
    QLineEdit* passwordField(QWidget* parent);
    void focusField(BookLogin::Field field);

    AppContext& ctx_;
    QLineEdit* oldEdit_ = nullptr;
    QLineEdit* newEdit_ = nullptr;
    QLineEdit* confirmEdit_ = nullptr;
    QPushButton* saveButton_ = nullptr;
    QPushButton* exitButton_ = nullptr;
};

}  // namespace cw
