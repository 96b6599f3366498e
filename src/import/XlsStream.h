#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "import/SheetRows.h"

namespace cw {

// Takes in what coinwick-xls writes (see xlshelper/XlsFrames.h) piece by piece as it arrives,
// checks every frame against the order and the sizes it must have, and gathers the sheet's
// cells as their displayed text. Anything out of order or out of bounds is garbage: the
// helper is only trusted as far as its output checks out.
class XlsStream {
  public:
    // The biggest sheet a BIFF file can hold; a helper claiming more is not to be believed.
    static constexpr quint32 kMaxRows = 65536;
    static constexpr quint32 kMaxColumns = 256;

    explicit XlsStream(const QString& sheetName);

    // The next bytes of the output; false once they are not a well-formed stream.
    bool feed(const QByteArray& bytes);
    // Every sheet name has come; sheetIndex() is then the one asked for, -1 when none is so
    // named (compared as the .xlsx reader does, ignoring case); 0 when the name asked is empty.
    bool asked() const { return stage_ > Stage::Names; }
    int sheetIndex() const { return index_; }
    bool complete() const { return stage_ == Stage::Done; }
    const SheetRows& sheet() const { return sheet_; }

  private:
    enum class Stage { Names, Dimensions, Cells, Done, Garbled };

    bool frame(unsigned char tag, const char* payload, quint32 size);
    bool name(unsigned char tag, const char* payload, quint32 size);
    bool dimensions(unsigned char tag, const char* payload, quint32 size);
    bool cell(unsigned char tag, const char* payload, quint32 size);
    bool addCell(const QString& text);
    bool endRow();

    QString sheetName_;
    Stage stage_ = Stage::Names;
    QByteArray pending_;
    int sheets_ = 0;
    int index_ = -1;
    quint32 rows_ = 0;
    quint32 columns_ = 0;
    quint32 rowsSeen_ = 0;
    bool inRow_ = false;
    QStringList cells_;
    SheetRows sheet_;
};

}  // namespace cw
