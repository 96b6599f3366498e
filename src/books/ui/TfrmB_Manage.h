#pragma once

#include <QWidget>
#include <functional>

#include "books/BookManager.h"
#include "widgets/AppContext.h"

class QAction;
class QDialog;
class QMenu;
class QPushButton;

namespace cw {

class Navigator;
class QueryGrid;

// The book manager, a working window: every book, newest first, with a navigator; delete the
// selected book, or rename it from the grid's popup menu.
class TfrmB_Manage : public QWidget {
    Q_OBJECT
  public:
    using DialogRunner = std::function<int(QDialog&)>;

    explicit TfrmB_Manage(AppContext& ctx, QWidget* parent = nullptr);

    // How the rename dialog runs; the main window hands in its own.
    void setDialogRunner(DialogRunner runner) { runDialog_ = std::move(runner); }

    QueryGrid* grid() const { return grid_; }
    Navigator* navigator() const { return navigator_; }
    QPushButton* deleteButton() const { return delete_; }
    QPushButton* exitButton() const { return exit_; }
    QMenu* popupMenu() const { return popup_; }
    QAction* modifyAction() const { return modify_; }
    // The book of the current row; empty when there is none.
    QString currentBook() const;

  public slots:
    void myRef();
    void ButDelClick();
    void ButExitClick();
    void ModifyClick();

  private:
    void reload(const QString& select);

    AppContext& ctx_;
    BookManager manager_;
    DialogRunner runDialog_;
    QueryGrid* grid_ = nullptr;
    Navigator* navigator_ = nullptr;
    QPushButton* delete_ = nullptr;
    QPushButton* exit_ = nullptr;
    QMenu* popup_ = nullptr;
    QAction* modify_ = nullptr;
};

}  // namespace cw
