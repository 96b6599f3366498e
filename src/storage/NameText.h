#pragma once

#include <QString>

namespace cw {

// Rules for the single-line names that tie rows together: books, accounts, categories,
// members and contacts. A name with a tab or a line break in it cannot be shown in one
// grid cell, picked from a drop-down or written to one field of a TSV row, so every path that
// creates or renames one refuses control characters.
class NameText {
  public:
    static bool hasControl(const QString& text);
    // The message for such a name; the caller focuses the field.
    static QString controlMessage();
};

}  // namespace cw
