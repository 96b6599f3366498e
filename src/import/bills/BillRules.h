#pragma once

#include <QString>
#include <QStringList>

#include "import/bills/BillReader.h"

namespace cw {

// What a bookkeeper reads into a payment app's words: which account type a payment method
// names, which rows are moves between the household's own accounts, and which of the book's
// categories an app category or a counterparty most likely means.
class BillRules {
  public:
    // The account type a name shows: 信用卡 for credit cards and credit wallets (花呗, 白条),
    // 电子账户 for app wallets (零钱, 零钱通, 余额, 余额宝), 银行卡 for bank cards, 其它 for
    // funds, else 现金.
    static QString accountType(const QString& name);
    // The wallet a payment method names, one name per wallet: WeChat's "/" and empty method
    // are 零钱, Alipay's empty method and 账户余额 are 余额.
    static QString walletOf(const QString& method, Bill::Source source);
    // Whether the row moves money between two of the household's accounts (a wallet top-up or
    // withdrawal, 零钱通, 余额宝, a credit card repaid, a fund bought); *from and *to get the
    // two methods, as walletOf names them.
    static bool transfer(const BillRow& row, Bill::Source source, QString* from, QString* to);
    // The categories the row's app category or counterparty suggests, likeliest first.
    static QStringList categories(const BillRow& row, BillRow::Direction kind);
    // The categories a service fee is booked under, likeliest first.
    static const QStringList& feeCategories();
};

}  // namespace cw
