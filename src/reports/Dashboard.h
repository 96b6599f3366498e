#pragma once

#include <QString>
#include <QVector>
#include <utility>

namespace cw {

class TfrmDM;

// The money of the open book as the main window shows it: funds, liabilities, net funds,
// and the income/expense summary of the status bar. With no book open everything is 0.
struct Dashboard {
    double cash = 0;        // 现金
    double bank = 0;        // 银行卡
    double eAccount = 0;    // 电子账户
    double other = 0;       // 其它
    double investment = 0;  // 投资: outstanding principal
    double credit = 0;      // 债权: still to collect
    double debt = 0;        // 债务: shown negative
    double creditCard = 0;  // 信用卡
    double income = 0;
    double expense = 0;

    double funds() const { return cash + bank + credit + investment + eAccount + other; }
    double liabilities() const { return debt + creditCard; }
    double net() const { return funds() + liabilities(); }
    double balance() const { return income - expense; }
    // Expense as a percentage of income (150 when expense is one and a half times income);
    // 0 when there is no income.
    double share() const;

    // "收入：… 支出：… 结余：… 支出占收入：…%"
    QString statusText() const;
    // Every figure by its caption, in the order the main window shows them.
    QVector<std::pair<QString, double>> figures() const;

    static Dashboard compute(TfrmDM& dm);
};

}  // namespace cw
