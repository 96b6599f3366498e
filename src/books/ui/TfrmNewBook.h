#pragma once

#include <QDialog>
#include <functional>

#include "widgets/AppContext.h"

class QCheckBox;
class QPushButton;

namespace cw {

class BookFields;

// The first-book wizard: name and password of the book and which default categories to
// seed. Its save leads on to the members step, which leads on to the accounts step and
// the login; each window closes when the one it opened closes.
class TfrmNewBook : public QDialog {
    Q_OBJECT
  public:
    using DialogRunner = std::function<int(QDialog&)>;

    explicit TfrmNewBook(AppContext& ctx, QWidget* parent = nullptr);

    // How the next step runs modally; the main window hands in its own so tests can drive
    // the chain without blocking. Every later step inherits it.
    void setDialogRunner(DialogRunner runner) { runDialog_ = std::move(runner); }

    BookFields* fields() const { return fields_; }
    QCheckBox* incomeBox() const { return income_; }
    QCheckBox* expenseBox() const { return expense_; }
    QCheckBox* investmentBox() const { return investment_; }
    QPushButton* nextButton() const { return next_; }
    QPushButton* cancelButton() const { return cancel_; }

  public slots:
    void ButNextClick();

  private:
    AppContext& ctx_;
    DialogRunner runDialog_;
    BookFields* fields_;
    QCheckBox* income_;
    QCheckBox* expense_;
    QCheckBox* investment_;
    QPushButton* next_;
    QPushButton* cancel_;
};

}  // namespace cw
