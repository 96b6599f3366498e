#pragma once

#include <QMap>
#include <QWidget>
#include <functional>

#include "widgets/AppContext.h"
#include "reference/ReferenceManager.h"
#include "reference/ui/ReferenceDialog.h"

class QAction;
class QComboBox;
class QDialog;
class QGroupBox;
class QGridLayout;
class QLineEdit;
class QMenu;
class QPushButton;

namespace cw {

class DatePicker;
class MoneyEdit;
class Navigator;
class QueryGrid;

// The manager of one reference list, the same window for all six: the book's rows in a grid
// with a navigator, an entry group bound to the current row, and the modes browse, adding
// and modifying (the grid locked while a row is entered). What differs per list (caption,
// fields, buttons, popup menu, whether titles sort) comes from one table in the source.
//
// The windows are known by their class names: TfrmIn_Manage, TfrmOut_Manage, TfrmT_Manage,
// TfrmFamily, TfrmP_Manage and TfrmA_Manage (see className). Accounts have no modifying
// mode here; they are changed in TfrmA_M and adjusted in TfrmA_TZ from the popup menu.
class ManagerScreen : public QWidget {
    Q_OBJECT
  public:
    using DialogRunner = std::function<int(QDialog&)>;
    using Field = ReferenceManager::Field;

    enum class Mode { Browse, Adding, Modifying };
    // The popup menu's commands; Separator only orders the menu.
    enum class Command {
        Separator,
        ViewLog,
        Enable,
        Disable,
        Pinyin,
        Count,
        Adjust,
        ModifyAccount
    };

    ManagerScreen(AppContext& ctx, ReferenceList::Kind kind, QWidget* parent = nullptr);

    static QString className(ReferenceList::Kind kind);

    // How the small dialogs of the popup menu run; the main window hands in its own.
    void setDialogRunner(DialogRunner runner) { runDialog_ = std::move(runner); }

    const ReferenceList& list() const { return manager_.list(); }
    Mode mode() const { return mode_; }

    QueryGrid* grid() const { return grid_; }
    Navigator* navigator() const { return navigator_; }
    QGroupBox* entryGroup() const { return entry_; }
    QPushButton* newButton() const { return new_; }
    QPushButton* modifyButton() const { return modify_; }  // nullptr for accounts
    QPushButton* saveNewButton() const { return saveNew_; }
    QPushButton* saveEditButton() const { return saveEdit_; }  // nullptr for accounts
    QPushButton* cancelButton() const { return cancel_; }
    QPushButton* deleteButton() const { return delete_; }
    QPushButton* exitButton() const { return exit_; }
    QMenu* popupMenu() const { return popup_; }
    QAction* commandAction(Command command) const { return commands_.value(command); }

    // The entry fields; those a list does not have are nullptr.
    QLineEdit* nameEdit() const { return name_; }
    QLineEdit* remarkEdit() const { return remark_; }
    MoneyEdit* capEdit() const { return cap_; }
    QLineEdit* relationEdit() const { return relation_; }
    QLineEdit* birthdayText() const { return birthdayText_; }
    DatePicker* birthdayPicker() const { return birthday_; }
    QComboBox* typeBox() const { return type_; }
    QComboBox* memberBox() const { return member_; }
    MoneyEdit* amountEdit() const { return amount_; }
    QWidget* field(Field field) const;

  public slots:
    // Reads the list again, staying on the current row.
    void myRef();
    void ButNewClick();
    void ButModifyClick();
    void ButSaveNewClick();
    void ButSaveEditClick();
    void ButCancelClick();
    void ButDelClick();
    void ButExitClick();
    void ViewLogClick();
    void EnableClick();
    void DisableClick();
    void PinyinClick();
    void CountClick();
    void AdjustClick();
    void ModifyAccountClick();

  private:
    void buildEntry(QGridLayout* form);
    void buildButtons(QWidget* bar);
    void buildPopup();
    void reload(qint64 selectId);
    void setMode(Mode mode);
    void browse();
    void showRow(int row);
    void clearEntry();
    void loadBirthday(const QString& stored);
    ReferenceManager::Entry entry() const;
    int currentRow() const;
    qint64 currentId() const;
    QString currentText(const QString& column) const;
    bool currentNamed() const;
    bool hasRows() const;
    void setState(bool enabled);
    ReferenceDialog::AccountRow currentAccount() const;
    // Runs a window on the current row; it refreshes this list when it saves.
    void runOnRow(ReferenceDialog& dialog);
    void save(Mode mode);
    // Runs one action; an engine error ends it with the engine's message.
    void guarded(const std::function<void()>& action);

    AppContext& ctx_;
    ReferenceManager manager_;
    DialogRunner runDialog_;
    Mode mode_ = Mode::Browse;
    qint64 editId_ = 0;
    // The birthday picker keeps the last date it held while the window is open; a
    // modification stores it only when the user changed it.
    QString lastBirthday_;
    bool birthdayTouched_ = false;
    bool loadingBirthday_ = false;

    QueryGrid* grid_ = nullptr;
    Navigator* navigator_ = nullptr;
    QGroupBox* entry_ = nullptr;
    QPushButton* new_ = nullptr;
    QPushButton* modify_ = nullptr;
    QPushButton* saveNew_ = nullptr;
    QPushButton* saveEdit_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* delete_ = nullptr;
    QPushButton* exit_ = nullptr;
    QMenu* popup_ = nullptr;
    QMap<Command, QAction*> commands_;

    QLineEdit* name_ = nullptr;
    QLineEdit* remark_ = nullptr;
    MoneyEdit* cap_ = nullptr;
    QLineEdit* relation_ = nullptr;
    QLineEdit* birthdayText_ = nullptr;
    DatePicker* birthday_ = nullptr;
    QComboBox* type_ = nullptr;
    QComboBox* member_ = nullptr;
    MoneyEdit* amount_ = nullptr;
};

}  // namespace cw
