#include "reports/XlsxWriter.h"

#include <xlsxwriter.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QIODevice>
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
           QLatin1Char(s.wrap ? 'w' : '-') + QLatin1Char(s.border ? 'x' : '-') + QLatin1Char('|') +
           s.numberFormat;
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
        if (!s.fontName.isEmpty()) format_set_font_name(f, keep(s.fontName));
        if (s.fontSize > 0) format_set_font_size(f, s.fontSize);
        if (s.bold) format_set_bold(f);
        if (s.centred) {
            format_set_align(f, LXW_ALIGN_CENTER);
            format_set_align(f, LXW_ALIGN_VERTICAL_CENTER);
        }
        if (s.wrap) format_set_text_wrap(f);
        if (s.border) format_set_border(f, LXW_BORDER_THIN);
        if (!s.numberFormat.isEmpty()) format_set_num_format(f, keep(s.numberFormat));
        formats_.insert(k, f);
        return f;
    }

  private:
    // The library keeps the pointer until the workbook closes.
    const char* keep(const QString& text) {
        texts_.append(text.toUtf8());
        return texts_.last().constData();
    }

    lxw_workbook* wb_;
    QHash<QString, lxw_format*> formats_;
    QList<QByteArray> texts_;
};

lxw_error writeCell(lxw_worksheet* ws, int row, int col, const QVariant& v, lxw_format* f) {
    const lxw_row_t r = lxw_row_t(row - 1);
    const lxw_col_t c = lxw_col_t(col - 1);
    if (Workbook::isNumber(v)) return worksheet_write_number(ws, r, c, v.toDouble(), f);
    const QString text = v.toString();
    if (text.isEmpty()) return f ? worksheet_write_blank(ws, r, c, f) : LXW_NO_ERROR;
    return worksheet_write_string(ws, r, c, text.left(kMaxCellText).toUtf8().constData(), f);
}

constexpr int kProgressStep = 200;

// Writes the sheet row by row, top to bottom: the library runs in constant-memory mode and
// puts each row into the file as soon as the next one starts, so nothing may go back up.
class SheetWriter {
  public:
    SheetWriter(const Workbook& book, lxw_worksheet* ws, Formats& formats)
        : book_(book), ws_(ws), formats_(formats) {
        for (const Workbook::Range& m : book.merges()) merges_.insert(m.top, m);
    }

    lxw_error run() {
        auto it = book_.cells().begin();
        const auto end = book_.cells().end();
        const int last = book_.lastRow();
        for (int row = 1; row <= last; ++row) {
            if (book_.body().holds(row)) {
                if (const lxw_error rc = bodyRow(row)) return rc;
                continue;
            }
            if (const lxw_error rc = merge(row)) return rc;
            for (; it != end && Workbook::rowOf(it->first) <= row; ++it) {
                const int column = Workbook::columnOf(it->first);
                if (Workbook::rowOf(it->first) < row || inMerge(row, column)) continue;
                const Workbook::Cell& cell = it->second;
                if (const lxw_error rc =
                        writeCell(ws_, row, column, cell.value, formats_.of(cell.style)))
                    return rc;
            }
        }
        return LXW_NO_ERROR;
    }

  private:
    bool inMerge(int row, int column) const {
        const auto m = merges_.constFind(row);
        return m != merges_.cend() && column >= m->left && column <= m->right;
    }

    // The library writes the whole merged range, its first cell holding the value.
    lxw_error merge(int row) {
        const auto m = merges_.constFind(row);
        if (m == merges_.cend()) return LXW_NO_ERROR;
        const auto first = book_.cells().find((qint64(row) << 16) | qint64(m->left));
        const Workbook::Cell cell = first == book_.cells().end() ? Workbook::Cell() : first->second;
        lxw_format* f = formats_.of(cell.style);
        const QString text = Workbook::isNumber(cell.value) ? QString() : cell.value.toString();
        const lxw_error rc = worksheet_merge_range(ws_, lxw_row_t(row - 1), lxw_col_t(m->left - 1),
                                                   lxw_row_t(row - 1), lxw_col_t(m->right - 1),
                                                   text.left(kMaxCellText).toUtf8().constData(), f);
        if (rc || !Workbook::isNumber(cell.value)) return rc;
        return writeCell(ws_, row, m->left, cell.value, f);
    }

    lxw_error bodyRow(int row) {
        const Workbook::Body& body = book_.body();
        if (row == body.firstRow) {
            styles_.clear();
            for (const Workbook::Style& s : body.styles) styles_.push_back(formats_.of(s));
        }
        const int index = row - body.firstRow;
        for (int c = 1; c <= body.columns; ++c) {
            if (const lxw_error rc =
                    writeCell(ws_, row, c, body.value(index, c), styles_[size_t(c)]))
                return rc;
        }
        const int done = index + 1;
        if (body.progress && (done % kProgressStep == 0 || done == body.rows))
            body.progress(done, body.rows);
        return LXW_NO_ERROR;
    }

    const Workbook& book_;
    lxw_worksheet* ws_;
    Formats& formats_;
    QHash<int, Workbook::Range> merges_;
    std::vector<lxw_format*> styles_;
};

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
    // Rows go to a temporary file beside the target rather than into memory; the library
    // removes it when the workbook closes.
    const QByteArray tmpdir = QFile::encodeName(QFileInfo(file).absolutePath());
    lxw_workbook_options options = {};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = const_cast<char*>(tmpdir.constData());
    lxw_workbook* wb = workbook_new_opt(QFile::encodeName(file).constData(), &options);
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

    // Every width is known before the first row goes out.
    for (const auto& [column, width] : book.fittedWidths()) {
        worksheet_set_column(ws, lxw_col_t(column - 1), lxw_col_t(column - 1), width, nullptr);
    }
    lxw_error rc = SheetWriter(book, ws, formats).run();

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

    const lxw_error closed = workbook_close(wb);
    if (rc == LXW_NO_ERROR) rc = closed;
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
