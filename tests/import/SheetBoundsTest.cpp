#include <gtest/gtest.h>
#include <sys/resource.h>
#include <zip.h>

#include <QProcess>
#include <QTemporaryDir>

#include "bookkeeping/BookkeepingFixture.h"
#include "import/SpreadsheetReader.h"
#include "import/bills/BillReader.h"
#include "support/CliRun.h"
#include "support/Files.h"

namespace {

using cw::SheetError;
using cw::SheetLimits;

const QByteArray kWorkbook =
    "<workbook xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
    "<sheets><sheet name=\"Sheet1\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>";
const QByteArray kRels =
    "<Relationships><Relationship Id=\"rId1\" Target=\"worksheets/sheet1.xml\"/></Relationships>";

QByteArray sheetXml(const QByteArray& rows) {
    return "<worksheet><sheetData>" + rows + "</sheetData></worksheet>";
}

// A package of the given members (deflated), with the workbook parts that lead to Sheet1.
QString writePackage(const QString& path, QList<QPair<QString, QByteArray>> members,
                     bool workbook = true) {
    if (workbook) {
        members.prepend({QStringLiteral("xl/_rels/workbook.xml.rels"), kRels});
        members.prepend({QStringLiteral("xl/workbook.xml"), kWorkbook});
    }
    int error = 0;
    zip_t* zip = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    EXPECT_NE(zip, nullptr);
    for (const auto& [name, data] : members) {
        zip_source_t* src = zip_source_buffer(zip, data.constData(), zip_uint64_t(data.size()), 0);
        zip_file_add(zip, name.toUtf8().constData(), src, ZIP_FL_OVERWRITE);
    }
    EXPECT_EQ(zip_close(zip), 0);
    return path;
}

// Rewrites what the package says a member unpacks to, in its local and its central header.
void declareSize(const QString& path, const QByteArray& name, quint32 size) {
    QByteArray bytes = cw::test::readFile(path);
    for (qsizetype at = bytes.indexOf(name); at >= 0; at = bytes.indexOf(name, at + 1)) {
        const auto put = [&](qsizetype offset) {
            for (int i = 0; i < 4; ++i) bytes[offset + i] = char((size >> (8 * i)) & 0xFF);
        };
        if (at >= 30 && bytes.mid(at - 30, 4) == "PK\x03\x04") put(at - 30 + 22);
        if (at >= 46 && bytes.mid(at - 46, 4) == "PK\x01\x02") put(at - 46 + 24);
    }
    cw::test::writeFile(path, bytes);
}

QString refusal(const QString& path, const SheetLimits& limits = {}) {
    try {
        cw::SpreadsheetReader::read(path, cw::SpreadsheetReader::sheetName(), limits);
    } catch (const SheetError& e) {
        return e.message();
    }
    return QString();
}

QByteArray repeated(const QByteArray& unit, int times) {
    return unit.repeated(times);
}

class SheetBoundsTest : public ::testing::Test {
  protected:
    QString file(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
    QTemporaryDir dir;
};

// What a package says and what it really unpacks to are both held to the limits.
TEST_F(SheetBoundsTest, PackagePartsAreBoundedAsDeclaredAndAsInflated) {
    const QByteArray rows = repeated("<row><c><v>1</v></c></row>", 20000);  // 520 KB, packs small
    const QString sheet = QStringLiteral("xl/worksheets/sheet1.xml");
    const QString big = writePackage(file("big.xlsx"), {{sheet, sheetXml(rows)}});
    SheetLimits small;
    small.partBytes = 256 * 1024;
    EXPECT_EQ(refusal(big, small),
              QStringLiteral("Excel文件超过上限：xl/worksheets/sheet1.xml 解压后 %1 字节，最多 "
                             "256 KB！")
                  .arg(sheetXml(rows).size()));
    EXPECT_EQ(cw::SpreadsheetReader::read(big).rowCount(), 19999u);  // within the defaults

    // Declared as 4 KB, it is stopped once more than that has come out.
    const QString lying = writePackage(file("lying.xlsx"), {{sheet, sheetXml(rows)}});
    declareSize(lying, sheet.toUtf8(), 4096);
    EXPECT_EQ(refusal(lying),
              QStringLiteral("Excel文件超过上限：xl/worksheets/sheet1.xml 解压后超过它声明的 4 "
                             "KB！"));

    SheetLimits ratio;
    ratio.ratioFromBytes = 64 * 1024;
    ratio.packRatio = 20;
    EXPECT_TRUE(refusal(big, ratio).contains(QStringLiteral("压缩比")));
}

TEST_F(SheetBoundsTest, RowsColumnsAndTextsAreBounded) {
    const QString sheet = QStringLiteral("xl/worksheets/sheet1.xml");
    const auto package = [&](const char* name, const QByteArray& rows, const QByteArray& sst = {}) {
        QList<QPair<QString, QByteArray>> members{{sheet, sheetXml(rows)}};
        if (!sst.isEmpty()) members.append({QStringLiteral("xl/sharedStrings.xml"), sst});
        return writePackage(file(name), members);
    };
    // The last row and column are read, sparse: one cell stays one cell.
    const QString last = package("last.xlsx",
                                 "<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>日期</t></is></c>"
                                 "</row><row r=\"1048576\"><c r=\"XFD1048576\"><v>7</v></c></row>");
    const cw::SheetRows s = cw::SpreadsheetReader::read(last);
    ASSERT_EQ(s.rowCount(), 1u);
    EXPECT_EQ(s.rowNumber(0), 1048576);
    EXPECT_EQ(s.text(0, 16383), QStringLiteral("7"));
    EXPECT_EQ(s.cellCount(), 1);

    EXPECT_EQ(refusal(package("row.xlsx", "<row r=\"1048577\"><c><v>1</v></c></row>")),
              QStringLiteral("Excel文件超过上限：行号 1048577，最多 1048576 行！"));
    EXPECT_EQ(refusal(package("column.xlsx", "<row r=\"3\"><c r=\"XFE3\"><v>1</v></c></row>")),
              QStringLiteral("Excel文件超过上限：第 3 行第 16385 列，最多 16384 列！"));
    EXPECT_EQ(refusal(package("letters.xlsx", "<row><c r=\"ZZZZZZZZZZZZZZ1\"><v>1</v></c></row>")),
              QStringLiteral("Excel文件超过上限：第 1 行第 16777216 列，最多 16384 列！"));

    SheetLimits small;
    small.cellChars = 10;
    small.sharedStrings = 2;
    small.cells = 3;
    EXPECT_EQ(refusal(package("long.xlsx",
                              "<row><c t=\"inlineStr\"><is><t>12345678901</t></is>"
                              "</c></row>"),
                      small),
              QStringLiteral("Excel文件超过上限：单元格文字 11 个字符，最多 10 个！"));
    EXPECT_EQ(refusal(package("cells.xlsx", repeated("<row><c><v>1</v></c></row>", 5)), small),
              QStringLiteral("Excel文件超过上限：单元格超过 3 个！"));
    const QByteArray three = "<sst><si><t>a</t></si><si><t>b</t></si><si><t>c</t></si></sst>";
    EXPECT_EQ(refusal(package("strings.xlsx", {}, three), small),
              QStringLiteral("Excel文件超过上限：共享字符串超过 2 个！"));
    // A count that would have the reader set aside room for two thousand million strings.
    EXPECT_EQ(refusal(package("count.xlsx", {}, "<sst uniqueCount=\"2000000000\"></sst>")),
              QStringLiteral("Excel文件超过上限：共享字符串 2000000000 个，最多 4194304 个！"));
    // A text run with no markup is stopped before the parser gathers it whole.
    EXPECT_TRUE(refusal(package("run.xlsx", "<row><c><v>" + QByteArray(200000, '1') +
                                                "</v></c>"
                                                "</row>"),
                        small)
                    .endsWith(QStringLiteral("中的文字超过 10 个字符！")));
}

// Files that used to take the process down: refused by the companion, which stays within a
// gigabyte of address space, and nothing is booked.
TEST_F(SheetBoundsTest, HostileFilesAreRefusedByTheCliWithinItsMemory) {
    cw::test::TempDataFile f;
    f.addBook(QStringLiteral("我家"));
    f.reopen();
    const auto run = [&](const QStringList& args) {
        QProcess p;
#ifndef COINWICK_SANITIZED
        p.setChildProcessModifier([] {
            const rlimit limit{rlim_t(1) << 30, rlim_t(1) << 30};
            setrlimit(RLIMIT_AS, &limit);
        });
#endif
        p.start(QStringLiteral(COINWICK_CLI),
                QStringList{"--home", f.programDir(), "--book", "我家"} + args);
        p.waitForFinished(120000);
        return cw::test::CliRun{p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
                                QString::fromUtf8(p.readAllStandardOutput()),
                                QString::fromUtf8(p.readAllStandardError())};
    };
    // Every row a cell in the last column, under the income headers.
    const QByteArray header =
        "<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>日期</t></is></c></row>";
    const QString far = writePackage(
        file("far.xlsx"),
        {{QStringLiteral("xl/worksheets/sheet1.xml"),
          sheetXml(header + repeated("<row><c r=\"XFD2\"><v>1</v></c></row>", 6000))}});
    cw::test::CliRun r = run({"import", "in", far});
    EXPECT_EQ(r.code, 3) << r.err.toStdString();
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("表格头部找不到“收入类别”")))
        << r.err.toStdString();

    const QString count = writePackage(
        file("count.xlsx"),
        {{QStringLiteral("xl/worksheets/sheet1.xml"), sheetXml({})},
         {QStringLiteral("xl/sharedStrings.xml"), "<sst uniqueCount=\"2000000000\"></sst>"}});
    r = run({"import", "in", count});
    EXPECT_EQ(r.code, 3) << r.err.toStdString();
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("Excel文件超过上限：共享字符串")));

    r = run({"bill", "/dev/zero"});
    EXPECT_EQ(r.code, 3) << r.err.toStdString();
    EXPECT_EQ(r.err, QStringLiteral("账单文件超过上限：文件大于 64 MB！\n"));
    f.reopen();
    EXPECT_EQ(f.count("InTable"), 0);
    EXPECT_EQ(f.count("OutTable"), 0);
}

TEST_F(SheetBoundsTest, ABillLineWithNoEndIsRefused) {
    cw::test::writeFile(file("zeros.csv"), QByteArray(5000, '\0'));
    SheetLimits small;
    small.billLineChars = 4096;
    try {
        cw::BillReader::read(file("zeros.csv"), small);
        ADD_FAILURE() << "read";
    } catch (const SheetError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("账单文件超过上限：第 1 行超过 4096 个字符！"));
    }
    small.billBytes = 4096;
    try {
        cw::BillReader::read(file("zeros.csv"), small);
        ADD_FAILURE() << "read";
    } catch (const SheetError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("账单文件超过上限：文件大于 4 KB！"));
    }
}

// A formula written by a script carries no result; an OpenDocument file is no damaged workbook.
TEST_F(SheetBoundsTest, FormulasWithoutResultsAndOpenDocumentFilesAreRefused) {
    const QByteArray rows =
        "<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>日期</t></is></c>"
        "<c r=\"B1\" t=\"inlineStr\"><is><t>金额</t></is></c></row>"
        "<row r=\"2\"><c r=\"B2\"><f>1+1</f><v>2</v></c></row>"
        "<row r=\"3\"><c r=\"B3\"><f>SUM(B1:B2)</f></c></row>";
    const QString sheet = QStringLiteral("xl/worksheets/sheet1.xml");
    EXPECT_EQ(refusal(writePackage(file("formula.xlsx"), {{sheet, sheetXml(rows)}})),
              QStringLiteral("第 3 行 金额 是公式，文件中没有它的计算结果！请用Excel打开并保存后"
                             "再导入。没有导入任何数据。"));
    EXPECT_EQ(cw::SpreadsheetReader::read(
                  writePackage(file("kept.xlsx"),
                               {{sheet, sheetXml(rows.left(rows.indexOf("<row r=\"3\"")))}}))
                  .text(0, 1),
              QStringLiteral("2"));

    const QString ods = writePackage(
        file("sheet.ods"),
        {{QStringLiteral("mimetype"), "application/vnd.oasis.opendocument.spreadsheet"},
         {QStringLiteral("content.xml"), "<office:document-content/>"}},
        false);
    EXPECT_EQ(refusal(ods),
              QStringLiteral("不支持OpenDocument表格文件（.ods）！支持的格式：.xls、.xlsx。"));
    try {
        cw::BillReader::read(ods);
        ADD_FAILURE() << "read";
    } catch (const SheetError& e) {
        EXPECT_EQ(e.message(),
                  QStringLiteral("不支持OpenDocument表格文件（.ods）！支持的格式：.xlsx、.csv。"));
    }
}

}  // namespace
