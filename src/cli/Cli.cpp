#include "cli/Cli.h"

#include <QDate>
#include <QFileInfo>

#include "books/BookCreation.h"
#include "cli/Tsv.h"
#include "reports/Dashboard.h"
#include "storage/DataFile.h"
#include "storage/Database.h"
#include "storage/DbError.h"
#include "storage/LunarCalendar.h"
#include "storage/Money.h"
#include "storage/OutputFile.h"
#include "storage/PinyinCode.h"
#include "storage/TfrmDM.h"

namespace cw {

namespace {

const char* kSynopsis =
    "usage: coinwick-cli [--home DIR] [--book NAME [--password PASS]] VERB [ARGS...]\n"
    "       coinwick-cli --help\n"
    "       coinwick-cli --version\n";

const char* kHelpHead = "coinwick-cli - the headless companion of Coinwick记账软件\n";

const char* kOptions =
    "\noptions:\n"
    "  --home DIR           the folder holding Data/db.kbk; by default the program's\n"
    "                       folder when it holds a writable Data/, else\n"
    "                       ~/.local/share/Coinwick (also --home=DIR)\n"
    "  --book NAME          the book a verb works in\n"
    "  --password PASS      that book's password (none when not given)\n"
    "  --help               this text, then exit\n"
    "  --version            the version, then exit\n"
    "\nverbs:\n";

const char* kHelpTail =
    "\nkinds:\n"
    "  KIND is one of income expense transfer debt credit investment repay collect\n"
    "  return increase decrease; repay, collect, return, increase and decrease name\n"
    "  their parent with id=, increase and decrease also of=debt|credit|investment;\n"
    "  keys not given take what the dialog shows (today, the parent's account and\n"
    "  member, the whole outstanding amount, principal and profit 0)\n"
    "\nkeys:\n"
    "  date category contact amount account member remark from to principal profit\n"
    "  id of\n"
    "\noutput:\n"
    "  Tables are TSV with one header row; amounts are plain decimals without\n"
    "  separators; tab, line break and backslash inside a field are written as \\t,\n"
    "  \\n and \\\\.\n"
    "\nexit status:\n"
    "  0  done\n"
    "  1  check found differences\n"
    "  2  bad usage\n"
    "  3  refused: wrong password, no such book, a value or an operation the\n"
    "     screens would refuse; the one-line message on stderr is the screen's own\n"
    "     where there is one\n";

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
    err_ << kSynopsis << "coinwick-cli --help lists the verbs and their keys\n";
    return BadUsage;
}

QString Cli::helpText() {
    QString text =
        QString::fromUtf8(kHelpHead) + QString::fromUtf8(kSynopsis) + QString::fromUtf8(kOptions);
    for (const Verb& verb : verbTable()) text += QString::fromUtf8(verb.help);
    return text + QString::fromUtf8(kHelpTail);
}

QStringList Cli::verbs() {
    QStringList names;
    for (const Verb& verb : verbTable()) names << QString::fromLatin1(verb.name);
    return names;
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
    QString given;
    while (!args.isEmpty() && args.front().startsWith(QLatin1String("--"))) {
        QString opt = args.takeFirst();
        // Asked before the verb, --help and --version answer alone, whatever else is given.
        if (opt == QLatin1String("--version")) {
            out_ << "coinwick-cli " << GlobalState::version() << '\n';
            return Done;
        }
        if (opt == QLatin1String("--help")) {
            out_ << helpText();
            return Done;
        }
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
        for (const Verb& v : verbTable()) {
            if (verb == QLatin1String(v.name)) return (this->*v.run)(args);
        }
    } catch (const DbError& e) {
        return refuse(e.message());
    }
    return usage(QStringLiteral("unknown verb ") + verb + QStringLiteral("; verbs: ") +
                 verbs().join(QLatin1Char(' ')));
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
