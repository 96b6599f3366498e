#include <gtest/gtest.h>

#include <QBuffer>
#include <QTemporaryDir>
#include <stdexcept>

#include "reports/Workbook.h"
#include "reports/XlsxWriter.h"
#include "support/XlsxRead.h"

using namespace cw;

namespace {

TEST(Workbook, RangesAndLetters) {
    EXPECT_EQ(Workbook::columnLetters(1), QStringLiteral("A"));
    EXPECT_EQ(Workbook::columnLetters(8), QStringLiteral("H"));
    EXPECT_EQ(Workbook::columnLetters(26), QStringLiteral("Z"));
    EXPECT_EQ(Workbook::columnLetters(27), QStringLiteral("AA"));
    EXPECT_EQ(Workbook::columnLetters(53), QStringLiteral("BA"));
    const Workbook::Range r = Workbook::Range::parse(QStringLiteral("A2:AA31"));
    EXPECT_EQ(r, (Workbook::Range{2, 1, 31, 27}));
    EXPECT_EQ(r.ref(), QStringLiteral("A2:AA31"));
    EXPECT_EQ(Workbook::Range::parse(QStringLiteral("c3")).ref(), QStringLiteral("C3"));
    EXPECT_THROW(Workbook::Range::parse(QStringLiteral("A0:B1")), std::invalid_argument);
    EXPECT_THROW(Workbook::Range::parse(QStringLiteral("1A")), std::invalid_argument);
}

// Values keep their type and read back as text the way they were written.
TEST(Workbook, ValuesReadBack) {
    Workbook wb;
    wb.setValue(3, 2, QStringLiteral("2024-01"));
    wb.setValue(3, 3, 1234.5);
    wb.setValue(3, 4, 7);
    EXPECT_EQ(wb.text(3, 2), QStringLiteral("2024-01"));
    EXPECT_EQ(wb.text(3, 3), QStringLiteral("1234.5"));
    EXPECT_EQ(wb.text(3, 4), QStringLiteral("7"));
    EXPECT_EQ(wb.text(9, 9), QString());
    EXPECT_EQ(wb.lastRow(), 3);
}

// A merge per row, fonts, centring, wrap, borders, widths and the page set-up survive the
// round trip through the file; texts stay texts and numbers numbers.
TEST(XlsxWriter, RoundTrip) {
    Workbook wb;
    wb.setCaption(QStringLiteral("我家-测试"));
    wb.setValue(1, 1, QStringLiteral("标题"));
    wb.setValue(2, 1, 42);
    wb.mergeRows(Workbook::Range::parse(QStringLiteral("A1:C2")));
    wb.setFontName(Workbook::Range::parse(QStringLiteral("A1:C1")), QStringLiteral("宋体"));
    wb.setFontSize(Workbook::Range::parse(QStringLiteral("A1:C1")), 16);
    wb.setBold(Workbook::Range::parse(QStringLiteral("A1:C1")), true);
    wb.centre(Workbook::Range::parse(QStringLiteral("A1:C1")));
    wb.setValue(3, 1, QStringLiteral("1.5"));  // a text that looks like a number stays text
    wb.setValue(3, 2, -0.25);
    wb.setValue(3, 3, QStringLiteral("长\n文本"));
    wb.setWrapText(3, 3, true);
    wb.setBorders(Workbook::Range::parse(QStringLiteral("A3:C3")));
    wb.setColumnWidth(1, 4);
    wb.setColumnWidth(3, 56);
    wb.pageSetup().orientation = Workbook::Orientation::Landscape;
    wb.pageSetup().bottomMargin = 36;
    wb.pageSetup().centerFooter = QStringLiteral("第&P页 共&N页");

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("我的.xlsx"));
    XlsxWriter writer;
    ASSERT_TRUE(writer.write(wb, path)) << writer.errorString().toStdString();
    const auto read = test::readXlsx(path);
    if (!read) GTEST_SKIP() << test::kNoXlsxReader;
    const QJsonObject cells = (*read)[QStringLiteral("cells")].toObject();
    const auto c = [&](const char* ref) { return cells[QString::fromLatin1(ref)].toObject(); };
    EXPECT_EQ((*read)[QStringLiteral("title")].toString(), QStringLiteral("我家-测试"));
    EXPECT_EQ((*read)[QStringLiteral("sheet")].toString(), QStringLiteral("Sheet1"));
    EXPECT_EQ((*read)[QStringLiteral("merges")].toArray(),
              (QJsonArray{QStringLiteral("A1:C1"), QStringLiteral("A2:C2")}));
    EXPECT_EQ(c("A1")[QStringLiteral("value")].toString(), QStringLiteral("标题"));
    EXPECT_EQ(c("A1")[QStringLiteral("font")].toString(), QStringLiteral("宋体"));
    EXPECT_TRUE(c("A1")[QStringLiteral("bold")].toBool());
    EXPECT_TRUE(c("A1")[QStringLiteral("hcentre")].toBool());
    EXPECT_EQ(c("A2")[QStringLiteral("value")].toDouble(), 42);
    EXPECT_EQ(c("A2")[QStringLiteral("type")].toString(), QStringLiteral("n"));
    EXPECT_EQ(c("A3")[QStringLiteral("type")].toString(), QStringLiteral("s"));
    EXPECT_EQ(c("A3")[QStringLiteral("value")].toString(), QStringLiteral("1.5"));
    EXPECT_EQ(c("B3")[QStringLiteral("value")].toDouble(), -0.25);
    EXPECT_EQ(c("C3")[QStringLiteral("value")].toString(), QStringLiteral("长\n文本"));
    EXPECT_TRUE(c("C3")[QStringLiteral("wrap")].toBool());
    EXPECT_TRUE(c("B3")[QStringLiteral("border")].toBool());
    EXPECT_FALSE(c("A1")[QStringLiteral("border")].toBool());
    EXPECT_EQ((*read)[QStringLiteral("orientation")].toString(), QStringLiteral("landscape"));
    EXPECT_NEAR((*read)[QStringLiteral("margins")].toObject()[QStringLiteral("bottom")].toDouble(),
                0.5, 1e-9);
    EXPECT_EQ((*read)[QStringLiteral("footer")].toString(), QStringLiteral("第&P页 共&N页"));
}

// Rows read from a body sit between written cells; the file is written top to bottom, so
// the cells and merges after the body, the body's column styles and its values all arrive.
TEST(XlsxWriter, BodyRowsBetweenCells) {
    Workbook wb;
    wb.setValue(1, 1, QStringLiteral("标题"));
    wb.mergeRows(Workbook::Range::parse(QStringLiteral("A1:C1")));
    wb.setValue(5, 1, QStringLiteral("合计"));
    wb.setValue(5, 3, 6.0, Workbook::moneyFormat());
    wb.setValue(7, 1, QStringLiteral("结余"));
    wb.mergeRows(Workbook::Range::parse(QStringLiteral("A7:C7")));
    wb.setValue(8, 2, 0.125, Workbook::percentFormat());
    wb.setBody(
        {.firstRow = 2, .rows = 3, .columns = 3, .value = [](int row, int column) -> QVariant {
             if (column == 2) return QStringLiteral("项%1").arg(row);
             return column == 1 ? QVariant(row + 1) : QVariant(1000000.0 * (row + 1));
         }});
    wb.setNumberFormat(Workbook::Range::parse(QStringLiteral("C2:C4")), Workbook::moneyFormat());
    wb.setBorders(Workbook::Range::parse(QStringLiteral("A2:C5")));
    EXPECT_THROW(wb.setBorders(Workbook::Range::parse(QStringLiteral("A3:C3"))), std::logic_error);
    EXPECT_THROW(wb.setValue(3, 1, 1), std::logic_error);
    EXPECT_EQ(wb.text(4, 3), QStringLiteral("3,000,000.00"));
    EXPECT_EQ(wb.text(8, 2), QStringLiteral("12.50%"));
    EXPECT_EQ(wb.lastRow(), 8);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("b.xlsx"));
    ASSERT_TRUE(XlsxWriter().write(wb, path));
    const auto read = test::readXlsx(path);
    if (!read) GTEST_SKIP() << test::kNoXlsxReader;
    const QJsonObject cells = (*read)[QStringLiteral("cells")].toObject();
    const auto c = [&](const char* ref) { return cells[QString::fromLatin1(ref)].toObject(); };
    const auto v = [&](const char* ref) { return c(ref)[QStringLiteral("value")].toVariant(); };
    EXPECT_EQ(v("A1").toString(), QStringLiteral("标题"));
    EXPECT_EQ(v("A4").toInt(), 3);
    EXPECT_EQ(v("B3").toString(), QStringLiteral("项1"));
    EXPECT_EQ(v("C4").toDouble(), 3000000);
    EXPECT_EQ(c("C4")[QStringLiteral("format")].toString(), QStringLiteral("#,##0.00"));
    EXPECT_TRUE(c("A3")[QStringLiteral("border")].toBool());
    EXPECT_EQ(v("C5").toDouble(), 6);
    EXPECT_EQ(v("A7").toString(), QStringLiteral("结余"));
    EXPECT_EQ(v("B8").toDouble(), 0.125);
    EXPECT_EQ(c("B8")[QStringLiteral("format")].toString(), QStringLiteral("0.00%"));
    EXPECT_EQ((*read)[QStringLiteral("merges")].toArray(),
              (QJsonArray{QStringLiteral("A1:C1"), QStringLiteral("A7:C7")}));
    // "3,000,000.00" needs 13 characters; the title and 结余 run over their merged rows.
    EXPECT_GE((*read)[QStringLiteral("widths")].toObject()[QStringLiteral("C")].toDouble(), 13);
    EXPECT_FALSE((*read)[QStringLiteral("widths")].toObject().contains(QStringLiteral("A")));
}

TEST(XlsxWriter, ReportsWhatCannotBeWritten) {
    Workbook wb;
    wb.setValue(1, 1, QStringLiteral("x"));
    XlsxWriter writer;
    EXPECT_FALSE(writer.write(wb, QStringLiteral("/nonexistent-folder/a.xlsx")));
    EXPECT_TRUE(writer.errorString().contains(QStringLiteral("/nonexistent-folder/a.xlsx")));

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(writer.write(wb, &buffer));
    EXPECT_TRUE(buffer.data().startsWith("PK"));  // a zip container, as .xlsx files are
}

}  // namespace
