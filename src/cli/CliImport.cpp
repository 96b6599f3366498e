// The import verb of coinwick-cli:
//   import in|out|transfer|debt|credit|investment FILE
// reads Sheet1 of an .xls or .xlsx file and books its rows as the import dialogs do: every row
// checked first, then all in one transaction. Prints how many rows it booked.
#include "cli/Cli.h"
#include "import/SpreadsheetImport.h"
#include "import/SpreadsheetReader.h"
#include "storage/TfrmDM.h"

namespace cw {

int Cli::cmdImport(const QStringList& args) {
    QStringList words;
    for (const ImportKind& k : ImportKind::all()) words << k.cliName;
    if (args.size() != 2) {
        return usage(QStringLiteral("import takes a kind (") + words.join(QLatin1Char('|')) +
                     QStringLiteral(") and a file"));
    }
    const ImportKind* kind = ImportKind::byCliName(args[0]);
    if (!kind) return usage(QStringLiteral("import kinds: ") + words.join(QLatin1Char(' ')));
    if (!openData() || !openBook()) return Refused;

    SheetRows sheet;
    try {
        sheet = SpreadsheetReader::read(args[1]);
    } catch (const SheetError& e) {
        return refuse(e.message());
    }
    const SpreadsheetImport::Checked checked = SpreadsheetImport::check(*kind, sheet);
    if (!checked.ok()) return refuse(checked.message);
    try {
        out_ << SpreadsheetImport(*dm_).book(*kind, checked.postings) << '\n';
    } catch (const PostingRules::Refused& e) {
        return refuse(e.message());
    }
    return Done;
}

}  // namespace cw
