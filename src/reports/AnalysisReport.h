#pragma once

#include <QString>
#include <QStringList>

#include "reports/ReportDefinition.h"

namespace cw {

class Database;

// 收入分析 and 支出分析: the income (expense) of the open book totalled per day, month, year,
// member, category or account, one line per group in ascending order, for the grid and the
// three charts.
class AnalysisReport {
  public:
    enum class Side { Income, Expense };

    // 日收入, 月收入, 年收入, 家庭成员, 收入类别, 账户名称 (支出 on the expense screen).
    static QStringList dimensionItems(Side side);
    static QString defaultItem(Side side) { return dimensionItems(side)[1]; }
    static QString title(Side side);  // 收入分析 / 支出分析

    // Item (统计的项) and Amount (金额), summed. The filter's Dimension carries the item of the
    // box (absent: the default); an item the box does not offer is refused.
    static ReportOutcome run(Database& db, const QString& book, Side side,
                             const ReportFilter& filter);
    // 数量, 合计金额 (nothing after it when there is nothing to sum).
    static QStringList statusTexts(const ReportTable& table);
    static ReportDefinition definition(Side side);
};

// 账户查询: the book's enabled accounts with their kind, member, name, balance and note,
// ordered by kind, member and name, with the count and the balance total.
class AccountQuery {
  public:
    static QStringList kinds();  // 现金, 银行卡, 信用卡, 电子账户, 其它
    // Filters: AccountType (exact), Member, Account, Remark (contained, literally).
    static ReportOutcome run(Database& db, const QString& book, const ReportFilter& filter);
    static QStringList statusTexts(const ReportTable& table);
    static ReportDefinition definition();
};

}  // namespace cw
