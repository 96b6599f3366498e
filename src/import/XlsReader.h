#pragma once

#include <QString>

#include "import/SheetRows.h"

namespace cw {

// Reads one worksheet of a BIFF .xls file, cells as their displayed text. FreeXL does the
// reading in the helper program coinwick-xls, a process of its own with memory and time
// limits, so a crafted file that makes it crash costs only that process: the file is refused
// as damaged and nothing of it reaches the book.
class XlsReader {
  public:
    static constexpr const char* kHelperName = "coinwick-xls";

    struct Limits {
        qint64 outputBytes = qint64(128) * 1024 * 1024;  // what the helper may send
        int wallSeconds = 30;                            // then the helper is killed
    };

    // An empty name reads the first sheet. Throws SheetError when the file is damaged, too big, has no sheet of that name, or the
    // helper cannot be found or started.
    static SheetRows read(const QString& path, const QString& sheetName);

    // The helper: the one set by setHelper, else the environment's COINWICK_XLS_HELPER when
    // set, else beside the running executable (the program folder, a build), else in
    // ../lib/coinwick beside it (the installed package); empty when none holds it.
    static QString helperPath();

    // For tests: another helper (empty: look for the real one again) and other limits.
    static void setHelper(const QString& path);
    static void setLimits(const Limits& limits);
    static Limits limits();
};

}  // namespace cw
