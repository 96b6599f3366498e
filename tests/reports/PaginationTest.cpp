#include <gtest/gtest.h>

#include "reports/Pagination.h"
#include "reports/PrintLayout.h"

using namespace cw;

namespace {

// n income rows of 1.01, 2.01, 3.01 … like the income query feeds its printed report.
ReportTable incomeRows(int n) {
    ReportTable t({{Field::IDate, QStringLiteral("日期"), ColumnKind::Date},
                   {Field::IName, QStringLiteral("收入类别")},
                   {Field::IMoney, QStringLiteral("金额"), ColumnKind::Money, 20, true},
                   {Field::AName, QStringLiteral("账户名称")},
                   {Field::FName, QStringLiteral("家庭成员")},
                   {Field::Remark, QStringLiteral("备注")}});
    for (int i = 1; i <= n; ++i) {
        t.addRow({QStringLiteral("2024-01-05"), QStringLiteral("工资"), i + 0.01,
                  QStringLiteral("钱包"), QStringLiteral("爸爸"), QString()},
                 100 + i);
    }
    return t;
}

double sumOf(int first, int last) {  // rows first..last, 1-based
    double s = 0;
    for (int i = first; i <= last; ++i) s += i + 0.01;
    return s;
}

// 45 rows over two landscape pages: each page foot sums its own rows, the footer all 45.
TEST(Pagination, FortyFiveRowsOverTwoPages) {
    const PrintLayout& layout = PrintLayout::named(QStringLiteral("Print/theSR.rf3"));
    const ReportTable t = incomeRows(45);
    const BandMetrics m = BandMetrics::a4(true);
    const Pagination p = Pagination::paginate(t, layout, m);
    const int per = Pagination::rowsPerPage(layout, m);
    ASSERT_LT(per, 45);
    ASSERT_GE(2 * per, 45);
    ASSERT_EQ(p.pages.size(), 2u);
    EXPECT_EQ(p.pages[0].firstRow, 0);
    EXPECT_EQ(p.pages[0].rowCount, per);
    EXPECT_EQ(p.pages[1].firstRow, per);
    EXPECT_EQ(p.pages[1].rowCount, 45 - per);
    EXPECT_NEAR(p.pages[0].sums.at(0), sumOf(1, per), 1e-9);
    EXPECT_NEAR(p.pages[1].sums.at(0), sumOf(per + 1, 45), 1e-9);
    EXPECT_FALSE(p.pages[0].footer);
    EXPECT_TRUE(p.pages[1].footer);
    EXPECT_EQ(p.rowCount, 45);
    EXPECT_NEAR(p.totals.at(0), sumOf(1, 45), 1e-9);
    EXPECT_NEAR(p.totals[0], p.pages[0].sums[0] + p.pages[1].sums[0], 1e-9);
}

// A last page filled to the brim leaves no room for the footer: it gets a page of its own,
// whose page footer counts 0 rows.
TEST(Pagination, FooterMovesToAPageOfItsOwn) {
    const PrintLayout& layout = PrintLayout::named(QStringLiteral("Print/theSR.rf3"));
    const BandMetrics m = BandMetrics::a4(true);
    const int per = Pagination::rowsPerPage(layout, m);
    const Pagination p = Pagination::paginate(incomeRows(per), layout, m);
    ASSERT_EQ(p.pages.size(), 2u);
    EXPECT_EQ(p.pages[1].rowCount, 0);
    EXPECT_EQ(p.pages[1].sums.at(0), 0);
    EXPECT_TRUE(p.pages[1].footer);
    EXPECT_NEAR(p.totals.at(0), sumOf(1, per), 1e-9);
}

TEST(Pagination, EmptyReportIsOnePageWithItsFooter) {
    const PrintLayout& layout = PrintLayout::named(QStringLiteral("Print/theSR.rf3"));
    const Pagination p = Pagination::paginate(incomeRows(0), layout, BandMetrics::a4(true));
    ASSERT_EQ(p.pages.size(), 1u);
    EXPECT_EQ(p.pages[0].rowCount, 0);
    EXPECT_TRUE(p.pages[0].footer);
    EXPECT_EQ(p.rowCount, 0);
    EXPECT_EQ(p.totals.at(0), 0);
}

// Portrait pages hold more rows; the notes have no footers, so their pages hold more still.
TEST(Pagination, PageRoomFollowsOrientationAndFooters) {
    const PrintLayout& monthly = PrintLayout::named(QStringLiteral("Print/theSZ_M.rf3"));
    const PrintLayout& income = PrintLayout::named(QStringLiteral("Print/theSR.rf3"));
    const PrintLayout& notes = PrintLayout::named(QStringLiteral("Print/theJS.rf3"));
    EXPECT_FALSE(monthly.landscape);
    EXPECT_GT(Pagination::rowsPerPage(monthly, BandMetrics::a4(false)),
              Pagination::rowsPerPage(income, BandMetrics::a4(true)));
    EXPECT_GT(Pagination::rowsPerPage(notes, BandMetrics::a4(true)),
              Pagination::rowsPerPage(income, BandMetrics::a4(true)));
}

// Counts sum as whole numbers, money in cents: 0.1 added a thousand times is 100.00.
TEST(Pagination, SumsInCentsAndCounts) {
    ReportTable t({{Field::theDate, QStringLiteral("月份"), ColumnKind::Date},
                   {Field::theSM, QStringLiteral("收入金额"), ColumnKind::Money, 20, true},
                   {Field::theSC, QStringLiteral("收入笔数"), ColumnKind::Count, 20, true},
                   {Field::theZM, QStringLiteral("支出金额"), ColumnKind::Money, 20, true},
                   {Field::theZC, QStringLiteral("支出笔数"), ColumnKind::Count, 20, true},
                   {Field::theJY, QStringLiteral("结余金额"), ColumnKind::Money, 20, true},
                   {Field::theBC, QStringLiteral("支出占收入"), ColumnKind::Ratio}});
    for (int i = 0; i < 1000; ++i) {
        t.addRow({QStringLiteral("2024-01"), 0.1, qint64(2), 0.0, qint64(0), 0.1, 0.0}, i + 1);
    }
    BandMetrics m = BandMetrics::a4(false);
    m.pageHeightMm = 1e6;  // one page
    const Pagination p =
        Pagination::paginate(t, PrintLayout::named(QStringLiteral("Print/theSZ_M.rf3")), m);
    ASSERT_EQ(p.pages.size(), 1u);
    EXPECT_EQ(p.pages[0].sums, (std::vector<double>{100, 2000, 0, 0, 100}));
    EXPECT_EQ(p.totals, (std::vector<double>{100, 2000, 0, 0, 100}));
}

// Each row of one piece of the given height.
std::vector<std::vector<double>> onePiece(const std::vector<double>& heights) {
    std::vector<std::vector<double>> pieces;
    for (double h : heights) pieces.push_back({h});
    return pieces;
}

// Rows of different heights (wrapped text): a page takes rows while their heights fit, a row
// that fits a page is never split, and each page foot still sums exactly the rows on that page.
TEST(Pagination, VariableRowHeightsKeepPageSums) {
    const PrintLayout& layout = PrintLayout::named(QStringLiteral("Print/theSR.rf3"));
    const BandMetrics m = BandMetrics::a4(true);
    const double room = Pagination::rowRoomMm(layout, m);
    const ReportTable t = incomeRows(30);
    std::vector<double> heights(30, m.rowMm);
    heights[2] = room - 2 * m.rowMm;  // rows 1-3 fill page one to the brim
    heights[3] = 3 * m.rowMm;         // row 4 opens page two
    heights[10] = room;               // a page of its own
    const Pagination p = Pagination::paginate(t, layout, m, onePiece(heights));
    ASSERT_GE(p.pages.size(), 4u);
    EXPECT_EQ(p.pages[0].firstRow, 0);
    EXPECT_EQ(p.pages[0].rowCount, 3);
    EXPECT_EQ(p.pages[1].firstRow, 3);
    EXPECT_EQ(p.pages[1].rowCount, 7);  // rows 4-10
    EXPECT_EQ(p.pages[2].firstRow, 10);
    EXPECT_EQ(p.pages[2].rowCount, 1);
    EXPECT_EQ(p.pages[3].firstRow, 11);
    int rows = 0;
    double sums = 0;
    for (const Pagination::Page& page : p.pages) {
        EXPECT_EQ(page.firstRow, rows);
        EXPECT_EQ(page.continuedRow, -1);
        EXPECT_NEAR(page.sums.at(0), page.rowCount ? sumOf(rows + 1, rows + page.rowCount) : 0,
                    1e-9);
        rows += page.rowCount;
        sums += page.sums[0];
    }
    EXPECT_EQ(rows, 30);
    EXPECT_NEAR(p.totals.at(0), sums, 1e-9);
    EXPECT_NEAR(p.totals[0], sumOf(1, 30), 1e-9);
    EXPECT_TRUE(p.pages.back().footer);
}

// A row taller than a page: its first piece opens a page, each further piece tops the next,
// the row after it follows its last piece, and it counts and sums once, where it begins. A
// piece given taller than the room is cut at the room.
TEST(Pagination, TallRowContinuesAndCountsOnce) {
    const PrintLayout& layout = PrintLayout::named(QStringLiteral("Print/theSR.rf3"));
    const BandMetrics m = BandMetrics::a4(true);
    const double room = Pagination::rowRoomMm(layout, m);
    for (const std::vector<double>& tall :
         {std::vector<double>{room - 1, room - 2, 10}, std::vector<double>{2 * room + 10}}) {
        const Pagination p = Pagination::paginate(incomeRows(3), layout, m, {{6}, tall, {6}});
        ASSERT_EQ(p.pages.size(), 4u);
        const auto page = [&](size_t i) {
            const Pagination::Page& g = p.pages[i];
            return std::vector<double>{double(g.firstRow),     double(g.rowCount),
                                       double(g.continuedRow), double(g.continuedPiece),
                                       g.sums.at(0),           double(g.footer)};
        };
        EXPECT_EQ(page(0), (std::vector<double>{0, 1, -1, 0, 1.01, 0}));
        EXPECT_EQ(page(1), (std::vector<double>{1, 1, -1, 0, 2.01, 0}));
        EXPECT_EQ(page(2), (std::vector<double>{2, 0, 1, 1, 0, 0}));
        EXPECT_EQ(page(3), (std::vector<double>{2, 1, 1, 2, 3.01, 1}));
        EXPECT_NEAR(p.totals.at(0), 6.03, 1e-9);
    }
}

// Heights equal to the usual row height page exactly as no heights at all.
TEST(Pagination, EqualHeightsPageAsTheUsualRows) {
    const PrintLayout& layout = PrintLayout::named(QStringLiteral("Print/theSR.rf3"));
    const BandMetrics m = BandMetrics::a4(true);
    for (int n : {1, Pagination::rowsPerPage(layout, m), 100}) {
        const ReportTable t = incomeRows(n);
        const Pagination a = Pagination::paginate(t, layout, m);
        const Pagination b =
            Pagination::paginate(t, layout, m, onePiece(std::vector<double>(size_t(n), m.rowMm)));
        ASSERT_EQ(a.pages.size(), b.pages.size()) << n;
        for (size_t i = 0; i < a.pages.size(); ++i) {
            EXPECT_EQ(a.pages[i].firstRow, b.pages[i].firstRow);
            EXPECT_EQ(a.pages[i].rowCount, b.pages[i].rowCount);
            EXPECT_EQ(a.pages[i].footer, b.pages[i].footer);
        }
    }
}

// The footer needs room under the last, tall row too.
TEST(Pagination, FooterAfterATallLastRow) {
    const PrintLayout& layout = PrintLayout::named(QStringLiteral("Print/theSR.rf3"));
    const BandMetrics m = BandMetrics::a4(true);
    const double room = Pagination::rowRoomMm(layout, m);
    const Pagination p = Pagination::paginate(incomeRows(2), layout, m,
                                              {{m.rowMm}, {room - m.rowMm - m.footerMm / 2}});
    ASSERT_EQ(p.pages.size(), 2u);
    EXPECT_EQ(p.pages[0].rowCount, 2);
    EXPECT_EQ(p.pages[1].rowCount, 0);
    EXPECT_TRUE(p.pages[1].footer);
}

}  // namespace
