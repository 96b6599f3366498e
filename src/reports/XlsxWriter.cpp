#include "reports/XlsxWriter.h"

#include <xlsxwriter.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QIODevice>
#include <QSet>
#include <QTemporaryDir>

#include "reports/Workbook.h"
#include "storage/OutputFile.h"

namespace cw {

namespace {

// The longest text a spreadsheet cell holds.
constexpr int kMaxCellText = 32767;

double inches(double points) {
    return points / 72.0;
}

QString styleKey(const Workbook::Style& s) {
    return s.fontName + QLatin1Char('|') + QString::number(s.fontSize) + QLatin1Char('|') +
           QLatin1Char(s.bold ? 'b' : '-') + QLatin1Char(s.centred ? 'c' : '-') +
           QLatin1Char(s.wrap ? 'w' : '-') + QLatin1Char(s.border ? 'x' : '-');
}

// One format per distinct style, shared by every cell that has it.
class Formats {
  public:
    explicit Formats(lxw_workbook* wb) : wb_(wb) {}

    lxw_format* of(const Workbook::Style& s) {
        if (s == Workbook::Style()) return nullptr;
        const QString k = styleKey(s);
        if (lxw_format* f = formats_.value(k)) return f;
        lxw_format* f = workbook_add_format(wb_);
        if (!s.fontName.isEmpty()) {
            names_.append(s.fontName.toUtf8());
            format_set_font_name(f, names_.last().constData());
        }
        if (s.fontSize > 0) format_set_font_size(f, s.fontSize);
        if (s.bold) format_set_bold(f);
        if (s.centred) {
            format_set_align(f, LXW_ALIGN_CENTER);
            format_set_align(f, LXW_ALIGN_VERTICAL_CENTER);
        }
        if (s.wrap) format_set_text_wrap(f);
        if (s.border) format_set_border(f, LXW_BORDER_THIN);
        formats_.insert(k, f);
        return f;
    }

  private:
    lxw_workbook* wb_;
    QHash<QString, lxw_format*> formats_;
    QList<QByteArray> names_;
};

bool isNumber(const QVariant& v) {
    switch (v.typeId()) {
        case QMetaType::Double:
        case QMetaType::Float:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
            return true;
        default:
            return false;
    }
}

lxw_error writeCell(lxw_worksheet* ws, int row, int col, const QVariant& v, lxw_format* f) {
    const lxw_row_t r = lxw_row_t(row - 1);
    const lxw_col_t c = lxw_col_t(col - 1);
    if (isNumber(v)) return worksheet_write_number(ws, r, c, v.toDouble(), f);
    const QString text = v.toString();
    if (text.isEmpty()) return f ? worksheet_write_blank(ws, r, c, f) : LXW_NO_ERROR;
    return worksheet_write_string(ws, r, c, text.left(kMaxCellText).toUtf8().constData(), f);
}

}  // namespace

bool XlsxWriter::write(const Workbook& book, const QString& path, const QString& dataFile) {
    error_.clear();
    // The library writes a file by name: it gets the temporary one, which replaces the
    // target only once the library says the workbook is complete.
    OutputFile out(path, dataFile);
    if (!out.open()) {
        error_ = out.errorString();
        return false;
    }
    if (!writeFile(book, out.temporaryPath(), path)) return false;
    if (!out.commit()) {
        error_ = out.errorString();
        return false;
    }
    return true;
}

bool XlsxWriter::writeFile(const Workbook& book, const QString& file, const QString& shownAs) {
    lxw_workbook* wb = workbook_new(QFile::encodeName(file).constData());
    if (!wb) {
        error_ = QStringLiteral("无法写入文件：") + QDir::toNativeSeparators(shownAs);
        return false;
    }
    const QByteArray title = book.caption().toUtf8();
    lxw_doc_properties props = {};
    props.title = const_cast<char*>(title.constData());
    if (!title.isEmpty()) workbook_set_properties(wb, &props);

    lxw_worksheet* ws = workbook_add_worksheet(wb, "Sheet1");
    Formats formats(wb);

    for (const auto& [column, width] : book.columnWidths()) {
        worksheet_set_column(ws, lxw_col_t(column - 1), lxw_col_t(column - 1), width, nullptr);
    }

    // Merged rows first: the library writes the whole range, its first cell holding the value.
    QSet<qint64> merged;
    for (const Workbook::Range& m : book.merges()) {
        const auto first = book.cells().find((qint64(m.top) << 16) | qint64(m.left));
        const Workbook::Cell cell = first == book.cells().end() ? Workbook::Cell() : first->second;
        lxw_format* f = formats.of(cell.style);
        const QString text = isNumber(cell.value) ? QString() : cell.value.toString();
        worksheet_merge_range(ws, lxw_row_t(m.top - 1), lxw_col_t(m.left - 1),
                              lxw_row_t(m.bottom - 1), lxw_col_t(m.right - 1),
                              text.left(kMaxCellText).toUtf8().constData(), f);
        if (isNumber(cell.value)) writeCell(ws, m.top, m.left, cell.value, f);
        for (int c = m.left; c <= m.right; ++c) merged.insert((qint64(m.top) << 16) | qint64(c));
    }

    for (const auto& [key, cell] : book.cells()) {
        if (merged.contains(key)) continue;
        writeCell(ws, Workbook::rowOf(key), Workbook::columnOf(key), cell.value,
                  formats.of(cell.style));
    }

    const Workbook::PageSetup& page = book.pageSetup();
    if (page.orientation == Workbook::Orientation::Landscape) worksheet_set_landscape(ws);
    if (page.orientation == Workbook::Orientation::Portrait) worksheet_set_portrait(ws);
    if (page.topMargin || page.bottomMargin || page.leftMargin || page.rightMargin) {
        const auto m = [](const std::optional<double>& p) { return p ? inches(*p) : -1.0; };
        worksheet_set_margins(ws, m(page.leftMargin), m(page.rightMargin), m(page.topMargin),
                              m(page.bottomMargin));
    }
    if (!page.centerFooter.isEmpty()) {
        worksheet_set_footer(ws, (QStringLiteral("&C") + page.centerFooter).toUtf8().constData());
    }

    const lxw_error rc = workbook_close(wb);
    if (rc != LXW_NO_ERROR) {
        error_ = QStringLiteral("无法写入文件：") + QDir::toNativeSeparators(shownAs) +
                 QStringLiteral("（") + QString::fromUtf8(lxw_strerror(rc)) + QStringLiteral("）");
        return false;
    }
    return true;
}

bool XlsxWriter::write(const Workbook& book, QIODevice* device) {
    QTemporaryDir dir;
    if (!dir.isValid()) {
        error_ = QStringLiteral("无法创建临时文件夹");
        return false;
    }
    const QString path = dir.filePath(QStringLiteral("book.xlsx"));
    error_.clear();
    if (!writeFile(book, path, path)) return false;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly) || device->write(f.readAll()) != f.size()) {
        error_ = device->errorString();
        return false;
    }
    return true;
}

}  // namespace cw
