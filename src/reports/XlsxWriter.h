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
    // Writes the file at path, replacing one that is there. False with errorString() set when
    // the file cannot be written (no such folder, no permission, disk full).
    bool write(const Workbook& workbook, const QString& path);
    // The same bytes into an open device (written through a temporary file).
    bool write(const Workbook& workbook, QIODevice* device);

    const QString& errorString() const { return error_; }

  private:
    QString error_;
};

}  // namespace cw
