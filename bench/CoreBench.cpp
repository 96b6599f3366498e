// The storage layer under a generated household book of N postings.
//
//   coinwick_bench [--book_n=N] [--show_plans=only] [Google Benchmark flags]
//
// N comes from --book_n, else from COINWICK_BENCH_N, else 10000. The book is generated once
// per N (and per schema) into COINWICK_BENCH_DATA (default: bench-data/ in the build folder)
// and every run works on a scratch copy of it, so the cached file never changes.
// COINWICK_BENCH_PREPARE may hold SQL run on the scratch copy before measuring: the way to
// try an index before proposing it for data/schema.sql.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QElapsedTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "BookGenerator.h"
#include "reports/Dashboard.h"
#include "storage/Database.h"
#include "storage/DbError.h"
#include "storage/TfrmDM.h"
#include "storage/Transaction.h"

#ifndef COINWICK_BENCH_DATA_DIR
#define COINWICK_BENCH_DATA_DIR "bench-data"
#endif

using namespace cw;

namespace {

// The open scratch book every benchmark works on.
struct Book {
    qint64 postings = 0;
    QString scratch;
    std::unique_ptr<Database> db;
    GlobalState state;
    std::unique_ptr<TfrmDM> dm;
};

Book& book() {
    static Book b;
    return b;
}

// One figure of the main window's dashboard: a sum over the whole open book.
struct Sum {
    const char* label;
    QString sql;
    QString type;  // the account type for the balance sums, empty for the others
};

std::vector<Sum> dashboardSums() {
    const QString byType =
        QStringLiteral("SELECT Sum(AMoney) FROM SAccount WHERE BName=? AND theType=?");
    const QStringList types = {QStringLiteral("现金"), QStringLiteral("银行卡"),
                               QStringLiteral("信用卡"), QStringLiteral("电子账户"),
                               QStringLiteral("其它")};
    return {
        {"SAccount.cash", byType, types[0]},
        {"SAccount.bank", byType, types[1]},
        {"SAccount.credit", byType, types[2]},
        {"SAccount.online", byType, types[3]},
        {"SAccount.other", byType, types[4]},
        {"Debt", QStringLiteral("SELECT Sum(DMoney) FROM Debt WHERE BName=?"), {}},
        {"Borrow", QStringLiteral("SELECT Sum(BMoney) FROM Borrow WHERE BName=?"), {}},
        {"TTable", QStringLiteral("SELECT Sum(TMoney) FROM TTable WHERE BName=?"), {}},
        {"InTable", QStringLiteral("SELECT Sum(IMoney) FROM InTable WHERE BName=?"), {}},
        {"OutTable", QStringLiteral("SELECT Sum(OMoney) FROM OutTable WHERE BName=?"), {}},
    };
}

double runSum(Database& db, const QString& bookName, const Sum& sum) {
    Statement st = db.prepare(sum.sql);
    if (sum.type.isEmpty()) {
        st.bindAll(bookName);
    } else {
        st.bindAll(bookName, sum.type);
    }
    return st.step() ? st.number(0) : 0.0;
}

const QString kNewestIn = QStringLiteral(
    "SELECT ID, IDate, IName, IMoney, AName, FName, Remark FROM InTable WHERE BName=? "
    "ORDER BY ID DESC LIMIT 100");
const QString kNewestOut = QStringLiteral(
    "SELECT ID, ODate, OName, OMoney, AName, FName, Remark FROM OutTable WHERE BName=? "
    "ORDER BY ID DESC LIMIT 100");

// --- one posting, committed on its own ---------------------------------------------------

// The two service calls every posting ends with, together in one durable transaction.
void BM_AccountUpListAdd_Durable(benchmark::State& state) {
    Book& b = book();
    const QString account = QStringLiteral("工行卡");
    for (auto _ : state) {
        Transaction tx(*b.db);
        b.dm->AccountUp(12.34, account);
        b.dm->List_Add(QStringLiteral("2025-12-31"), QStringLiteral("工资"), QString(), 12.34, 0,
                       account, QStringLiteral("爸爸"), QStringLiteral("InTable"), 1,
                       QStringLiteral("新增"));
        tx.commit();
    }
}

// A whole income save: the row, the balance move and the journal row, one commit.
void BM_SaveIncome_Durable(benchmark::State& state) {
    Book& b = book();
    const QString account = QStringLiteral("工行卡");
    const QString member = QStringLiteral("爸爸");
    const QString category = QStringLiteral("工资");
    const QString day = QStringLiteral("2025-12-31");
    for (auto _ : state) {
        Transaction tx(*b.db);
        b.dm->myESql(QStringLiteral("INSERT INTO InTable(BName,IDate,IName,IMoney,AName,FName,"
                                    "Remark) VALUES(?,?,?,?,?,?,'')"),
                     b.dm->book(), day, category, 12.34, account, member);
        const qint64 id = b.db->lastInsertId();
        b.dm->AccountUp(12.34, account);
        b.dm->List_Add(day, category, QString(), 12.34, 0, account, member,
                       QStringLiteral("InTable"), id, QStringLiteral("新增"));
        tx.commit();
    }
}

// --- reads ------------------------------------------------------------------------------

void BM_RetAMoney(benchmark::State& state) {
    Book& b = book();
    const QString account = QStringLiteral("工行卡");
    for (auto _ : state) benchmark::DoNotOptimize(b.dm->RetAMoney(account));
}

// The same lookup on a statement prepared once and reset between runs: the difference to
// BM_RetAMoney is what preparing the text anew at every call costs.
void BM_BalanceLookup_PreparedOnce(benchmark::State& state) {
    Book& b = book();
    const QString account = QStringLiteral("工行卡");
    Statement st = b.db->prepare(QStringLiteral(
        "SELECT AMoney FROM SAccount WHERE BName=? AND AName=? ORDER BY ID LIMIT 1"));
    for (auto _ : state) {
        st.reset();
        st.bindAll(b.state.myBName, account);
        benchmark::DoNotOptimize(st.step() ? st.number(0) : 0.0);
    }
}

struct Search {
    const char* label;
    QString typed, column, table;
};

const std::vector<Search>& searches() {
    static const std::vector<Search> s = {
        {"SAccount.name", QStringLiteral("工行"), QStringLiteral("AName"),
         QStringLiteral("SAccount")},
        {"SAccount.latin", QStringLiteral("visa"), QStringLiteral("AName"),
         QStringLiteral("SAccount")},
        {"InD.pinyin", QStringLiteral("gz"), QStringLiteral("IName"), QStringLiteral("InD")},
        {"OutD.name", QStringLiteral("餐"), QStringLiteral("OName"), QStringLiteral("OutD")},
        {"TD.ambiguous", QStringLiteral("基金"), QStringLiteral("TName"), QStringLiteral("TD")},
    };
    return s;
}

void BM_MySelectCom(benchmark::State& state, const Search& s) {
    Book& b = book();
    for (auto _ : state) benchmark::DoNotOptimize(b.dm->mySelectCom(s.typed, s.column, s.table));
}

void BM_DashboardSum(benchmark::State& state, const Sum& sum) {
    Book& b = book();
    for (auto _ : state) benchmark::DoNotOptimize(runSum(*b.db, b.state.myBName, sum));
}

void BM_Dashboard(benchmark::State& state) {
    Book& b = book();
    const std::vector<Sum> sums = dashboardSums();
    for (auto _ : state) {
        for (const Sum& s : sums) benchmark::DoNotOptimize(runSum(*b.db, b.state.myBName, s));
    }
}

// The dashboard as the main window first shows it: a new connection whose page cache is
// still empty, so every page is read and decrypted again (from the system's file cache).
void BM_Dashboard_NewConnection(benchmark::State& state) {
    Book& b = book();
    const std::vector<Sum> sums = dashboardSums();
    for (auto _ : state) {
        auto db = Database::open(b.scratch);
        for (const Sum& s : sums) benchmark::DoNotOptimize(runSum(*db, b.state.myBName, s));
    }
}

// The dashboard as the program computes it: account sums, outstanding amounts, and the
// income and expense totals kept beside the postings.
void BM_DashboardCompute(benchmark::State& state) {
    Book& b = book();
    for (auto _ : state) benchmark::DoNotOptimize(Dashboard::compute(*b.dm));
}

// The same on a new connection: what opening the book pays before the window shows.
void BM_DashboardCompute_NewConnection(benchmark::State& state) {
    Book& b = book();
    for (auto _ : state) {
        auto db = Database::open(b.scratch);
        TfrmDM dm(*db, b.state, Clock::system());
        benchmark::DoNotOptimize(Dashboard::compute(dm));
    }
}

// Only the income and expense totals, as the dashboard now reads them.
void BM_BookTotals(benchmark::State& state) {
    Book& b = book();
    for (auto _ : state) {
        const Query q = b.db->query(
            QStringLiteral("SELECT theT, theCents FROM SBookSum WHERE BName=?"), b.state.myBName);
        benchmark::DoNotOptimize(q);
    }
}

void BM_Newest100(benchmark::State& state, const QString& sql) {
    Book& b = book();
    for (auto _ : state) {
        const Query q = b.db->query(sql, b.state.myBName);
        if (q.recordCount() != 100) {
            state.SkipWithError("the book has fewer than 100 postings");
            break;
        }
        benchmark::DoNotOptimize(q);
    }
}

// Reads first, writes last: the few hundred postings the writes add then change nothing
// the reads measure.
void registerBenchmarks() {
    benchmark::RegisterBenchmark("BM_RetAMoney", BM_RetAMoney)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("BM_BalanceLookup_PreparedOnce", BM_BalanceLookup_PreparedOnce)
        ->Unit(benchmark::kMicrosecond);
    for (const Search& s : searches()) {
        benchmark::RegisterBenchmark((std::string("BM_MySelectCom/") + s.label).c_str(),
                                     BM_MySelectCom, s)
            ->Unit(benchmark::kMicrosecond);
    }
    static const std::vector<Sum> sums = dashboardSums();
    for (const Sum& s : sums) {
        benchmark::RegisterBenchmark((std::string("BM_DashboardSum/") + s.label).c_str(),
                                     BM_DashboardSum, s)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark("BM_Dashboard", BM_Dashboard)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_Dashboard_NewConnection", BM_Dashboard_NewConnection)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_BookTotals", BM_BookTotals)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_DashboardCompute", BM_DashboardCompute)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_DashboardCompute_NewConnection",
                                 BM_DashboardCompute_NewConnection)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_Newest100/InTable", BM_Newest100, kNewestIn)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_Newest100/OutTable", BM_Newest100, kNewestOut)
        ->Unit(benchmark::kMillisecond);
    // A commit waits for the disk, not for the processor: real time is the figure.
    benchmark::RegisterBenchmark("BM_AccountUpListAdd_Durable", BM_AccountUpListAdd_Durable)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_SaveIncome_Durable", BM_SaveIncome_Durable)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
}

// --- query plans --------------------------------------------------------------------------

// Prints how the engine runs each measured statement and warns about any that reads a
// whole table or sorts where it matters: over the postings. The reference tables (accounts,
// categories) hold a few dozen rows, where a sort costs nothing.
int showPlans(Database& db, const QString& bookName) {
    struct Plan {
        QString sql;
        QStringList args;
        bool postings;
    };
    std::vector<Plan> plans;
    for (const Sum& s : dashboardSums()) {
        plans.push_back({s.sql,
                         s.type.isEmpty() ? QStringList{bookName} : QStringList{bookName, s.type},
                         s.type.isEmpty()});
    }
    plans.push_back({kNewestIn, {bookName}, true});
    plans.push_back({kNewestOut, {bookName}, true});
    // The statements behind RetAMoney, AccountUp/AccountDown and mySelectCom, as the data
    // services word them.
    plans.push_back({QStringLiteral("SELECT AMoney FROM SAccount WHERE BName=? AND AName=? "
                                    "ORDER BY ID LIMIT 1"),
                     {bookName, QStringLiteral("工行卡")},
                     false});
    plans.push_back({QStringLiteral("UPDATE SAccount SET AMoney=round(AMoney+?,2) WHERE AName=? "
                                    "AND BName=?"),
                     {QStringLiteral("1"), QStringLiteral("工行卡"), bookName},
                     false});
    plans.push_back({QStringLiteral("SELECT AName FROM SAccount WHERE BName=? AND theState='启用' "
                                    "AND (AName LIKE ? ESCAPE '\\' OR thePY LIKE ? ESCAPE '\\') "
                                    "ORDER BY ID LIMIT 2"),
                     {bookName, QStringLiteral("%工行%"), QStringLiteral("%工行%")},
                     false});
    int suspicious = 0;
    for (const Plan& p : plans) {
        std::fprintf(stderr, "%s\n", p.sql.toUtf8().constData());
        Statement st = db.prepare(QStringLiteral("EXPLAIN QUERY PLAN ") + p.sql);
        for (int i = 0; i < p.args.size(); ++i) st.bind(i + 1, p.args[i]);
        const int detail = st.columnIndex(QStringLiteral("detail"));
        while (st.step()) {
            const QString line = st.text(detail);
            const bool slow = p.postings && ((line.startsWith(QLatin1String("SCAN TABLE")) &&
                                              !line.contains(QLatin1String("INDEX"))) ||
                                             line.contains(QLatin1String("TEMP B-TREE")));
            if (slow) ++suspicious;
            std::fprintf(stderr, "    %s%s\n", line.toUtf8().constData(),
                         slow ? "   <-- reads every posting" : "");
        }
    }
    return suspicious;
}

// --- setup --------------------------------------------------------------------------------

qint64 takeBookSize(int* argc, char** argv, bool* plansOnly) {
    qint64 n = 10'000;
    if (const char* env = std::getenv("COINWICK_BENCH_N"); env && *env) n = std::atoll(env);
    int out = 1;
    for (int i = 1; i < *argc; ++i) {
        if (std::strncmp(argv[i], "--book_n=", 9) == 0) {
            n = std::atoll(argv[i] + 9);
        } else if (std::strcmp(argv[i], "--show_plans=only") == 0) {
            *plansOnly = true;
        } else {
            argv[out++] = argv[i];
        }
    }
    *argc = out;
    argv[out] = nullptr;
    return n;
}

void openScratch(qint64 postings) {
    Book& b = book();
    b.postings = postings;
    const char* dirEnv = std::getenv("COINWICK_BENCH_DATA");
    const QString dir =
        QString::fromLocal8Bit(dirEnv && *dirEnv ? dirEnv : COINWICK_BENCH_DATA_DIR);

    BookGenerator gen(postings);
    double seconds = 0;
    const QString cached = gen.cached(dir, &seconds, [](qint64 done, qint64 total) {
        std::fprintf(stderr, "\rgenerating the book: %lld / %lld postings", (long long)done,
                     (long long)total);
        if (done == total) std::fprintf(stderr, "\n");
    });
    if (seconds > 0) {
        std::fprintf(stderr, "generated %lld postings in %.1f s\n", (long long)postings, seconds);
        benchmark::AddCustomContext("book_generated_seconds",
                                    QString::number(seconds, 'f', 1).toStdString());
    }
    // The scratch copy stays beside the cached file, on the same disk: the commits measured
    // here must wait for that disk just as the program's do.
    b.scratch = QDir(dir).filePath(QStringLiteral("scratch-%1.kbk").arg(postings));
    BookGenerator::copyTo(cached, b.scratch);
    b.db = Database::open(b.scratch);
    if (const char* prepare = std::getenv("COINWICK_BENCH_PREPARE"); prepare && *prepare) {
        QElapsedTimer t;
        t.start();
        b.db->execScript(QString::fromUtf8(prepare));
        std::fprintf(stderr, "COINWICK_BENCH_PREPARE ran in %.1f s\n",
                     double(t.nsecsElapsed()) / 1e9);
        benchmark::AddCustomContext("prepare_sql", prepare);
    }
    BookGenerator::openBook(*b.db, b.state);
    b.dm = std::make_unique<TfrmDM>(*b.db, b.state);
    benchmark::AddCustomContext("book_postings", std::to_string(postings));
    benchmark::AddCustomContext("book_file", cached.toStdString());
}

}  // namespace

int main(int argc, char** argv) {
    bool plansOnly = false;
    const qint64 n = takeBookSize(&argc, argv, &plansOnly);
    if (n < 100) {
        std::fprintf(stderr, "the book needs at least 100 postings (got %lld)\n", (long long)n);
        return 2;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;
    try {
        openScratch(n);
        const int suspicious = showPlans(*book().db, book().state.myBName);
        if (plansOnly) return suspicious == 0 ? 0 : 1;
        registerBenchmarks();
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
    } catch (const DbError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
