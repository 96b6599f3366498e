#pragma once

#include <QString>

namespace cw {

// The state of the open book that every screen reads. One instance, owned by the
// application and handed to whoever needs it. Texts start empty, flags false.
struct GlobalState {
    QString mySQL;         // the last statement text a screen built (kept for diagnostics)
    QString myBName;       // the open book; empty when none is open
    QString myPX;          // drop-down sort code, "1" to "5"
    QString myJZPX;        // posting-list sort code, "1" to "4"
    QString myToday;       // today as yyyy-mm-dd, read from the clock once at start
    QString myTodayText;   // the same text with the date separator (always "-")
    QString myAutoBackup;  // "是" or "否": copy the data file into Backup/ on exit
    QString myVersion;     // the product version shown by the About box
    QString myFName;       // default member
    QString myAName;       // default account
    QString myIName;       // default income category
    QString myOName;       // default expense category
    QString myTName;       // default investment category
    QString myPName;       // default contact
    bool myD_I = false;    // income screen lists only the current month
    bool myD_O = false;    // expense screen lists only the current month
    bool myD_C = false;    // transfer screen lists only the current month
    bool myD_B = false;    // debt screen lists only unpaid debts
    bool myD_D = false;    // credit screen lists only uncollected credits
    bool myD_T = false;    // investment screen lists only open investments
    bool myTX_M = false;   // play the reminder sound at start when plans are due
    bool myTX_T = false;   // show the due-plans window at start

    // The project version of the build (CMake), shown by the About box and the CLI.
    static QString version();

    bool bookOpen() const { return !myBName.isEmpty(); }
};

}  // namespace cw
