#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QTemporaryDir>
#include <cmath>

#include "reports/ExportLayout.h"
#include "reports/SpreadsheetExport.h"
#include "reports/XlsxWriter.h"
#include "support/FieldKinds.h"
#include "support/XlsxRead.h"

using namespace cw;
using cw::test::kindOf;

namespace {

// Three rows carrying every field the layout names: texts "名r", money r × 1000.5, counts r.
ReportTable tableFor(const ExportLayout& layout) {
    std::vector<ReportColumn> cols;
    for (const ExportLayout::Column& c : layout.columns) {
        cols.push_back({c.field, QStringLiteral("列%1").arg(cols.size()), kindOf(c.field)});
    }
    ReportTable t(cols);
    for (int r = 1; r <= 3; ++r) {
        std::vector<QVariant> values;
        for (const ReportColumn& c : cols) {
            switch (c.kind) {
                case ColumnKind::Money:
                    values.emplace_back(r * 1000.5);
                    break;
                case ColumnKind::Count:
                    values.emplace_back(qint64(r));
                    break;
                case ColumnKind::Ratio:
                    values.emplace_back(r / 4.0);
                    break;
                case ColumnKind::Date:
                    values.emplace_back(QStringLiteral("2024-01-0%1").arg(r));
                    break;
                default:
                    values.emplace_back(QStringLiteral("名%1").arg(r));
            }
        }
        t.addRow(values, r);
    }
    return t;
}

QJsonObject cell(const QJsonObject& book, const QString& ref) {
    return book[QStringLiteral("cells")].toObject()[ref].toObject();
}

class ExportLayouts : public ::testing::TestWithParam<int> {};

// Every screen's layout, written and read back by an independent reader: the title with its
// range note, the merged and styled title row, headers, widths, typed cells, the totals row,
// borders and page set-up.
TEST_P(ExportLayouts, WorkbookReadsBackAsLaidOut) {
    const ExportLayout& layout = ExportLayout::all()[size_t(GetParam())];
    SCOPED_TRACE(layout.screen.toStdString());
    const ReportTable table = tableFor(layout);
    const Workbook wb = SpreadsheetExport::build(
        layout, table, {QStringLiteral("家庭"), QDate(2024, 1, 1), QDate(2024, 1, 31)});
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.xlsx"));
    XlsxWriter writer;
    ASSERT_TRUE(writer.write(wb, path)) << writer.errorString().toStdString();
    const auto read = test::readXlsx(path);
    if (!read) GTEST_SKIP() << test::kNoXlsxReader;
    const QJsonObject& book = *read;

    const QString name = QStringLiteral("家庭") + layout.suffix;
    const QString note =
        layout.rangeNote ? QStringLiteral("（2024-01-01至2024-01-31）") : QString();
    EXPECT_EQ(book[QStringLiteral("title")].toString(), name);
    EXPECT_EQ(cell(book, QStringLiteral("A1"))[QStringLiteral("value")].toString(), name + note);

    const QString last = layout.lastLetter();
    const int lastRow = layout.totalsRow ? 6 : 5;
    const QJsonObject widths = book[QStringLiteral("widths")].toObject();
    const QJsonArray merges = book[QStringLiteral("merges")].toArray();
    if (layout.reduced) {
        EXPECT_TRUE(merges.isEmpty());
        EXPECT_FALSE(widths.contains(QStringLiteral("A")));
        EXPECT_FALSE(cell(book, QStringLiteral("A2"))[QStringLiteral("border")].toBool());
    } else {
        ASSERT_EQ(merges.size(), 1);
        EXPECT_EQ(merges[0].toString(), QStringLiteral("A1:") + last + QStringLiteral("1"));
        const QJsonObject a1 = cell(book, QStringLiteral("A1"));
        EXPECT_EQ(a1[QStringLiteral("font")].toString(), QStringLiteral("宋体"));
        EXPECT_EQ(a1[QStringLiteral("size")].toDouble(), 16);
        EXPECT_TRUE(a1[QStringLiteral("bold")].toBool());
        EXPECT_TRUE(a1[QStringLiteral("hcentre")].toBool() &&
                    a1[QStringLiteral("vcentre")].toBool());
        const QJsonObject h = cell(book, last + QStringLiteral("2"));
        EXPECT_EQ(h[QStringLiteral("size")].toDouble(), 12);
        EXPECT_TRUE(h[QStringLiteral("hcentre")].toBool());
        // The layout's widths at least; a header or value that needs more widens its column.
        EXPECT_GE(std::floor(widths[QStringLiteral("A")].toDouble()), layout.firstWidth);
        for (size_t i = 0; i < layout.columns.size(); ++i) {
            const QString col = Workbook::columnLetters(int(i) + 2);
            EXPECT_GE(std::floor(widths[col].toDouble()), layout.columns[i].width)
                << col.toStdString();
        }
        EXPECT_TRUE(cell(book, QStringLiteral("A2"))[QStringLiteral("border")].toBool());
        EXPECT_TRUE(cell(book, last + QString::number(lastRow))[QStringLiteral("border")].toBool());
        EXPECT_FALSE(cell(book, QStringLiteral("A1"))[QStringLiteral("border")].toBool());
    }

    EXPECT_EQ(cell(book, QStringLiteral("A2"))[QStringLiteral("value")].toString(),
              QStringLiteral("序号"));
    for (size_t i = 0; i < layout.columns.size(); ++i) {
        const ExportLayout::Column& c = layout.columns[i];
        const QString ref = Workbook::columnLetters(int(i) + 2);
        const QString header = c.header.isEmpty() ? table.column(int(i)).title : c.header;
        EXPECT_EQ(cell(book, ref + QStringLiteral("2"))[QStringLiteral("value")].toString(),
                  header);
        const QJsonObject v = cell(book, ref + QStringLiteral("4"));
        const ColumnKind kind = kindOf(c.field);
        EXPECT_EQ(v[QStringLiteral("type")].toString(),
                  ReportTable::isNumeric(kind) ? QStringLiteral("n") : QStringLiteral("s"))
            << ref.toStdString();
        if (kind == ColumnKind::Money) {
            EXPECT_DOUBLE_EQ(v[QStringLiteral("value")].toDouble(), 2001);
            EXPECT_EQ(v[QStringLiteral("format")].toString(), QStringLiteral("#,##0.00"));
        }
        if (kind == ColumnKind::Date) {
            EXPECT_EQ(v[QStringLiteral("value")].toString(), QStringLiteral("2024-01-02"));
        }
        EXPECT_EQ(cell(book, ref + QStringLiteral("3"))[QStringLiteral("wrap")].toBool(), c.wrap);
    }
    // The running number is a number: 1, 2, 3.
    EXPECT_EQ(cell(book, QStringLiteral("A5"))[QStringLiteral("value")].toDouble(), 3);
    EXPECT_EQ(cell(book, QStringLiteral("A5"))[QStringLiteral("type")].toString(),
              QStringLiteral("n"));

    if (layout.totalsRow) {
        EXPECT_EQ(cell(book, QStringLiteral("A6"))[QStringLiteral("value")].toString(),
                  QStringLiteral("合计"));
        for (const ExportLayout::Total& t : layout.totals) {
            const QJsonObject v =
                cell(book, Workbook::columnLetters(t.column) + QStringLiteral("6"));
            using Source = ExportLayout::Total::Source;
            if (t.source == Source::RowCount) {
                EXPECT_EQ(v[QStringLiteral("value")].toDouble(), 3);
            } else {
                // The account list's total too is a number that reads 6,003.00.
                const bool count = kindOf(t.field) == ColumnKind::Count;
                EXPECT_EQ(v[QStringLiteral("type")].toString(), QStringLiteral("n"));
                EXPECT_DOUBLE_EQ(v[QStringLiteral("value")].toDouble(), count ? 6 : 6003);
                EXPECT_EQ(v[QStringLiteral("format")].toString(),
                          count ? QStringLiteral("General") : QStringLiteral("#,##0.00"));
            }
        }
    } else {
        EXPECT_EQ(book[QStringLiteral("max_row")].toInt(), 5);
    }

    const QString orientation = book[QStringLiteral("orientation")].toString();
    if (layout.orientation == Workbook::Orientation::Landscape) {
        EXPECT_EQ(orientation, QStringLiteral("landscape"));
    } else if (layout.orientation == Workbook::Orientation::Portrait) {
        EXPECT_EQ(orientation, QStringLiteral("portrait"));
    }
    const QJsonObject margins = book[QStringLiteral("margins")].toObject();
    const double allFour = 300.0 / 7.0 / 72.0;
    const double bottom = 360.0 / 7.0 / 72.0;
    if (layout.margins == ExportLayout::Margins::AllFour) {
        for (const char* side : {"top", "bottom", "left", "right"}) {
            EXPECT_NEAR(margins[QString::fromLatin1(side)].toDouble(), allFour, 1e-6) << side;
        }
    } else if (layout.margins == ExportLayout::Margins::BottomOnly) {
        EXPECT_NEAR(margins[QStringLiteral("bottom")].toDouble(), bottom, 1e-6);
        EXPECT_NEAR(margins[QStringLiteral("top")].toDouble(), 0.75, 1e-6);
    } else {
        EXPECT_NEAR(margins[QStringLiteral("bottom")].toDouble(), 0.75, 1e-6);
    }
    EXPECT_EQ(book[QStringLiteral("footer")].toString(),
              QStringLiteral("Coinwick www.coinwick.cn 共&N页，第&P页"));
}

INSTANTIATE_TEST_SUITE_P(EveryScreen, ExportLayouts,
                         ::testing::Range(0, int(ExportLayout::all().size())));

// Every screen with an "Excel" button has its layout, and the last letter matches its columns.
TEST(ExportLayoutTable, EveryScreenOnce) {
    QStringList screens;
    for (const ExportLayout& l : ExportLayout::all()) screens << l.screen;
    EXPECT_EQ(screens,
              (QStringList{"TfrmPage3", "TfrmP_In", "TfrmP_Out", "TfrmP_A", "TfrmP_B", "TfrmP_D",
                           "TfrmTZ_Qu", "TfrmBR_Q", "TfrmDR_Q", "TfrmTR_Q", "TfrmSZ_M", "TfrmSZ_Y",
                           "TfrmA_Q", "TfrmPlan_V", "TfrmUThing_Q", "TfrmE_I", "TfrmE_O"}));
    EXPECT_EQ(ExportLayout::forScreen(QStringLiteral("TfrmPage3")).lastLetter(),
              QStringLiteral("I"));
    EXPECT_EQ(ExportLayout::forScreen(QStringLiteral("TfrmUThing_Q")).lastLetter(),
              QStringLiteral("E"));
    EXPECT_EQ(ExportLayout::forScreen(QStringLiteral("TfrmA_Q")).lastLetter(), QStringLiteral("F"));
    EXPECT_THROW(ExportLayout::forScreen(QStringLiteral("TfrmNone")), std::out_of_range);
}

// An empty result: title, headers, and a totals row on row 3 with 合计 and a count of 0; the
// borders end there.
TEST(SpreadsheetExport, EmptyResult) {
    const ExportLayout& layout = ExportLayout::forScreen(QStringLiteral("TfrmP_In"));
    ReportTable empty = tableFor(layout);
    empty = ReportTable(empty.columns());
    const Workbook wb = SpreadsheetExport::build(
        layout, empty, {QStringLiteral("家庭"), QDate(2024, 1, 1), QDate(2024, 1, 31)});
    EXPECT_EQ(wb.text(1, 1), QStringLiteral("家庭-收入表（2024-01-01至2024-01-31）"));
    EXPECT_EQ(wb.caption(), QStringLiteral("家庭-收入表"));
    EXPECT_EQ(wb.text(3, 1), QStringLiteral("合计"));
    EXPECT_EQ(wb.value(3, 2).toInt(), 0);
    EXPECT_EQ(wb.text(3, 4), QString());
    EXPECT_EQ(wb.lastRow(), 3);
    EXPECT_TRUE(wb.cells().at((qint64(3) << 16) | 7).style.border);
}

// A layout naming a field its report lacks fails before writing anything.
TEST(SpreadsheetExport, LayoutMustFitItsReport) {
    ReportTable t({{Field::IDate, QStringLiteral("日期"), ColumnKind::Date}});
    EXPECT_THROW(
        SpreadsheetExport::build(ExportLayout::forScreen(QStringLiteral("TfrmP_In")), t, {}),
        std::out_of_range);
}

// The rows are read from the table as the file is written, and the progress follows them.
TEST(SpreadsheetExport, ProgressFollowsTheRowsWritten) {
    const ExportLayout& layout = ExportLayout::forScreen(QStringLiteral("TfrmSZ_M"));
    ReportTable t(tableFor(layout).columns());
    for (int i = 0; i < 450; ++i)
        t.addRow({QStringLiteral("2024-01"), 1.0, qint64(1), 0.0, qint64(0), 1.0, 0.0});
    std::vector<int> seen;
    const Workbook wb = SpreadsheetExport::build(layout, t, {QStringLiteral("我家"), {}, {}},
                                                 [&](int done, int total) {
                                                     EXPECT_EQ(total, 450);
                                                     seen.push_back(done);
                                                 });
    EXPECT_EQ(wb.lastRow(), 453);
    EXPECT_EQ(wb.text(452, 1), QStringLiteral("450"));
    QTemporaryDir dir;
    ASSERT_TRUE(XlsxWriter().write(wb, dir.filePath(QStringLiteral("p.xlsx"))));
    ASSERT_FALSE(seen.empty());
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_EQ(seen.back(), 450);
}

// Large amounts, a long category name and a five-digit running number: each shows whole
// without reformatting, money as numbers under #,##0.00.
TEST(SpreadsheetExport, ColumnsFitWhatTheyHold) {
    const ExportLayout& layout = ExportLayout::forScreen(QStringLiteral("TfrmP_In"));
    ReportTable t(tableFor(layout).columns());
    const auto add = [&](const char* name, double amount) {
        t.addRow({QStringLiteral("2024-01-05"), QString::fromUtf8(name), amount,
                  QStringLiteral("工行"), QStringLiteral("爸爸"), QString()});
    };
    add("工资", 1.5);
    add("年终奖金及各项补贴", 123456789.99);
    const Workbook wb = SpreadsheetExport::build(layout, t, {QStringLiteral("我家"), {}, {}});
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("w.xlsx"));
    ASSERT_TRUE(XlsxWriter().write(wb, path));
    const auto read = test::readXlsx(path);
    if (!read) GTEST_SKIP() << test::kNoXlsxReader;
    const QJsonObject big = cell(*read, QStringLiteral("D4"));
    EXPECT_EQ(big[QStringLiteral("type")].toString(), QStringLiteral("n"));
    EXPECT_DOUBLE_EQ(big[QStringLiteral("value")].toDouble(), 123456789.99);
    EXPECT_EQ(big[QStringLiteral("format")].toString(), QStringLiteral("#,##0.00"));
    EXPECT_EQ(cell(*read, QStringLiteral("D5"))[QStringLiteral("format")].toString(),
              QStringLiteral("#,##0.00"));
    const QJsonObject widths = (*read)[QStringLiteral("widths")].toObject();
    // "123,456,789.99" and its total "123,456,791.49" in 14 characters, 9 CJK in 18.
    EXPECT_GE(widths[QStringLiteral("D")].toDouble(), 15);
    EXPECT_LT(widths[QStringLiteral("D")].toDouble(), 20);
    EXPECT_GE(widths[QStringLiteral("C")].toDouble(), 19);

    for (int i = 0; i < 10000; ++i) add("工资", 1);
    EXPECT_GE(SpreadsheetExport::build(layout, t, {}).fittedWidths().at(1), 6);  // "10002"
}

// Files land in Export/ under the title and the time; a title never leads out of the folder.
TEST(SpreadsheetExport, FileNames) {
    QTemporaryDir dir;
    const QDateTime at(QDate(2024, 5, 6), QTime(7, 8, 9));
    const QString a = SpreadsheetExport::fileFor(dir.path(), QStringLiteral("我家-收支月报表"), at);
    EXPECT_EQ(a, dir.path() + QStringLiteral("/Export/我家-收支月报表_20240506_070809.xlsx"));
    const QString b = SpreadsheetExport::fileFor(dir.path(), QStringLiteral("../a/b:c"), at);
    EXPECT_EQ(QFileInfo(b).dir().path(), dir.path() + QStringLiteral("/Export"));
    EXPECT_FALSE(QFileInfo(b).fileName().contains(QLatin1Char('/')));
    QDir().mkpath(dir.path() + QStringLiteral("/Export"));
    QFile(a).open(QIODevice::WriteOnly);
    EXPECT_EQ(SpreadsheetExport::fileFor(dir.path(), QStringLiteral("我家-收支月报表"), at),
              dir.path() + QStringLiteral("/Export/我家-收支月报表_20240506_070809_2.xlsx"));
}

}  // namespace
