// The spreadsheet readers: a whole .xlsx package as it comes, the XML parts of one (so the
// fuzzer's bytes reach the XML reader instead of failing the package's checksums), an .xls
// file through the helper process the program starts for it, and the helper's output as the
// program takes it in.
#include <QStringList>

#include "FuzzFiles.h"
#include "FuzzTargets.h"
#include "import/SheetRows.h"
#include "import/XlsReader.h"
#include "import/XlsStream.h"
#include "import/XlsxReader.h"

namespace cw::fuzz {

namespace {

void readPackage(const QString& path) {
    try {
        consume(XlsxReader::read(path, QString()));
    } catch (const SheetError&) {
    }
}

QByteArray contentTypes() {
    return QByteArrayLiteral(
        R"(<?xml version="1.0" encoding="UTF-8"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
        R"(<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>)"
        R"(<Default Extension="xml" ContentType="application/xml"/></Types>)");
}

QByteArray packageRels() {
    return QByteArrayLiteral(
        R"(<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
        R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="xl/workbook.xml"/></Relationships>)");
}

QByteArray workbookRels() {
    return QByteArrayLiteral(
        R"(<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
        R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/>)"
        R"(<Relationship Id="rId2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings" Target="sharedStrings.xml"/>)"
        R"(<Relationship Id="rId3" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="styles.xml"/></Relationships>)");
}

}  // namespace

int xlsxPackage(const std::uint8_t* data, std::size_t size) {
    readPackage(scratchFile(QStringLiteral("in.xlsx"), data, size));
    return 0;
}

// The input is the workbook, the sheet, the shared strings and the styles, cut at separator
// lines; the relationships around them are fixed.
int xlsxParts(const std::uint8_t* data, std::size_t size) {
    const std::vector<QByteArray> part = pieces(data, size, 4);
    readPackage(
        storedPackage(QStringLiteral("parts.xlsx"), {{"[Content_Types].xml", contentTypes()},
                                                     {"_rels/.rels", packageRels()},
                                                     {"xl/_rels/workbook.xml.rels", workbookRels()},
                                                     {"xl/workbook.xml", part[0]},
                                                     {"xl/worksheets/sheet1.xml", part[1]},
                                                     {"xl/sharedStrings.xml", part[2]},
                                                     {"xl/styles.xml", part[3]}}));
    return 0;
}

int xlsFile(const std::uint8_t* data, std::size_t size) {
    try {
        consume(XlsReader::read(scratchFile(QStringLiteral("in.xls"), data, size),
                                QStringLiteral("Sheet1")));
    } catch (const SheetError&) {
    }
    return 0;
}

// The helper's output arrives in pieces of any size: the first byte says where the rest is
// cut in two.
int xlsFrames(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    const qsizetype cut = bytes.isEmpty() ? 0 : qsizetype(data[0]) % (bytes.size() + 1);
    XlsStream stream(QStringLiteral("Sheet1"));
    if (stream.feed(bytes.left(cut)) && stream.feed(bytes.mid(cut)) && stream.complete()) {
        consume(stream.sheet());
    }
    return 0;
}

}  // namespace cw::fuzz
