// The bill verb of coinwick-cli:
//   bill FILE [dry-run] [member=NAME] [transfers]
// imports a WeChat Pay or Alipay bill into the open book with the book's remembered mappings,
// as the bill dialog proposes it untouched, and prints the counts as TSV lines: new rows
// booked, rows already imported, rows skipped (neutral, transfers left unticked, refunded,
// closed or failed). dry-run books nothing and lists every row instead, as TSV with a header
// (状态, 日期, 收/支, 金额, 账户, 类别, 备注, 原因), so a script can review the bill first. The
// rows belong to the book's default member unless member= names another (created when the
// book lacks it, as a typed name is). Wallet moves the bill shows (top-ups, withdrawals, card
// repayments) are proposed as transfers and left out unless `transfers` asks for them.
#include "cli/Cli.h"
#include "cli/Tsv.h"
#include "import/bills/BillImport.h"
#include "storage/Money.h"
#include "storage/NameText.h"
#include "storage/TfrmDM.h"

namespace cw {

namespace {

QString billUsage() {
    return QStringLiteral("bill takes FILE [dry-run] [member=NAME] [transfers]");
}

}  // namespace

int Cli::cmdBill(const QStringList& args) {
    bool dryRun = false;
    bool transfers = false;
    QString member;
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("dry-run")) {
            dryRun = true;
        } else if (args[i] == QLatin1String("transfers")) {
            transfers = true;
        } else if (args[i].startsWith(QLatin1String("member=")) && args[i].size() > 7) {
            member = args[i].mid(7);
        } else {
            return usage(billUsage());
        }
    }
    if (args.isEmpty()) return usage(billUsage());
    if (NameText::hasControl(member))
        return refuse(QStringLiteral("家庭成员 不能包含制表符、换行符等控制字符！"));
    if (!openData() || !openBook()) return Refused;

    Bill bill;
    try {
        bill = BillReader::read(args[0]);
    } catch (const SheetError& e) {
        return refuse(e.message());
    }
    return importBill(bill, member, dryRun, transfers);
}

int Cli::importBill(const Bill& bill, const QString& member, bool dryRun, bool transfers) {
    BillImport import(*dm_);
    std::vector<BillImport::Planned> rows = import.plan(bill);
    for (BillImport::Planned& p : rows) {
        if (!member.isEmpty()) p.posting.member = member;
        if (transfers && p.kind == BillRow::Direction::Transfer && !p.fixed()) p.ticked = true;
    }
    if (dryRun) {
        tsv::row(out_, BillImport::reviewHeader());
        for (const BillImport::Planned& p : rows) tsv::row(out_, BillImport::review(p));
        return Done;
    }
    try {
        import.book(rows);
    } catch (const PostingRules::Refused& e) {
        return refuse(e.message());
    }
    const BillImport::Counts c = BillImport::count(rows);
    out_ << QStringLiteral("新增\t%1\n已导入\t%2\n跳过\t%3\n")
                .arg(c.added)
                .arg(c.imported)
                .arg(c.skipped);
    const BillImport::BalanceCheck check = import.balanceCheck(bill);
    if (check.known)
        out_ << QStringLiteral("账单余额\t%1\n账户余额\t%2\n差额\t%3\n")
                    .arg(Money::plain(check.statement), Money::plain(check.book),
                         Money::plain(check.difference()));
    return Done;
}

}  // namespace cw
