#include <gtest/gtest.h>

#include "import/SheetRows.h"
#include "import/SpreadsheetReader.h"

namespace {

using cw::SheetRows;

// A large sheet is held as its rows: each kept at its size, its texts shared with what the
// reader handed over rather than copied.
TEST(SheetRowsTest, KeepsEachRowAtItsSizeAndSharesItsTexts) {
    SheetRows sheet;
    QStringList cells;
    cells.reserve(32);  // as a reader's row buffer grows
    cells << QStringLiteral("日期") << QStringLiteral("金额");
    sheet.add(1, cells);
    sheet.add(2, {QStringLiteral(" "), QString()});  // blank: left out
    cells.clear();
    cells << QStringLiteral("2026-12-09") << QStringLiteral("12.5") << QString();
    sheet.add(3, cells);
    cells[0] = QStringLiteral("changed afterwards");

    EXPECT_EQ(sheet.header, QStringList({QStringLiteral("日期"), QStringLiteral("金额")}));
    ASSERT_EQ(sheet.rows.size(), 1u);
    EXPECT_EQ(sheet.rowNumbers, std::vector<int>{3});
    EXPECT_EQ(sheet.rows[0],
              QStringList({QStringLiteral("2026-12-09"), QStringLiteral("12.5"), QString()}));
    EXPECT_EQ(sheet.rows[0].capacity(), sheet.rows[0].size());
    EXPECT_EQ(sheet.header.capacity(), sheet.header.size());
    EXPECT_EQ(sheet.rows[0][1].constData(), cells[1].constData());

    const SheetRows read = cw::SpreadsheetReader::read(
        QStringLiteral(COINWICK_SOURCE_DIR "/tests/data/import/income.xlsx"));
    ASSERT_FALSE(read.rows.empty());
    for (const QStringList& row : read.rows) EXPECT_EQ(row.capacity(), row.size());
}

}  // namespace
