#include <gtest/gtest.h>

#include "import/SheetRows.h"

namespace {

using cw::SheetRows;

// Only the cells holding something are kept, in column order; kept texts stay shared with what
// the reader handed over, copied ones read back the same; blank rows and the header row are
// not rows.
TEST(SheetRowsTest, KeepsCellsSparseAndTextsShared) {
    SheetRows sheet;
    sheet.add(1, {QStringLiteral("日期"), QString(), QStringLiteral("金额")});
    sheet.add(2, {QStringLiteral(" "), QString()});
    const QString remark = QStringLiteral("年终奖");
    sheet.addCell(16383, sheet.keep(remark));
    sheet.addCell(2, sheet.copy(u"12.5"));
    sheet.addCell(0, sheet.copy(u"2026-12-09"));
    sheet.addCell(2, sheet.copy(u"13"));  // given twice: the last one counts
    sheet.endRow(5);

    EXPECT_EQ(sheet.header,
              QStringList({QStringLiteral("日期"), QString(), QStringLiteral("金额")}));
    ASSERT_EQ(sheet.rowCount(), 1u);
    EXPECT_EQ(sheet.rowNumber(0), 5);
    EXPECT_EQ(sheet.cellCount(), 3);
    EXPECT_EQ(sheet.text(0, 0), QStringLiteral("2026-12-09"));
    EXPECT_EQ(sheet.text(0, 2), QStringLiteral("13"));
    EXPECT_EQ(sheet.text(0, 1), QString());
    EXPECT_EQ(sheet.text(0, 16383).constData(), remark.constData());
    EXPECT_EQ(sheet.row(0).size(), 16384);
    EXPECT_EQ(sheet.row(0).value(2), QStringLiteral("13"));
}

}  // namespace
