#include "import/XlsStream.h"

#include <cstring>

#include "import/XlsxReader.h"
#include "import/xlshelper/XlsFrames.h"

namespace cw {

namespace f = xlsframes;

namespace {

quint32 le32(const char* p) {
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    return quint32(u[0]) | quint32(u[1]) << 8 | quint32(u[2]) << 16 | quint32(u[3]) << 24;
}

}  // namespace

XlsStream::XlsStream(const QString& sheetName) : sheetName_(sheetName) {}

bool XlsStream::feed(const QByteArray& bytes) {
    if (stage_ == Stage::Garbled) return false;
    pending_.append(bytes);
    qsizetype at = 0;
    bool ok = true;
    while (ok && pending_.size() - at >= qsizetype(f::kHeaderBytes)) {
        const char* head = pending_.constData() + at;
        const quint32 size = le32(head + 1);
        ok = size <= f::kMaxPayload;
        if (!ok || pending_.size() - at < qsizetype(f::kHeaderBytes + size)) break;
        ok = frame((unsigned char)head[0], head + f::kHeaderBytes, size);
        at += f::kHeaderBytes + size;
    }
    pending_.remove(0, at);
    if (!ok) stage_ = Stage::Garbled;
    return ok;
}

bool XlsStream::frame(unsigned char tag, const char* payload, quint32 size) {
    switch (stage_) {
        case Stage::Names:
            return name(tag, payload, size);
        case Stage::Dimensions:
            return dimensions(tag, payload, size);
        case Stage::Cells:
            return cell(tag, payload, size);
        default:
            return false;  // nothing may follow the end
    }
}

bool XlsStream::name(unsigned char tag, const char* payload, quint32 size) {
    if (tag == f::Question) {
        stage_ = Stage::Dimensions;
        return size == 0;
    }
    if (tag != f::Name && tag != f::Unreadable) return false;
    if (sheets_ > 0xffff) return false;
    const int i = sheets_++;
    // No name asked for: the first sheet, whatever it is called.
    if (sheetName_.isEmpty() && i == 0) {
        index_ = 0;
    } else if (tag == f::Name && index_ < 0 &&
               QString::fromUtf8(payload, size).compare(sheetName_, Qt::CaseInsensitive) == 0) {
        index_ = i;
    }
    return true;
}

bool XlsStream::dimensions(unsigned char tag, const char* payload, quint32 size) {
    if (tag != f::Dimensions || size != 8 || index_ < 0) return false;
    rows_ = le32(payload);
    columns_ = le32(payload + 4);
    stage_ = Stage::Cells;
    return rows_ <= kMaxRows && columns_ <= kMaxColumns;
}

bool XlsStream::cell(unsigned char tag, const char* payload, quint32 size) {
    switch (tag) {
        case f::Row:
            if (size != 0 || !endRow() || rowsSeen_ == rows_) return false;
            inRow_ = true;
            ++rowsSeen_;
            return true;
        case f::End:
            if (size != 0 || !endRow() || rowsSeen_ != rows_) return false;
            stage_ = Stage::Done;
            return true;
        case f::Empty: {
            if (size != 4 || !inRow_) return false;
            const quint32 n = le32(payload);
            if (n > columns_ - quint32(cells_.size())) return false;
            for (quint32 i = 0; i < n; ++i) cells_.append(QString());
            return true;
        }
        case f::Integer:
            return size == 4 && addCell(QString::number(qint32(le32(payload))));
        case f::Double: {
            if (size != sizeof(double)) return false;
            double v = 0;
            std::memcpy(&v, payload, sizeof v);
            return addCell(XlsxReader::numberText(v, false, false));
        }
        case f::Text:
            return addCell(QString::fromUtf8(payload, size));
        case f::DateTime: {
            // A time of midnight is a plain date.
            QString text = QString::fromUtf8(payload, size);
            if (text.endsWith(QLatin1String(" 00:00:00"))) text.chop(9);
            return addCell(text);
        }
        default:
            return false;
    }
}

bool XlsStream::addCell(const QString& text) {
    if (!inRow_ || quint32(cells_.size()) >= columns_) return false;
    cells_.append(text);
    return true;
}

bool XlsStream::endRow() {
    if (!inRow_) return true;
    if (quint32(cells_.size()) != columns_) return false;
    sheet_.add(int(rowsSeen_), cells_);
    cells_.clear();
    inRow_ = false;
    return true;
}

}  // namespace cw
