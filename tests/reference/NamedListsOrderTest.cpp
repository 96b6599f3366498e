#include <gtest/gtest.h>

#include <functional>

#include "reference/ReferenceList.h"
#include "reports/MonthCategoryReport.h"
#include "reports/QueryReports.h"
#include "reports/StatisticsReport.h"
#include "support/TempDataFile.h"

using namespace cw;

namespace {

using Listing = std::function<QStringList()>;

// Code points run 赡 < 补 < 网 < 经; pinyin runs bu, jing, shan, wang.
const QStringList kEntered{"赡养费", "补助津贴", "网银", "经营所得"};
const QStringList kPinyin{"补助津贴", "经营所得", "赡养费", "网银"};

class NamedLists : public ::testing::Test {
  protected:
    void SetUp() override {
        f.addBook(QStringLiteral("我家账簿"));
        for (const QString& n : kEntered) {
            for (const char* t : {"InD:IName", "OutD:OName", "TD:TName", "PD:PName"}) {
                const QStringList tc = QString::fromLatin1(t).split(':');
                f.dm().mySaveNew(tc[0], tc[1], n);
            }
            f.dm().NewFamily(n);
            f.addAccount(n, 0, n);
            f.db().exec(QStringLiteral("INSERT INTO InTable(BName, IDate, IName, IMoney, AName, "
                                       "FName) VALUES(?, '2026-12-01', ?, 10, ?, ?)"),
                        f.state().myBName, n, n, n);
        }
    }

    // A column of a statement's rows, by its title.
    QStringList column(const QString& sql, const QString& title) {
        const Query q = f.db().query(sql, f.state().myBName);
        QStringList names;
        for (int r = 0; r < q.recordCount(); ++r) {
            names << q.value(r, q.columnIndex(title)).toString();
        }
        return names;
    }

    QStringList groups(StatisticsReport::Dimension d, StatisticsReport::Order order) {
        ReportFilter all;
        all.datesTicked = false;
        auto gs =
            StatisticsReport::groups(f.db(), f.state().myBName, StatisticsReport::income(), d, all);
        StatisticsReport::sort(gs, order);
        QStringList labels;
        for (const auto& g : gs) labels << g.label;
        return labels;
    }

    test::TempDataFile f;
};

}  // namespace

// Every list, drop-down and report that sorts by name, in one catalogue: each gives the four
// names in pinyin order; those that follow the book's sort code give them reversed under 4.
TEST_F(NamedLists, EveryNameOrderIsPinyin) {
    std::vector<std::pair<QString, Listing>> byBookCode;
    for (auto fill : {&TfrmDM::ComInType, &TfrmDM::ComOutType, &TfrmDM::ComTZType,
                      &TfrmDM::ComPType, &TfrmDM::ComAccount, &TfrmDM::ComFamily}) {
        byBookCode.push_back({"drop-down", [this, fill] { return (f.dm().*fill)(); }});
    }
    for (int k = 0; k < ReferenceList::KindCount; ++k) {
        const ReferenceList& l = ReferenceList::of(ReferenceList::Kind(k));
        if (!l.ordered) continue;
        byBookCode.push_back({"manager " + l.table,
                              [this, &l] { return column(l.listSql(f.state().myPX), l.label); }});
    }
    QStringList reversed = kPinyin;
    std::reverse(reversed.begin(), reversed.end());
    for (const QString px : {"2", "4"}) {
        f.state().myPX = px;
        for (const auto& [what, names] : byBookCode) {
            EXPECT_EQ(names(), px == "2" ? kPinyin : reversed)
                << what.toStdString() << " " << px.toStdString();
        }
    }

    const QueryDefinition* in = QueryReports::byCliName(QStringLiteral("in"));
    const std::vector<std::pair<QString, Listing>> reports{
        {"statistics by category",
         [&] { return groups(StatisticsReport::Dimension::Category, {}); }},
        {"statistics by member in name order",
         [&] {
             return groups(StatisticsReport::Dimension::Member, StatisticsReport::Order::NameAsc);
         }},
        {"income query by category",
         [&] {
             ReportFilter all;
             all.datesTicked = false;
             const ReportTable t =
                 in->run(f.db(), f.state().myBName, all, {in->sortItems.value(1), false}).table;
             QStringList names;
             for (int r = 0; r < t.rowCount(); ++r) names << t.text(r, Field::IName);
             return names;
         }},
        {"income by month and category",
         [&] {
             const Workbook wb = MonthCategoryReport::build(f.db(), f.state().myBName,
                                                            MonthCategoryReport::all().front());
             return QStringList{wb.text(2, 3), wb.text(2, 4), wb.text(2, 5), wb.text(2, 6)};
         }},
    };
    for (const auto& [what, names] : reports) EXPECT_EQ(names(), kPinyin) << what.toStdString();
}
