#pragma once

#include <QHash>
#include <QWidget>
#include <functional>

#include "widgets/AppContext.h"
#include "bookkeeping/PostingKind.h"
#include "bookkeeping/PostingRules.h"
#include "bookkeeping/ui/PostingLayout.h"
#include "bookkeeping/ui/PostingList.h"

class QAction;
class QDialog;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

namespace cw {

class DatePicker;
class MoneyEdit;
class NameComboBox;
class Navigator;
class QueryGrid;

// The posting screen, one window for every kind: the book's postings of the kind in a paged
// list with a count and sum footer, a navigator, an entry panel bound to the current row, and
// the modes browse, new and edit in which the list is locked while a posting is entered.
// Every stored change goes through PostingRules, one operation (one transaction) per button.
//
// A kind plugs in with its PostingKind (rules) and its PostingLayout (words, columns, entry
// fields, popup items, query criteria). Where a kind needs more than the shared design it
// derives from this class:
// - afterSaveNew() runs after a new posting is stored and the list refreshed (the expense
//   screen's monthly cap warning);
// - deleteRefusal() may refuse a delete before the question is asked (a debt with
//   repayments);
// - popup commands named in the layout are found with popupAction() and bound by the derived
//   class to its sub-dialogs, which it runs with runDialog() and follows with myRef().
class PostingScreen : public QWidget {
    Q_OBJECT

  public:
    using DialogRunner = std::function<int(QDialog&)>;
    using Field = PostingLayout::Field;
    enum class Mode { Browse, New, Edit };

    PostingScreen(AppContext& ctx, const PostingLayout& layout, QWidget* parent = nullptr);

    // How the query dialog, the reminders and sub-dialogs run; the main window hands in its
    // own so they stay modal above it.
    void setDialogRunner(DialogRunner runner) { runDialog_ = std::move(runner); }

    const PostingKind& kind() const { return *layout_.kind; }
    const PostingLayout& layout() const { return layout_; }
    Mode mode() const { return mode_; }

    // The list's filter: set at open, by the popup's filter items and by the query dialog.
    const PostingKind::Filter& filter() const { return list_.filter(); }
    // Replaces the filter and refreshes the list.
    void setFilter(const PostingKind::Filter& filter);
    const PostingList& list() const { return list_; }
    PostingList::Footer footer() const { return footer_; }

    QueryGrid* grid() const { return grid_; }
    Navigator* navigator() const { return navigator_; }
    QGroupBox* entryGroup() const { return entry_; }
    QLabel* countLabel() const { return count_; }
    QLabel* sumLabel() const { return sum_; }
    QPushButton* newButton() const { return new_; }
    QPushButton* modifyButton() const { return modify_; }
    QPushButton* saveNewButton() const { return saveNew_; }
    QPushButton* saveEditButton() const { return saveEdit_; }
    QPushButton* cancelButton() const { return cancel_; }
    QPushButton* deleteButton() const { return delete_; }
    QPushButton* queryButton() const { return query_; }
    QPushButton* exitButton() const { return exit_; }
    QMenu* popupMenu() const { return popup_; }
    // A popup item by its caption ("本月记账 &B"); nullptr when the list has none.
    QAction* popupAction(const QString& caption) const { return actions_.value(caption); }

    // The entry fields. The drop-downs and the picker are shown while a posting is entered,
    // the read-only texts while browsing; a field the kind lacks is nullptr.
    DatePicker* datePicker() const { return date_; }
    NameComboBox* nameBox(Field field) const { return boxes_.value(field); }
    QLineEdit* shownText(Field field) const { return shown_.value(field); }
    MoneyEdit* amountEdit() const { return amount_; }
    QLineEdit* remarkEdit() const { return remark_; }
    // The field a check sends the user back to.
    QWidget* fieldWidget(PostingKind::Field field) const;

    // The current row's value under a list title, "" when the list is empty.
    QString currentText(const QString& title) const;
    qint64 currentId() const;
    int currentRow() const;

  public slots:
    // Runs the list and its footer again.
    void myRef();
    void myBool(bool entering);
    void myTX();
    void ButNewClick();
    void ButMedClick();
    void ButSaveClick();
    void ButSaveEditClick();
    void ButCanClick();
    void ButDelClick();
    void ButQueryClick();
    void ButExiClick();
    void DBGrid1TitleClick(int column);
    void DeleteAllClick();

  protected:
    void showEvent(QShowEvent* event) override;

    virtual void afterSaveNew(qint64 id, const PostingRules::Posting& posting);
    // A non-empty message refuses the delete of the current row before anything is asked.
    virtual QString deleteRefusal();

    int runDialog(QDialog& dialog) { return runDialog_(dialog); }
    AppContext& context() { return ctx_; }
    PostingRules& rules() { return rules_; }
    // Runs one action; an engine error ends it with the engine's message.
    bool guarded(const std::function<void()>& action);

  private:
    void buildEntry(QGridLayout* form);
    QWidget* buildBar();
    void buildPopup();
    void setMode(Mode mode);
    void showRow(int row);
    void reload(qint64 selectId);
    void presetDefaults();
    PostingRules::Posting posting() const;
    // The checks of the kind in order; false after showing the first failure.
    bool passes(const PostingRules::Posting& p, PostingRules::Mode mode);
    void refused(const PostingRules::Refused& e);
    QString currentMonth() const;

    AppContext& ctx_;
    const PostingLayout& layout_;
    PostingRules rules_;
    PostingList list_;
    PostingList::Footer footer_;
    DialogRunner runDialog_;
    Mode mode_ = Mode::Browse;
    qint64 editId_ = 0;  // the row Modify remembered
    std::optional<PostingRules::Posting> loaded_;  // the row as stored when Modify began
    bool shownOnce_ = false;

    QueryGrid* grid_ = nullptr;
    Navigator* navigator_ = nullptr;
    QLabel* count_ = nullptr;
    QLabel* sum_ = nullptr;
    QGroupBox* entry_ = nullptr;
    DatePicker* date_ = nullptr;
    QHash<Field, NameComboBox*> boxes_;
    QHash<Field, QLineEdit*> shown_;  // the bound read-only texts of browse mode
    MoneyEdit* amount_ = nullptr;
    QLineEdit* remark_ = nullptr;
    QPushButton* new_ = nullptr;
    QPushButton* modify_ = nullptr;
    QPushButton* saveNew_ = nullptr;
    QPushButton* saveEdit_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* delete_ = nullptr;
    QPushButton* query_ = nullptr;
    QPushButton* exit_ = nullptr;
    QMenu* popup_ = nullptr;
    QHash<QString, QAction*> actions_;
};

}  // namespace cw
