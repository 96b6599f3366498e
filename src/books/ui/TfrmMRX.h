#pragma once

#include <QDialog>
#include <array>

#include "books/Preferences.h"
#include "widgets/AppContext.h"

class QCheckBox;
class QComboBox;
class QPushButton;

namespace cw {

// The open book's defaults: the member, account, categories and contact the posting screens
// preselect, what the posting screens list, and the reminders of due plans at start. Saved
// defaults take effect at once.
class TfrmMRX : public QDialog {
    Q_OBJECT
  public:
    enum Item { Member, Account, Income, Expense, Investment, Contact, ItemCount };
    enum Flag {
        MonthIncome,
        MonthExpense,
        MonthTransfers,
        OpenDebts,
        OpenCredits,
        OpenInvestments,
        PlaySound,
        ShowPlans,
        FlagCount
    };

    explicit TfrmMRX(AppContext& ctx, QWidget* parent = nullptr);

    QComboBox* itemBox(Item item) const { return boxes_[item]; }
    // The tick "空": no default for the item.
    QCheckBox* noneBox(Item item) const { return nones_[item]; }
    QCheckBox* flagBox(Flag flag) const { return flags_[flag]; }
    QPushButton* saveButton() const { return save_; }
    QPushButton* exitButton() const { return exit_; }

    // What a save would store.
    Preferences::Defaults entered() const;

  public slots:
    void ButSaveClick();

  private:
    void FormShow();

    AppContext& ctx_;
    std::array<QComboBox*, ItemCount> boxes_{};
    std::array<QCheckBox*, ItemCount> nones_{};
    std::array<QCheckBox*, FlagCount> flags_{};
    QPushButton* save_ = nullptr;
    QPushButton* exit_ = nullptr;
};

}  // namespace cw
