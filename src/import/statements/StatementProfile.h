#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace cw {

class Database;

// How a bank's or card's statement lays out its rows: which columns hold the date, the money,
// the counterparty, the remark and the balance, named by the texts of the statement's header
// row. The header row is found wherever the statement's preamble ends, so a profile needs no
// count of lines to skip, and a statement is recognised as a profile's when one of its first
// rows holds every header the profile names.
struct StatementProfile {
    // How a row gives its money.
    enum class Amounts {
        Signed,  // one amount column, money in positive (money out positive with positiveIsExpense)
        Split,  // one column for money in and one for money out (收入/支出, 贷方/借方, 存入/支取)
        Marked,  // one amount column and a column whose text says which way (借/贷, 收/支)
    };
    QString name;
    Amounts amounts = Amounts::Signed;
    QString date;        // the day, or the day and time
    QString time;        // a separate time column, when the statement has one
    QString amount;      // Signed and Marked
    QString income;      // Split
    QString expense;     // Split
    QString mark;        // Marked: the column saying which way
    QString incomeMark;  // Marked: a text whose presence in it means money in ("贷", "收入", "C")
    // Card statements list spending as positive amounts and repayments as negative ones.
    bool positiveIsExpense = false;
    QString counterparty;
    QString counterpartyAccount;
    // Joined with a space into the posting's remark (摘要, 附言, 用途…).
    QStringList remarks;
    QString balance;
    // One of the profiles the program ships (read-only), rather than the user's.
    bool shipped = false;

    // Every header the profile names; a statement is the profile's when one row holds all.
    QStringList headers() const;
    // Whether it names a date and the money's columns; *why says what is missing
    // ("请选择日期列！").
    bool usable(QString* why = nullptr) const;
};

// The profiles the program ships for the large banks' statement layouts, and the ones the
// user made, kept in the data file for every book.
class StatementProfiles {
  public:
    static const std::vector<StatementProfile>& shipped();
    // The user's, by name.
    static std::vector<StatementProfile> saved(Database& db);
    // The user's first (so a user's own mapping of a bank's layout wins), then the shipped ones.
    static std::vector<StatementProfile> all(Database& db);
    // Keeps a profile of the user's, replacing one of the same name. A shipped profile's name
    // is refused (SheetError "已有同名的内置格式：…").
    static void save(Database& db, const StatementProfile& profile);
    static void remove(Database& db, const QString& name);
    static const StatementProfile* byName(const std::vector<StatementProfile>& profiles,
                                          const QString& name);

    // Rows searched for a header row.
    static constexpr size_t kHeaderSearch = 40;
    struct Match {
        int profile = -1;  // index into the profiles searched; -1 when none matched
        size_t headerRow = 0;
    };
    // The first profile whose headers one of the first kHeaderSearch rows holds.
    static Match recognise(const std::vector<StatementProfile>& profiles,
                           const std::vector<QStringList>& rows);
    // The row likeliest to be the header (the first with a date-like and a money-like header
    // word), for the mapping window to start from; 0 when none looks like one.
    static size_t guessHeaderRow(const std::vector<QStringList>& rows);
    // A profile proposed from a header row's words (交易日期, 收入金额, 支出金额, 余额, 对方户名,
    // 摘要…), for the user to confirm; columns it cannot place are left empty.
    static StatementProfile guess(const QStringList& header);
};

}  // namespace cw
