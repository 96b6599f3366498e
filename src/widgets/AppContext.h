#pragma once

#include <QString>
#include <functional>

#include "storage/Clock.h"
#include "storage/GlobalState.h"
#include "storage/Database.h"
#include "storage/TfrmDM.h"
#include "widgets/Messages.h"

namespace cw {

// What every screen is handed: the connection, the data services, the state of the open
// book, the message boxes, the program folder and the clock, and the few things a screen
// asks of the main window.
struct AppContext {
    Database& db;
    TfrmDM& dm;
    GlobalState& state;
    Messages& messages;
    QString programDir;
    Clock clock;

    // Set by the main window; screens call them when present.
    std::function<void()> refreshDashboard;          // TfrmMain.mySum
    std::function<void(const QString&)> setCaption;  // the main window's caption
    std::function<void()> closeWorkingWindow;        // TfrmMain.myfrmClose
    std::function<void()> endProgram;                // end at once, no confirmation or backup

    void mySum() const {
        if (refreshDashboard) refreshDashboard();
    }
};

}  // namespace cw
