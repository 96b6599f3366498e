#pragma once

#include <QString>

class QIODevice;

namespace cw {

class Workbook;

// Saves a Workbook as an .xlsx file (libxlsxwriter): every value, merge, font, alignment,
// wrap, border, column width, orientation, margin and the centre footer. Texts stay texts,
// numbers become numeric cells.
class XlsxWriter {
  public:
    // Writes the file at path through OutputFile (never into the folder of dataFile, the
    // open data file; the program always names it, tools and fixtures have none open),
    // replacing one that is there only when the new one is complete. False with
    // errorString() set when the file cannot be written (no such folder, no permission, disk
    // full, a refused place).
    bool write(const Workbook& workbook, const QString& path, const QString& dataFile = {});
    // The same bytes into an open device (written through a temporary file).
    bool write(const Workbook& workbook, QIODevice* device);

    const QString& errorString() const { return error_; }

  private:
    bool writeFile(const Workbook& workbook, const QString& file, const QString& shownAs);

    QString error_;
};

}  // namespace cw
