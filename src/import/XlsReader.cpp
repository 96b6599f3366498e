#include "import/XlsReader.h"

#include <freexl.h>

#include "import/XlsxReader.h"

namespace cw {

namespace {

struct Handle {
    const void* xls = nullptr;
    ~Handle() {
        if (xls) freexl_close(xls);
    }
};

QString damaged() {
    return QStringLiteral("Excel文件已损坏，无法读取！");
}

QString cellText(const FreeXL_CellValue& v) {
    switch (v.type) {
        case FREEXL_CELL_INT:
            return QString::number(v.value.int_value);
        case FREEXL_CELL_DOUBLE:
            return XlsxReader::numberText(v.value.double_value, false, false);
        case FREEXL_CELL_TEXT:
        case FREEXL_CELL_SST_TEXT:
        case FREEXL_CELL_DATE:
        case FREEXL_CELL_TIME:
            return QString::fromUtf8(v.value.text_value);
        case FREEXL_CELL_DATETIME: {
            // A time of midnight is a plain date.
            QString text = QString::fromUtf8(v.value.text_value);
            if (text.endsWith(QLatin1String(" 00:00:00"))) text.chop(9);
            return text;
        }
        default:
            return QString();
    }
}

}  // namespace

SheetRows XlsReader::read(const QString& path, const QString& sheetName) {
    Handle h;
    if (freexl_open(path.toLocal8Bit().constData(), &h.xls) != FREEXL_OK) {
        throw SheetError(damaged());
    }
    unsigned int count = 0;
    if (freexl_get_info(h.xls, FREEXL_BIFF_SHEET_COUNT, &count) != FREEXL_OK) {
        throw SheetError(damaged());
    }
    int found = -1;
    for (unsigned int i = 0; i < count && found < 0; ++i) {
        const char* name = nullptr;
        if (freexl_get_worksheet_name(h.xls, (unsigned short)i, &name) != FREEXL_OK || !name) {
            continue;
        }
        if (QString::fromUtf8(name).compare(sheetName, Qt::CaseInsensitive) == 0) found = int(i);
    }
    if (found < 0) throw SheetError(QStringLiteral("Excel文件中找不到工作表 %1！").arg(sheetName));
    if (freexl_select_active_worksheet(h.xls, (unsigned short)found) != FREEXL_OK) {
        throw SheetError(damaged());
    }
    unsigned int rows = 0;
    unsigned short columns = 0;
    if (freexl_worksheet_dimensions(h.xls, &rows, &columns) != FREEXL_OK) {
        throw SheetError(damaged());
    }
    SheetRows sheet;
    for (unsigned int r = 0; r < rows; ++r) {
        QStringList cells;
        for (unsigned short c = 0; c < columns; ++c) {
            FreeXL_CellValue v;
            if (freexl_get_cell_value(h.xls, r, c, &v) != FREEXL_OK) throw SheetError(damaged());
            cells << cellText(v);
        }
        sheet.add(int(r) + 1, cells);
    }
    return sheet;
}

}  // namespace cw
