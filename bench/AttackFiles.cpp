#include "AttackFiles.h"

#include <zlib.h>

#include <QDir>
#include <QFile>
#include <stdexcept>

namespace cw {

namespace {

// Raw deflate of one part in a stream of its own; every part but the last ends on a byte
// boundary with no final block, so parts laid one after another make one valid stream.
QByteArray deflatePart(const QByteArray& data, bool last) {
    z_stream z{};
    if (deflateInit2(&z, 9, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::runtime_error("deflateInit2");
    QByteArray out(int(deflateBound(&z, uLong(data.size())) + 64), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
    z.avail_in = uInt(data.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = uInt(out.size());
    deflate(&z, last ? Z_FINISH : Z_SYNC_FLUSH);
    out.resize(int(z.total_out));
    deflateEnd(&z);
    return out;
}

quint32 crcOf(const QByteArray& data) {
    return quint32(crc32(0, reinterpret_cast<const Bytef*>(data.constData()), uInt(data.size())));
}

void put16(QByteArray& out, quint32 v) {
    out.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF));
}

void put32(QByteArray& out, quint32 v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

// The fields a local header and its central entry share, from "version needed" on.
QByteArray commonFields(quint16 method, quint32 crc, quint32 packed, quint32 size, int nameSize) {
    QByteArray f;
    put16(f, 20);
    put16(f, 0);
    put16(f, method);
    put16(f, 0);     // time
    put16(f, 0x21);  // 1980-01-01
    put32(f, crc);
    put32(f, packed);
    put32(f, size);
    put16(f, quint16(nameSize));
    put16(f, 0);
    return f;
}

QByteArray repeated(const char* pattern, int bytes) {
    const QByteArray p(pattern);
    return p.repeated(std::max(1, bytes / int(p.size())));
}

}  // namespace

qint64 AttackFiles::repeatsFor(const QByteArray& unit, qint64 packedBytes) {
    return std::max<qint64>(1, packedBytes / deflatePart(unit, false).size());
}

void AttackFiles::writePackage(const QString& path, const std::vector<Member>& given) {
    std::vector<Member> members{
        {QStringLiteral("xl/workbook.xml"),
         "<workbook xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/"
         "relationships\"><sheets><sheet name=\"Sheet1\" sheetId=\"1\" r:id=\"rId1\"/>"
         "</sheets></workbook>",
         {},
         0,
         {}},
        {QStringLiteral("xl/_rels/workbook.xml.rels"),
         "<Relationships><Relationship Id=\"rId1\" Target=\"worksheets/sheet1.xml\"/>"
         "</Relationships>",
         {},
         0,
         {}}};
    members.insert(members.end(), given.begin(), given.end());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) throw std::runtime_error("cannot write a package");
    QByteArray central;
    for (const Member& m : members) {
        const QByteArray name = m.name.toUtf8();
        const QByteArray head = deflatePart(m.head, false);
        const QByteArray unit = m.repeat > 0 ? deflatePart(m.unit, false) : QByteArray();
        const QByteArray tail = deflatePart(m.tail, true);
        quint32 crc = crcOf(m.head);
        const quint32 unitCrc = crcOf(m.unit);
        for (qint64 i = 0; i < m.repeat; ++i)
            crc = quint32(crc32_combine(crc, unitCrc, m.unit.size()));
        crc = quint32(crc32_combine(crc, crcOf(m.tail), m.tail.size()));
        const qint64 size = m.head.size() + m.repeat * m.unit.size() + m.tail.size();
        const qint64 packed = head.size() + m.repeat * unit.size() + tail.size();
        if (size > 0xFFFFFFFFll) throw std::runtime_error("a member past 4 GiB needs zip64");
        const QByteArray fields =
            commonFields(8, crc, quint32(packed),
                         quint32(m.declaredSize < 0 ? size : m.declaredSize), int(name.size()));
        const quint32 offset = quint32(file.pos());
        QByteArray local;
        put32(local, 0x04034b50);
        file.write(local + fields + name + head);
        for (qint64 i = 0; i < m.repeat; ++i) file.write(unit);
        file.write(tail);
        put32(central, 0x02014b50);
        put16(central, 20);
        central += fields;
        put16(central, 0);  // comment
        put16(central, 0);  // disk
        put16(central, 0);  // internal attributes
        put32(central, 0);  // external attributes
        put32(central, offset);
        central += name;
    }
    const quint32 at = quint32(file.pos());
    QByteArray end;
    put32(end, 0x06054b50);
    put32(end, 0);
    put16(end, quint16(members.size()));
    put16(end, quint16(members.size()));
    put32(end, quint32(central.size()));
    put32(end, at);
    put16(end, 0);
    file.write(central + end);
}

QStringList AttackFiles::write(const QString& dir, qint64 packedBytes) {
    const QString tag = QString::number(packedBytes / 1024) + QStringLiteral("k");
    const QByteArray open("<worksheet><sheetData>");
    const QByteArray close("</sheetData></worksheet>");
    // Rows without numbers, each a cell in the last column: GBs of rows from a few MB.
    const QByteArray farRows = repeated("<row><c r=\"XFD1\"><v>1</v></c></row>", 1 << 20);
    const qint64 repeats =
        std::min<qint64>(repeatsFor(farRows, packedBytes), (0xFFFFFFFFll - 4096) / farRows.size());
    QStringList files;
    const auto add = [&](const char* name, const std::vector<Member>& members) {
        files << QDir(dir).filePath(QString::fromUtf8(name) + QLatin1Char('-') + tag +
                                    QStringLiteral(".xlsx"));
        writePackage(files.back(), members);
    };
    const QString sheet = QStringLiteral("xl/worksheets/sheet1.xml");
    add("declared", {{sheet, open, farRows, repeats, close}});
    add("lying", {{sheet, open, farRows, repeats, close, 1 << 20}});

    // Numbered rows, as a genuine file has them, as many as make about the size asked.
    const auto numberedRows = [](int from, int to) {
        QByteArray rows;
        for (int r = from; r <= to; ++r)
            rows += QStringLiteral("<row r=\"%1\"><c r=\"XFD%1\"><v>%1</v></c></row>")
                        .arg(r)
                        .toLatin1();
        return rows;
    };
    const double perRow = double(deflatePart(numberedRows(1, 20000), false).size()) / 20000;
    const int rowCount = int(std::min(double(packedBytes) / perRow, 1'200'000.0));
    const QByteArray numbered = open + numberedRows(1, rowCount);
    add("far-cells", {{sheet, numbered + close, {}, 0, {}}});

    const QByteArray strings = repeated("<si><t>x</t></si>", 1 << 20);
    add("shared-strings",
        {{sheet, open + "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c></row>" + close, {}, 0, {}},
         {QStringLiteral("xl/sharedStrings.xml"),
          "<sst count=\"2000000000\" uniqueCount=\"2000000000\">", strings,
          repeatsFor(strings, packedBytes), "</sst>"}});

    files << QDir(dir).filePath(QStringLiteral("bill-zeros-") + tag + QStringLiteral(".csv"));
    QFile zeros(files.back());
    if (!zeros.open(QIODevice::WriteOnly) ||
        zeros.write(QByteArray(int(packedBytes), '\0')) != packedBytes)
        throw std::runtime_error("cannot write the bill of zeros");
    return files;
}

}  // namespace cw
