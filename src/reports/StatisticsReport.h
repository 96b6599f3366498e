#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "reports/ReportDefinition.h"
#include "reports/ReportTable.h"

namespace cw {

class Database;
class Workbook;

// Grouped totals of postings, shared by the statistics tables (收支统计表, 债务债权统计表) and
// the analysis charts (收入分析, 支出分析).
//
// A dimension is picked from a fixed list and mapped here to a column; the text never
// reaches the SQL, so a dimension the screens do not offer is refused with a message.
// Dates are grouped by the date column itself, which the date index delivers in order, and
// then folded into months or years: a grouping on a month text would sort every posting.
class StatisticsReport {
  public:
    enum class Dimension { Category, Account, Member, Day, Month, Year };
    enum class Order { None, AmountDesc, AmountAsc, CountDesc, CountAsc, NameDesc, NameAsc };

    // One group: its label ("工资", "2024-03"), how many postings, their sum in cents.
    struct Group {
        QString label;
        qint64 count = 0;
        qint64 cents = 0;
    };

    // Which postings, and how they are grouped.
    struct Source {
        QString table;        // InTable
        QString dateColumn;   // IDate
        QString moneyColumn;  // IMoney
        QString nameColumn;   // IName: the category column
    };
    static Source income();
    static Source expense();

    // The groups in ascending label order. The filter's dates apply when datesTicked; its
    // Account, Member and Category filters narrow the postings.
    static std::vector<Group> groups(Database& db, const QString& book, const Source& source,
                                     Dimension dimension, const ReportFilter& filter);
    // Debts by creditor (Borrow, BPro, BMoney: what is still owed) or credits by debtor.
    static std::vector<Group> outstanding(Database& db, const QString& book, bool debts,
                                          const ReportFilter& filter);
    static void sort(std::vector<Group>& groups, Order order);

    // ---- 收支统计表 and 债务债权统计表 ----
    static QString unknownDimensionMessage() { return QStringLiteral("统计的项选择错误！"); }
    // The items of the dimension and sort boxes, in screen order.
    static QStringList dimensionItems();
    static QStringList orderItems();
    // The income and expense column titles of a dimension item: 收入名称/支出名称, 月份 ….
    static QStringList columnTitles(const QString& item);

    // One table of both sides: Side (收入/支出), Item, Count, Amount. The filter's Dimension
    // and Sort carry the items of the boxes (Sort absent: no order, groups ascending).
    static ReportOutcome runInOut(Database& db, const QString& book, const ReportFilter& filter);
    // Side (债务/债权), Item, Count, Amount, each side largest first.
    static ReportOutcome runDebtCredit(Database& db, const QString& book,
                                       const ReportFilter& filter);
    // One side of a two-sided table under the screen's titles, with its 合计 line.
    static ReportTable side(const ReportTable& all, const QString& sideName,
                            const QString& itemTitle, const QString& amountTitle);

    // The workbooks of the two screens' Excel buttons.
    static Workbook inOutWorkbook(Database& db, const QString& book, const ReportFilter& filter,
                                  const ReportTable& table);
    static Workbook debtCreditWorkbook(const QString& book, const ReportFilter& filter,
                                       const ReportTable& table);

    // The balance of an account after the last journal entry up to and including a date; 0
    // when there is none.
    static double balanceAt(Database& db, const QString& book, const QString& account,
                            const QString& date);

    static ReportDefinition inOutDefinition();
    static ReportDefinition debtCreditDefinition();
};

}  // namespace cw
