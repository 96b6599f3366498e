// A bank or card statement as the user hands it over (a .csv in UTF-8 or GBK, an .xlsx, an
// .xls, a QIF or OFX file): opened against the shipped profiles, and, when none recognises it,
// read through the mapping the window would propose from its likeliest header row, and
// planned against an open book as the preview shows it.
#include "FuzzFiles.h"
#include "FuzzTargets.h"
#include "import/SheetRows.h"
#include "import/statements/StatementFile.h"

namespace cw::fuzz {

int statementFile(const std::uint8_t* data, std::size_t size) {
    try {
        const QString path = scratchFile(QStringLiteral("statement.csv"), data, size);
        const StatementFile::Opened opened =
            StatementFile::open(path, StatementProfiles::shipped());
        if (opened.bill) preview(*opened.bill);
        const std::vector<QStringList>& rows = opened.sheet.rows;
        if (opened.format != StatementFile::Format::Table || rows.empty()) return 0;
        const size_t header = StatementProfiles::guessHeaderRow(rows);
        StatementProfile profile = StatementProfiles::guess(rows[header]);
        (void)profile.headers();
        if (profile.usable())
            preview(StatementReader::read(opened.sheet, profile, header, QString()));
    } catch (const SheetError&) {
    }
    return 0;
}

}  // namespace cw::fuzz
