#pragma once

#include <QString>
#include <QStringList>

namespace cw {

// What `coinwick --help` and `coinwick --version` print; the program's manual page is made from
// the help text at build time. Both are answered before any window or display is needed.
class ProgramHelp {
  public:
    static QString text();
    static QString version();
    // The answer to the command line when it asks for help or the version (the first such
    // argument counts); empty when it asks for neither and the program should start.
    static QString answer(const QStringList& args);
};

}  // namespace cw
