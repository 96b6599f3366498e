// The statement verb of coinwick-cli:
//   statement FILE account=NAME [profile=NAME] [dry-run] [member=NAME]
// imports a bank or card statement (.csv in UTF-8 or GBK, .xls, .xlsx) into one account of the
// open book, or a QIF or OFX file (whose own accounts are used as remembered, else account=).
// A table is read with the named profile, else the first profile whose header it holds, else
// the columns its header words suggest. The rows are planned and booked as the statement window
// proposes them untouched; the output is the bill verb's (counts, or the dry run's rows), then
// for a statement with a balance column its last balance, the account's on that day and the
// difference.
#include "cli/Cli.h"
#include "import/bills/BillReader.h"
#include "import/statements/StatementFile.h"
#include "storage/NameText.h"
#include "storage/TfrmDM.h"

namespace cw {

namespace {

QString statementUsage() {
    return QStringLiteral(
        "statement takes FILE account=NAME [profile=NAME] [dry-run] [member=NAME]");
}

QString profileNames(const std::vector<StatementProfile>& profiles) {
    QStringList names;
    for (const StatementProfile& p : profiles) names << p.name;
    return names.join(QStringLiteral("、"));
}

// A table read with the profile named, or as the profiles and then its header words say.
Bill readTable(const QString& path, const std::vector<StatementProfile>& profiles,
               const QString& profileName, const QString& account) {
    if (!profileName.isEmpty()) {
        const StatementProfile* profile = StatementProfiles::byName(profiles, profileName);
        if (!profile)
            throw SheetError(QStringLiteral("没有名为“%1”的账单格式！已有的格式：%2")
                                 .arg(profileName, profileNames(profiles)));
        const StatementSheet sheet = StatementReader::sheet(path);
        const StatementProfiles::Match m = StatementProfiles::recognise({*profile}, sheet.rows);
        if (m.profile < 0)
            throw SheetError(QStringLiteral("账单中找不到格式“%1”的表头：%2！")
                                 .arg(profileName, profile->headers().join(QStringLiteral("、"))));
        return StatementReader::read(sheet, *profile, m.headerRow, account);
    }
    StatementFile::Opened opened = StatementFile::open(path, profiles);
    if (opened.bill) return *opened.bill;
    if (!opened.refusal.isEmpty()) throw SheetError(opened.refusal);
    const size_t header = StatementProfiles::guessHeaderRow(opened.sheet.rows);
    const StatementProfile guessed = header < opened.sheet.rows.size()
                                         ? StatementProfiles::guess(opened.sheet.rows[header])
                                         : StatementProfile();
    if (!guessed.usable())
        throw SheetError(QStringLiteral("无法识别账单的格式，请用 profile= 指定格式，或先在"
                                        "“银行账单导入”中设置各列的对应！已有的格式：%1")
                             .arg(profileNames(profiles)));
    return StatementReader::read(opened.sheet, guessed, header, account);
}

}  // namespace

int Cli::cmdStatement(const QStringList& args) {
    bool dryRun = false;
    QString member;
    QString account;
    QString profile;
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("dry-run"))
            dryRun = true;
        else if (a.startsWith(QLatin1String("member=")) && a.size() > 7)
            member = a.mid(7);
        else if (a.startsWith(QLatin1String("account=")) && a.size() > 8)
            account = a.mid(8);
        else if (a.startsWith(QLatin1String("profile=")) && a.size() > 8)
            profile = a.mid(8);
        else
            return usage(statementUsage());
    }
    if (args.isEmpty()) return usage(statementUsage());
    if (NameText::hasControl(member) || NameText::hasControl(account))
        return refuse(QStringLiteral("账户、家庭成员 不能包含制表符、换行符等控制字符！"));
    StatementFile::Format format = StatementFile::Format::Table;
    try {
        format = StatementFile::formatOf(args[0]);
    } catch (const SheetError& e) {
        return refuse(e.message());
    }
    const bool table = format == StatementFile::Format::Table;
    // A table's rows name no account of their own; QIF and OFX files name theirs.
    if (table && account.isEmpty()) return usage(statementUsage());
    if (!table && !profile.isEmpty())
        return usage(QStringLiteral("profile= is for .csv, .xls and .xlsx statements"));
    if (!openData() || !openBook()) return Refused;
    if (!account.isEmpty() &&
        dm_->db()
            .query(QStringLiteral("SELECT 1 FROM SAccount WHERE BName=? AND AName=?"), dm_->book(),
                   account)
            .isEmpty())
        return refuse(QStringLiteral("账簿中没有账户“%1”！").arg(account));

    Bill bill;
    try {
        const std::vector<StatementProfile> profiles = StatementProfiles::all(dm_->db());
        bill = table ? readTable(args[0], profiles, profile, account)
                     : StatementFile::open(args[0], profiles).bill.value_or(Bill{});
    } catch (const SheetError& e) {
        return refuse(e.message());
    }
    if (!account.isEmpty()) bill.account = account;
    return importBill(bill, member, dryRun, false);
}

}  // namespace cw
