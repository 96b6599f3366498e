#pragma once

#include <QDialog>

#include "widgets/AppContext.h"
#include "books/BookLogin.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTextBrowser;

namespace cw {

// The login into a book: pick the book, type its password, optionally have both
// remembered for the next start. Shown at start, from the menu and after a new book.
class TfrmOpenBook : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmOpenBook(AppContext& ctx, QWidget* parent = nullptr);

    // Closing the open book from the menu: menus off first, then the book goes, then its
    // working window, and the dashboard falls back to zero.
    static void closeBook(AppContext& ctx);

    QComboBox* bookBox() const { return bookBox_; }
    QLineEdit* passwordEdit() const { return passwordEdit_; }
    QCheckBox* rememberBookBox() const { return rememberBook_; }
    QCheckBox* rememberPasswordBox() const { return rememberPassword_; }
    QPushButton* openButton() const { return openButton_; }
    QPushButton* exitButton() const { return exitButton_; }

  public slots:
    void ButOpenClick();

  private:
    void buildForm();
    void FormShow();
    void focusField(BookLogin::Field field);

    AppContext& ctx_;
    QComboBox* bookBox_ = nullptr;
    QLineEdit* passwordEdit_ = nullptr;
    QCheckBox* rememberBook_ = nullptr;
    QCheckBox* rememberPassword_ = nullptr;
    QPushButton* openButton_ = nullptr;
    QPushButton* exitButton_ = nullptr;
    QTextBrowser* welcome_ = nullptr;
};

}  // namespace cw
