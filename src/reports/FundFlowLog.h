#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <optional>

#include "reports/QueryReports.h"
#include "reports/ReportTable.h"

namespace cw {

class Database;

// The fund-flow journal (UList) of one book as the log window 资金流动日志 and the CLI's
// journal and recompute verbs see it: filtered, sorted, totalled, and corrected.
//
// The filter is a ReportFilter: the date range when datesTicked, and the ticked Account,
// Member, Remark (a text inside the note) and Category (the journal's kind, theType). The sort
// is one of sortItems() or none (journal order, by ID). Every value is bound.
//
// Corrections change the journal only, never an account balance or a posting.
class FundFlowLog {
  public:
    // "日期", "收支类别", "账户名称", "本次余额", "家庭成员".
    static QStringList sortItems();
    // " WHERE BName=? AND …" and its bound values.
    struct Where {
        QString sql;
        QVariantList args;
    };
    static Where where(const QString& book, const ReportFilter& filter);
    // " ORDER BY …": the item's column then ID; journal order (ID) when sort is empty; an
    // item not listed sorts by date.
    static QString orderBy(const std::optional<ReportSort>& sort);
    // How a column of the journal sorts: category, account and member are names and sort in
    // pinyin; the others by their values.
    static QString sortTerm(const QString& column);

    // The grid's statement: 日期, 收支类别, 摘要, 收入, 支出, 账户名称, 本次余额, 家庭成员,
    // 事件, ID.
    static QString gridSql(const Where& w, const std::optional<ReportSort>& sort);
    static QString countSql(const Where& w);

    struct Totals {
        qint64 count = 0;
        double in = 0;
        double out = 0;
    };
    static Totals totals(Database& db, const QString& book, const ReportFilter& filter);
    // "记录：", "收入合计：", "支出合计：" (the sums empty when nothing matched).
    static QStringList statusTexts(const Totals& t);

    // The rows as one table (without 事件), for the export and the print.
    static ReportTable table(Database& db, const QString& book, const ReportFilter& filter,
                             const std::optional<ReportSort>& sort);

    // Deletes one entry of the book; returns the rows deleted.
    static int deleteOne(Database& db, const QString& book, qint64 id);
    // Deletes every entry the filter selects (the whole journal of the book with no filter).
    static int deleteMatching(Database& db, const QString& book, const ReportFilter& filter);

    // The edit dialog's fields as typed.
    struct EntryText {
        QDate date;
        QString type;
        QString remark;
        QString in;
        QString out;
        QString account;
        QString member;
    };
    // Writes the entry; an empty amount is 0. Returns the refusal ("收入 不是有效的数字！请重新
    // 录入！"), empty when saved. The entry's balance is left as it was.
    static QString edit(Database& db, const QString& book, qint64 id, const EntryText& entry);

    static QString chooseAccountMessage() { return QStringLiteral("请选择 账户名称！"); }
    // Rewrites the balance column of one account's rows among those the filter selects, in
    // the given order (an orderBy() text), as a running sum from 0: an income adds, an expense
    // subtracts, a row with both left as it is. All in one transaction; a row whose amounts cannot
    // be read stops it with nothing changed (returns the refusal). Returns empty when done; *rows
    // gets the number of rows given a balance (those already right are not written again).
    static QString recompute(Database& db, const QString& book, const QString& account,
                             const ReportFilter& filter, const QString& orderSql,
                             int* rows = nullptr);
    // The CLI's order for a recompute: date, then event order.
    static QString dateOrder() { return QStringLiteral(" ORDER BY theDate, ID"); }
};

}  // namespace cw
