#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace cw::tsv {

// One field of a TSV row. A backslash, a tab, a line break or a carriage return inside the
// text would break the row into more columns or lines than the header has, so they are
// written as \\, \t, \n and \r; everything else passes through exactly.
QString field(const QString& text);

// Writes the fields, escaped, joined by tabs and ended by a line break.
void row(QTextStream& out, const QStringList& fields);

}  // namespace cw::tsv
