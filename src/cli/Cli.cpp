#include "cli/Cli.h"

#include <QDate>
#include <QFileInfo>

#include "app/Dashboard.h"
#include "app/LunarCalendar.h"
#include "books/BookCreation.h"
#include "cli/Tsv.h"
#include "storage/DataFile.h"
#include "storage/Database.h"
#include "storage/DbError.h"
#include "storage/Money.h"
#include "storage/OutputFile.h"
#include "storage/PinyinCode.h"
#include "storage/TfrmDM.h"

namespace cw {

namespace {

const char* kUsage =
    "usage: coinwick-cli [--home DIR] [--book NAME [--password PASS]] VERB [ARGS...]\n"
    "       coinwick-cli --version\n"
    "  DIR: the folder holding Data/; by default the program's folder when it holds a\n"
    "       writable Data/, else ~/.local/share/Coinwick\n"
    "  init                 write a fresh data file under DIR\n"
    "  lunar YYYY-MM-DD     the lunar date text\n"
    "  pinyin TEXT          the pinyin code\n"
    "  books                the books, TSV: name, created, remark\n"
    "  newbook NAME [password=P]  create a book with the seeded categories\n"
    "  summary              the dashboard figures and the income/expense summary, TSV\n"
    "  post KIND key=value...       book one posting; prints the new row's ID\n"
    "  edit KIND ID key=value...    change a posting; keys not given keep their values\n"
    "  delete KIND ID               delete a posting\n"
    "  journal [account=] [from=] [to=] [member=] [remark=] [kind=] [last=N]\n"
    "                               the fund-flow journal in event order, TSV\n"
    "  recompute account=NAME       rewrite that account's journal balances in date order\n"
    "  query in|out|transfer|debt|credit|investment|repay|collect|return [from=] [to=]\n"
    "         [category=] [account=] [member=] [contact=] [remark=] [sort=ITEM]\n"
    "         [order=asc|desc] [xlsx=FILE] [pdf=FILE]  the query screen's grid, 合计 line\n"
    "  check                        compare balances, journal and outstanding amounts;\n"
    "                               exit 1 on differences\n"
    "  report monthly|yearly [from=YYYY-MM-DD] [to=YYYY-MM-DD] [account=NAME] [member=NAME]\n"
    "         [xlsx=FILE] [pdf=FILE]  the report's grid as TSV with a 合计 line; xlsx= and\n"
    "                               pdf= write the screen's workbook and printed report\n"
    "  report income-by-category|income-by-account|income-by-member|expense-by-category|\n"
    "         expense-by-account|expense-by-member [xlsx=FILE]  the month-by-name table\n"
    "  stats in-out|debt-credit [by=category|account|member|day|month|year] [from=] [to=]\n"
    "         [account=] [member=] [sort=amount-desc|amount-asc|count-desc|count-asc|\n"
    "         name-desc|name-asc|none] [xlsx=FILE]  both lists, each row tagged with its side\n"
    "  analysis in|out [by=day|month|year|member|category|account] [from=] [to=]\n"
    "         [category=] [account=] [member=] [png=FILE [chart=bar|line|pie]] [xlsx=FILE]\n"
    "                               统计的项 and 金额 with a 合计 line; png= the chart\n"
    "  accounts [kind=] [member=] [account=] [remark=] [xlsx=FILE]  the enabled accounts\n"
    "  backup FILE|FOLDER           a consistent copy of the data file (a folder gets\n"
    "                               YYYY-MM-DD.kbk)\n"
    "  restore FILE                 put a checked backup in place of the data file\n"
    "  renamebook OLD NEW           rename a book everywhere (needs --book)\n"
    "  deletebook NAME              delete a book and all its rows (needs --book)\n"
    "  plan add income|expense|investment|debt|credit category=|contact= amount= account=\n"
    "         member= [remark=] every=day|Ndays|month|year|Nmonths [n=N] [day=D] [month=M]\n"
    "         from=YYYY-MM-DD to=YYYY-MM-DD  make a series of plans; prints how many\n"
    "  plans [due] [kind=]          the open plans, TSV with a 合计 line\n"
    "  execute-due                  execute every plan due by today; prints how many\n"
    "  warn list|add kind= member= amount= remark=|modify ID [amount=] [remark=]|\n"
    "       enable ID|disable ID|delete ID   the monthly reminder thresholds\n"
    "  import in|out|transfer|debt|credit|investment FILE  book the rows of Sheet1 of an\n"
    "                               .xls/.xlsx file; prints how many\n"
    "  bill FILE [dry-run] [member=NAME]  import a WeChat Pay or Alipay bill with the\n"
    "                               remembered mappings; prints 新增, 已导入 and 跳过 counts\n"
    "  notes [from=] [to=] [member=] [title=] [text=] [xlsx=FILE] [pdf=FILE]  the notes, TSV\n"
    "  note add [date=] member=NAME [title=] text=TEXT  save a note; prints its ID\n"
    "  export ledger|beancount|qif|csv FILE [from=] [to=]  the postings as double entries\n"
    "                               for other ledgers; prints how many\n"
    "KIND: income expense transfer debt credit investment repay collect return increase\n"
    "      decrease; repay, collect, return, increase and decrease name their parent with\n"
    "      id=, increase and decrease also of=debt|credit|investment; keys not given take\n"
    "      what the dialog shows (today, the parent's account and member, the whole\n"
    "      outstanding amount, principal and profit 0)\n"
    "keys: date category contact amount account member remark from to principal profit id of\n";

// Files named by xlsx=, pdf= and png= are checked before anything is read or printed, so a
// refused place costs the user no half output; the writers check again when they write.
QString refusedOutput(const QStringList& args, const QString& dataFile) {
    for (const QString& arg : args) {
        for (const QLatin1String key :
             {QLatin1String("xlsx="), QLatin1String("pdf="), QLatin1String("png=")}) {
            if (!arg.startsWith(key)) continue;
            if (QString why = OutputFile::refusal(arg.mid(key.size()), dataFile); !why.isEmpty())
                return why;
        }
    }
    return {};
}

}  // namespace

Cli::Cli(QTextStream& out, QTextStream& err, Clock clock) : out_(out), err_(err), clock_(clock) {}

Cli::~Cli() = default;

int Cli::usage(const QString& why) {
    if (!why.isEmpty()) err_ << why << '\n';
    err_ << kUsage;
    return BadUsage;
}

int Cli::refuse(const QString& why) {
    err_ << why << '\n';
    return Refused;
}

bool Cli::openData() {
    if (const DataFolder::Prepared p = folder_->prepare(); !p.ok) {
        err_ << p.message << '\n';
        return false;
    }
    try {
        db_ = Database::open(DataFile::pathIn(home_));
        DataFile::upgrade(*db_);
    } catch (const DbError& e) {
        err_ << e.message() << '\n';
        return false;
    }
    state_.myToday = clock_.todayText();
    state_.myTodayText = state_.myToday;
    state_.myVersion = GlobalState::version();
    dm_ = std::make_unique<TfrmDM>(*db_, state_, clock_);
    return true;
}

bool Cli::openBook() {
    if (!bookGiven_) {
        err_ << "请用 --book 指定账簿\n";
        return false;
    }
    const Query q =
        db_->query(QStringLiteral("SELECT thePX, theJZPX FROM SBook WHERE BName=? AND BPass=?"),
                   book_, password_);
    if (q.isEmpty()) {
        err_ << "账簿名称或密码不对！\n";
        return false;
    }
    state_.myBName = book_;
    state_.myPX = q.text(QStringLiteral("thePX"));
    state_.myJZPX = q.text(QStringLiteral("theJZPX"));
    return true;
}

int Cli::run(const QStringList& argsIn) {
    QStringList args = argsIn;
    if (args.size() == 1 && args.front() == QLatin1String("--version")) {
        out_ << "coinwick-cli " << GlobalState::version() << '\n';
        return Done;
    }
    QString given;
    while (!args.isEmpty() && args.front().startsWith(QLatin1String("--"))) {
        QString opt = args.takeFirst();
        QString value;
        // --home=DIR as well as --home DIR, as the program takes it.
        if (const qsizetype eq = opt.indexOf(QLatin1Char('=')); eq > 0) {
            value = opt.mid(eq + 1);
            opt.truncate(eq);
        } else {
            if (args.isEmpty()) return usage(opt + QStringLiteral(" needs a value"));
            value = args.takeFirst();
        }
        if (opt == QLatin1String("--home")) {
            // An empty one would quietly fall back to the default folder.
            if (value.isEmpty()) return usage(QStringLiteral("--home needs a folder"));
            given = value;
        } else if (opt == QLatin1String("--book")) {
            book_ = value;
            bookGiven_ = true;
        } else if (opt == QLatin1String("--password")) {
            password_ = value;
        } else {
            return usage(QStringLiteral("unknown option ") + opt);
        }
    }
    folder_ = DataFolder::forThisProcess(given);
    home_ = folder_->dir();
    if (args.isEmpty()) return usage(QString());
    const QString verb = args.takeFirst();
    if (const QString why = refusedOutput(args, DataFile::pathIn(home_)); !why.isEmpty()) {
        return refuse(why);
    }
    try {
        if (verb == QLatin1String("init")) return cmdInit(args);
        if (verb == QLatin1String("lunar")) return cmdLunar(args);
        if (verb == QLatin1String("pinyin")) return cmdPinyin(args);
        if (verb == QLatin1String("books")) return cmdBooks(args);
        if (verb == QLatin1String("summary")) return cmdSummary(args);
        if (verb == QLatin1String("newbook")) return cmdNewBook(args);
        if (verb == QLatin1String("post")) return cmdPost(args);
        if (verb == QLatin1String("edit")) return cmdEdit(args);
        if (verb == QLatin1String("delete")) return cmdDelete(args);
        if (verb == QLatin1String("journal")) return cmdJournal(args);
        if (verb == QLatin1String("query")) return cmdQuery(args);
        if (verb == QLatin1String("recompute")) return cmdRecompute(args);
        if (verb == QLatin1String("check")) return cmdCheck(args);
        if (verb == QLatin1String("report")) return cmdReport(args);
        if (verb == QLatin1String("stats")) return cmdStats(args);
        if (verb == QLatin1String("analysis")) return cmdAnalysis(args);
        if (verb == QLatin1String("accounts")) return cmdAccounts(args);
        if (verb == QLatin1String("backup")) return cmdBackup(args);
        if (verb == QLatin1String("restore")) return cmdRestore(args);
        if (verb == QLatin1String("renamebook")) return cmdRenameBook(args);
        if (verb == QLatin1String("deletebook")) return cmdDeleteBook(args);
        if (verb == QLatin1String("plan")) return cmdPlan(args);
        if (verb == QLatin1String("plans")) return cmdPlans(args);
        if (verb == QLatin1String("execute-due")) return cmdExecuteDue(args);
        if (verb == QLatin1String("warn")) return cmdWarn(args);
        if (verb == QLatin1String("import")) return cmdImport(args);
        if (verb == QLatin1String("bill")) return cmdBill(args);
        if (verb == QLatin1String("notes")) return cmdNotes(args);
        if (verb == QLatin1String("note")) return cmdNote(args);
        if (verb == QLatin1String("export")) return cmdExport(args);
    } catch (const DbError& e) {
        return refuse(e.message());
    }
    return usage(QStringLiteral("unknown verb ") + verb);
}

int Cli::cmdInit(const QStringList& args) {
    if (!args.isEmpty()) return usage(QStringLiteral("init takes no arguments"));
    const QString path = DataFile::pathIn(home_);
    if (QFileInfo::exists(path)) return refuse(QStringLiteral("数据文件已经存在：") + path);
    DataFile::make(path);
    out_ << path << '\n';
    return Done;
}

int Cli::cmdLunar(const QStringList& args) {
    if (args.size() != 1) return usage(QStringLiteral("lunar takes one date"));
    const QDate d = QDate::fromString(args[0], QStringLiteral("yyyy-MM-dd"));
    if (!d.isValid()) return usage(QStringLiteral("not a date: ") + args[0]);
    out_ << LunarCalendar::text(d) << '\n';
    return Done;
}

int Cli::cmdPinyin(const QStringList& args) {
    if (args.size() != 1) return usage(QStringLiteral("pinyin takes one text"));
    out_ << PinyinCode::of(args[0]) << '\n';
    return Done;
}

int Cli::cmdBooks(const QStringList& args) {
    if (!args.isEmpty()) return usage(QStringLiteral("books takes no arguments"));
    if (!openData()) return Refused;
    Query q = db_->query(QStringLiteral("SELECT BName, BDate, Remark FROM SBook ORDER BY ID"));
    for (q.first(); !q.eof(); q.next()) {
        tsv::row(out_, {q.text(QStringLiteral("BName")), q.text(QStringLiteral("BDate")),
                        q.text(QStringLiteral("Remark"))});
    }
    return Done;
}

int Cli::cmdSummary(const QStringList& args) {
    if (!args.isEmpty()) return usage(QStringLiteral("summary takes no arguments"));
    if (!openData() || !openBook()) return Refused;
    const Dashboard d = Dashboard::compute(*dm_);
    for (const auto& [caption, value] : d.figures()) tsv::row(out_, {caption, Money::plain(value)});
    tsv::row(out_, {QStringLiteral("状态栏"), d.statusText()});
    return Done;
}

int Cli::cmdNewBook(const QStringList& args) {
    if (args.isEmpty() || args.size() > 2) return usage(QStringLiteral("newbook takes a name"));
    QString password;
    if (args.size() == 2) {
        if (!args[1].startsWith(QLatin1String("password="))) {
            return usage(QStringLiteral("unknown argument ") + args[1]);
        }
        password = args[1].mid(int(qstrlen("password=")));
    }
    if (!openData()) return Refused;
    BookCreation creation(*dm_);
    // As the first-book wizard does: every seed list, no members or accounts yet.
    const BookCreation::Result r =
        creation.createFirstBook(args[0], password, QString(), true, true, true);
    if (!r.ok()) return refuse(r.message);
    out_ << args[0] << '\n';
    return Done;
}

}  // namespace cw
