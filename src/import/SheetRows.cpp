#include "import/SheetRows.h"

#include <algorithm>

namespace cw {

quint32 SheetRows::keep(const QString& text) {
    kept_.push_back(text);
    textChars_ += text.size();
    return quint32(kept_.size());  // 0 stays the empty text
}

quint32 SheetRows::copy(QStringView text) {
    buffer_.append(text);
    copiedEnds_.push_back(quint32(buffer_.size()));
    textChars_ += text.size();
    return kCopied | quint32(copiedEnds_.size() - 1);
}

void SheetRows::addCell(int column, quint32 text) {
    if (text != 0) cells_.push_back({quint32(column), text});
}

void SheetRows::add(int rowNumber, const QStringList& cells) {
    for (int c = 0; c < cells.size(); ++c)
        if (!cells[c].isEmpty()) addCell(c, keep(cells[c]));
    endRow(rowNumber, true);
}

void SheetRows::addRow(int rowNumber, const QStringList& cells) {
    for (int c = 0; c < cells.size(); ++c)
        if (!cells[c].isEmpty()) addCell(c, keep(cells[c]));
    endRow(rowNumber, false);
}

void SheetRows::endRow(int rowNumber) {
    endRow(rowNumber, true);
}

void SheetRows::endRow(int rowNumber, bool findHeader) {
    const auto first = cells_.begin() + qsizetype(rowStart_);
    // Columns ascending, one cell each (the last written wins, as a spreadsheet program reads
    // a cell given twice).
    const auto byColumn = [](const Cell& a, const Cell& b) { return a.column < b.column; };
    if (!std::is_sorted(first, cells_.end(), byColumn))
        std::stable_sort(first, cells_.end(), byColumn);
    auto out = first;
    for (auto it = first; it != cells_.end(); ++it) {
        if (out != first && (out - 1)->column == it->column) {
            *(out - 1) = *it;
        } else {
            *out++ = *it;
        }
    }
    cells_.erase(out, cells_.end());
    bool blank = true;
    for (auto it = first; it != cells_.end() && blank; ++it)
        blank = textOf(it->text).trimmed().isEmpty();
    if (blank || (findHeader && header.isEmpty())) {
        if (!blank) {
            headerRowNumber = rowNumber;
            header.resize(qsizetype((cells_.end() - 1)->column) + 1);
            for (auto it = first; it != cells_.end(); ++it) header[it->column] = stringOf(it->text);
        }
        cells_.resize(rowStart_);
        return;
    }
    rowEnds_.push_back(quint32(cells_.size()));
    rowNumbers_.push_back(rowNumber);
    rowStart_ = cells_.size();
}

QStringView SheetRows::textOf(quint32 id) const {
    if (id == 0) return {};
    if (id & kCopied) {
        const quint32 i = id & ~kCopied;
        const quint32 begin = i == 0 ? 0 : copiedEnds_[i - 1];
        return QStringView(buffer_).mid(begin, copiedEnds_[i] - begin);
    }
    return kept_[id - 1];
}

QString SheetRows::stringOf(quint32 id) const {
    if (id == 0) return {};
    if (id & kCopied) return textOf(id).toString();
    return kept_[id - 1];
}

const SheetRows::Cell* SheetRows::find(size_t row, int column) const {
    const Cell* begin = cells_.data() + (row == 0 ? 0 : rowEnds_[row - 1]);
    const Cell* end = cells_.data() + rowEnds_[row];
    const Cell* it = std::lower_bound(begin, end, quint32(column),
                                      [](const Cell& c, quint32 col) { return c.column < col; });
    return it != end && it->column == quint32(column) ? it : nullptr;
}

QStringView SheetRows::cell(size_t row, int column) const {
    const Cell* c = find(row, column);
    return c ? textOf(c->text) : QStringView();
}

QString SheetRows::text(size_t row, int column) const {
    const Cell* c = find(row, column);
    return c ? stringOf(c->text) : QString();
}

QStringList SheetRows::row(size_t row) const {
    QStringList out;
    const size_t begin = row == 0 ? 0 : rowEnds_[row - 1];
    const size_t end = rowEnds_[row];
    if (begin == end) return out;
    out.resize(qsizetype(cells_[end - 1].column) + 1);
    for (size_t i = begin; i < end; ++i) out[cells_[i].column] = stringOf(cells_[i].text);
    return out;
}

}  // namespace cw
