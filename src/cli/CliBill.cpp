// The bill verb of coinwick-cli:
//   bill FILE [dry-run]
// imports a WeChat Pay or Alipay bill into the open book with the book's remembered mappings,
// as the bill dialog proposes it untouched, and prints the counts as TSV lines: new rows
// (booked, or that would be under dry-run), rows already imported, rows skipped (neutral,
// refunded, closed or failed).
#include "cli/Cli.h"
#include "import/bills/BillImport.h"
#include "storage/TfrmDM.h"

namespace cw {

int Cli::cmdBill(const QStringList& args) {
    const bool dryRun = args.size() == 2 && args[1] == QLatin1String("dry-run");
    if (args.size() != 1 && !dryRun) return usage(QStringLiteral("bill takes FILE [dry-run]"));
    if (!openData() || !openBook()) return Refused;

    Bill bill;
    try {
        bill = BillReader::read(args[0]);
    } catch (const SheetError& e) {
        return refuse(e.message());
    }
    BillImport import(*dm_);
    const std::vector<BillImport::Planned> rows = import.plan(bill);
    if (!dryRun) {
        try {
            import.book(rows);
        } catch (const PostingRules::Refused& e) {
            return refuse(e.message());
        }
    }
    const BillImport::Counts c = BillImport::count(rows);
    out_ << QStringLiteral("新增\t%1\n已导入\t%2\n跳过\t%3\n")
                .arg(c.added)
                .arg(c.imported)
                .arg(c.skipped);
    return Done;
}

}  // namespace cw
