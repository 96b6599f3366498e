#pragma once

#include <QString>
#include <QStringList>

namespace cw {

// Where the manual that 帮助 and F1 open lives. It ships with the program, so help works with
// no browser and no network:
//   COINWICK_HELP_DIR            a folder named for this run (tests, a manual being written);
//   <exeDir>/help                the build folder and a portable copy;
//   <exeDir>/../share/coinwick/help   an installed copy (also unpacked elsewhere).
class HelpManual {
  public:
    // The folders looked at, in order.
    static QStringList folders(const QString& exeDir);
    // The first index.html among them; empty when none is there.
    static QString indexFor(const QString& exeDir);
    // The same for the running executable.
    static QString index();
};

}  // namespace cw
