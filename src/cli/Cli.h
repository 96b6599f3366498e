#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>
#include <memory>
#include <optional>
#include <vector>

#include "files/DataFolder.h"
#include "storage/Clock.h"
#include "storage/GlobalState.h"

namespace cw {

struct Bill;

class Database;
class ReportTable;
class TfrmDM;
struct ReportFilter;

// coinwick-cli: the headless companion. It calls the same operations as the screens.
// Exit status: 0 done, 1 check found differences, 2 bad usage, 3 refused.
class Cli {
  public:
    enum Exit { Done = 0, Differences = 1, BadUsage = 2, Refused = 3 };

    Cli(QTextStream& out, QTextStream& err, Clock clock = Clock::system());
    ~Cli();

    int run(const QStringList& args);

    // What --help prints: usage, options, every verb with its keys, exit statuses. The manual
    // page is made from it.
    static QString helpText();
    // The verbs run() dispatches, in the order --help lists them.
    static QStringList verbs();

  private:
    struct Verb {
        const char* name;
        int (Cli::*run)(const QStringList&);
        const char* help;  // its lines in --help, each indented by two blanks
    };
    // Every verb with its handler and help (CliVerbs.cpp).
    static const std::vector<Verb>& verbTable();

    int usage(const QString& why);
    int refuse(const QString& why);
    // Opens the data file under the data folder (filling an installed copy's user folder on its
    // first use); false (with the message written) on failure.
    bool openData();
    // Opens --book with --password into the global state, as a login does.
    bool openBook();

    int cmdInit(const QStringList& args);
    int cmdLunar(const QStringList& args);
    int cmdPinyin(const QStringList& args);
    int cmdBooks(const QStringList& args);
    int cmdSummary(const QStringList& args);
    int cmdNewBook(const QStringList& args);
    int cmdPost(const QStringList& args);
    // post repay|collect|return|increase|decrease: a record under a debt, credit or investment.
    int cmdPostSub(const QString& word, const QStringList& args);
    int cmdEdit(const QStringList& args);
    int cmdDelete(const QStringList& args);
    int cmdJournal(const QStringList& args);
    // query, recompute (CliQueries.cpp); the journal's filters, shared with journal.
    int cmdQuery(const QStringList& args);
    int cmdRecompute(const QStringList& args);
    QString readLogArgs(const QStringList& args, ReportFilter* filter, int* last);
    int cmdCheck(const QStringList& args);
    // report NAME … (CliReports.cpp).
    int cmdReport(const QStringList& args);
    // stats, analysis, accounts (CliStats.cpp): a screen's run as TSV (rows tagged with their
    // side where it has two), its workbook with xlsx=; the table comes back in result.
    int cmdStats(const QStringList& args);
    int cmdAnalysis(const QStringList& args);
    int cmdAccounts(const QStringList& args);
    int writeScreenResult(const QString& screen, const ReportFilter& filter, const QString& xlsx,
                          ReportTable* result = nullptr);
    // backup, restore, renamebook, deletebook (CliBooks.cpp).
    int cmdBackup(const QStringList& args);
    int cmdRestore(const QStringList& args);
    int cmdRenameBook(const QStringList& args);
    int cmdDeleteBook(const QStringList& args);
    // plan add, plans, execute-due, warn (CliPlans.cpp).
    int cmdPlan(const QStringList& args);
    int cmdPlans(const QStringList& args);
    int cmdExecuteDue(const QStringList& args);
    int cmdWarn(const QStringList& args);
    // import KIND FILE (CliImport.cpp); notes, note add (CliNotes.cpp).
    int cmdImport(const QStringList& args);
    int cmdBill(const QStringList& args);
    int cmdStatement(const QStringList& args);
    // What bill and statement share: plans the rows as the dialog proposes them, then lists
    // them (dry run) or books them and prints the counts and, for a statement with balances,
    // its balance against the account's.
    int importBill(const Bill& bill, const QString& member, bool dryRun, bool transfers);
    int cmdNotes(const QStringList& args);
    int cmdNote(const QStringList& args);
    // export FORMAT FILE (CliExport.cpp).
    int cmdExport(const QStringList& args);

    QTextStream& out_;
    QTextStream& err_;
    Clock clock_;
    QString home_;  // the data folder: --home, or the one DataFolder chooses
    std::optional<DataFolder> folder_;
    QString book_;
    QString password_;
    bool bookGiven_ = false;
    GlobalState state_;
    std::unique_ptr<Database> db_;
    std::unique_ptr<TfrmDM> dm_;
};

}  // namespace cw
