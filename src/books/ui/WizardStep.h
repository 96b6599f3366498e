#pragma once

#include <QDialog>
#include <functional>

#include "widgets/AppContext.h"
#include "books/BookCreation.h"

class QGroupBox;
class QPushButton;

namespace cw {

class QueryGrid;

// A step of the first-book wizard that enters rows of one kind: the book's rows in a grid,
// an entry group for a new one, 新增 / 保存 / 取消 / 删除, and a button that leads on once
// the book has at least one row. While a row is entered the grid and that button rest.
class WizardStep : public QDialog {
    Q_OBJECT
  public:
    using DialogRunner = std::function<int(QDialog&)>;

    struct Captions {
        QString window;
        QString list;        // the group around the grid
        QString note;        // how to use the step
        QString entry;       // the group around the fields
        QString forward;     // the button that leads on
        QString nameColumn;  // the grid column that tells whether there is a row to delete
        QString empty;       // the message when leading on without a row
    };

    // How the next window runs modally; the main window hands in its own so tests can
    // drive the chain without blocking. Every later window inherits it.
    void setDialogRunner(DialogRunner runner) { runDialog_ = std::move(runner); }

    QueryGrid* grid() const { return grid_; }
    QGroupBox* entryGroup() const { return entry_; }
    QPushButton* newButton() const { return new_; }
    QPushButton* saveButton() const { return save_; }
    QPushButton* cancelButton() const { return cancel_; }
    QPushButton* deleteButton() const { return delete_; }
    QPushButton* forwardButton() const { return forward_; }
    bool isAdding() const { return adding_; }

  public slots:
    void ButNewClick();
    void ButSaveClick();
    void ButCancelClick();
    void ButDelClick();
    void ButForwardClick();

  protected:
    WizardStep(AppContext& ctx, const Captions& captions, const QStringList& hiddenColumns,
               QWidget* parent);

    // Called by the subclass once its fields are in place: fills the grid and browses.
    void start();

    virtual Query rows() = 0;
    virtual void showRow(int row) = 0;
    // Empties the fields for a new row, with its defaults, and focuses the first.
    virtual void clearEntry() = 0;
    virtual BookCreation::Result saveEntry() = 0;
    virtual QWidget* fieldFor(BookCreation::Field focus) const = 0;
    // A refusal to show before the deletion question; empty when the row may go.
    virtual QString deleteRefusal(qint64 id) { return (void)id, QString(); }
    virtual void deleteRow(qint64 id) = 0;
    // Opens the next window modally over this one.
    virtual void leadOn() = 0;
    virtual void modeChanged(bool adding) { (void)adding; }

    AppContext& ctx_;
    DialogRunner runDialog_;

  private:
    void reload(qint64 selectId = 0);
    void setAdding(bool adding);
    void browse();

    Captions captions_;
    bool adding_ = false;
    QueryGrid* grid_;
    QGroupBox* entry_;
    QPushButton* new_;
    QPushButton* save_;
    QPushButton* cancel_;
    QPushButton* delete_;
    QPushButton* forward_;
};

}  // namespace cw
