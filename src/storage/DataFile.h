#pragma once

#include <QString>

namespace cw {

class Database;

// The delivered data file: its schema and delivered rows. The program never creates tables
// at start; the build writes the file once with make(), and tests write fresh ones the same way.
class DataFile {
  public:
    static const char* schemaSql();
    // Writes a new data file at path (its folder is created); refuses to overwrite one. The
    // file is written under a temporary name beside it and renamed when complete, so a full
    // disk or a crash never leaves a half-written or empty file under the real name.
    static void make(const QString& path);
    // Adds to a file written by an earlier version what this one keeps up to date (the book
    // totals and their triggers, filled from the postings). Nothing is written to a current file.
    static void upgrade(Database& db);
    // Relative location of the data file under the program folder.
    static QString relativePath() { return QStringLiteral("Data/db.kbk"); }
    static QString pathIn(const QString& programDir);
};

}  // namespace cw
