#pragma once

#include <QString>

namespace cw {

// The delivered data file: its schema and delivered rows. The program never creates tables
// at start; the build writes the file once with make(), and tests write fresh ones the same way.
class DataFile {
  public:
    static const char* schemaSql();
    // Writes a new data file at path (its folder is created); refuses to overwrite one.
    static void make(const QString& path);
    // Relative location of the data file under the program folder.
    static QString relativePath() { return QStringLiteral("Data/db.kbk"); }
    static QString pathIn(const QString& programDir);
};

}  // namespace cw
