#pragma once

#include <QString>
#include <optional>

namespace cw {

class TfrmDM;

// The open book's preferences: the order of its drop-down and posting lists, and the defaults
// the posting screens preselect with the display flags and plan reminders. Each save is one
// transaction; the defaults also go into the state at once, the orders only at the next login.
class Preferences {
  public:
    struct SortOrders {
        int lists = 5;  // drop-down lists: 1 usage up, 2 name up, 3 usage down, 4 name down, 5 none
        int postings = 3;  // posting lists: 1 entry order, 2 date, 3 entry order down, 4 date down
    };

    struct Defaults {
        QString member;
        QString account;
        QString income;
        QString expense;
        QString investment;
        QString contact;
        bool monthIncome = false;      // D_I
        bool monthExpense = false;     // D_O
        bool monthTransfers = false;   // D_C
        bool openDebts = false;        // D_B
        bool openCredits = false;      // D_D
        bool openInvestments = false;  // D_T
        bool playSound = false;        // TX_M
        bool showPlans = false;        // TX_T
        bool operator==(const Defaults&) const = default;
    };

    static constexpr int kListOrders = 5;
    static constexpr int kPostingOrders = 4;

    explicit Preferences(TfrmDM& dm);

    // As stored for the open book; nothing when the book has no row.
    std::optional<SortOrders> sortOrders();
    // Codes out of range are refused (false) and nothing is written.
    bool saveSortOrders(const SortOrders& orders);

    // As stored for the open book; nothing unless the book has exactly one settings row.
    std::optional<Defaults> defaults();
    // Stores the defaults and flags and puts them into the state of the open book.
    void saveDefaults(const Defaults& defaults);

  private:
    TfrmDM& dm_;
};

}  // namespace cw
