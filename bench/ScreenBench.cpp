// The posting screens on a generated household book of N postings: what the user waits for
// when the income screen opens, when its footer is summed, when the this-month filter is
// picked and when a column title is clicked, and how much memory the program holds with the
// screen open.
//
//   QT_QPA_PLATFORM=offscreen coinwick_screen_bench [--book_n=N] [Google Benchmark flags]
//
// N comes from --book_n, else from COINWICK_BENCH_N, else 10000; the book is the cached one of
// coinwick_bench (see README.md), copied to a scratch file of its own. Today is fixed at
// 2025-12-15, in the book's last month, so "this month" holds a month of postings.
// COINWICK_BENCH_PREPARE runs its SQL on the scratch copy first (an index to try).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "BenchMain.h"
#include "BookGenerator.h"
#include "bookkeeping/ui/PostingList.h"
#include "bookkeeping/ui/TfrmInTable.h"
#include "storage/Database.h"
#include "storage/DbError.h"
#include "storage/TfrmDM.h"
#include "widgets/AppContext.h"
#include "widgets/QueryGrid.h"

#ifndef COINWICK_BENCH_DATA_DIR
#define COINWICK_BENCH_DATA_DIR "bench-data"
#endif

using namespace cw;

namespace {

const QDate kToday(2025, 12, 15);

struct Book {
    std::unique_ptr<Database> db;
    GlobalState state;
    std::unique_ptr<TfrmDM> dm;
    QtMessages messages;
    std::unique_ptr<AppContext> ctx;
};

Book& book() {
    static Book b;
    return b;
}

// The process's resident memory in megabytes, as the system counts it.
double residentMegabytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    static const QRegularExpression line(QStringLiteral("^VmRSS:\\s+(\\d+) kB"),
                                         QRegularExpression::MultilineOption);
    const QRegularExpressionMatch m = line.match(QString::fromLatin1(status.readAll()));
    return m.hasMatch() ? m.captured(1).toDouble() / 1024.0 : 0;
}

// The screen as the main window shows it: built, laid out at the size of a maximised working
// window and painted once.
std::unique_ptr<TfrmInTable> openIncome() {
    auto screen = std::make_unique<TfrmInTable>(*book().ctx);
    screen->resize(1280, 700);
    screen->show();
    QCoreApplication::processEvents();
    return screen;
}

void BM_OpenIncomeScreen(benchmark::State& state) {
    book().state.myD_I = state.range(0) != 0;
    for (auto _ : state) {
        auto screen = openIncome();
        benchmark::DoNotOptimize(screen->grid()->gridModel()->rowCount());
        state.PauseTiming();
        screen.reset();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    book().state.myD_I = false;
}

// The footer's count and sum over the whole income list, as the screen opens with it.
void BM_FooterSum(benchmark::State& state) {
    const PostingList list(*book().db, PostingLayout::income());
    for (auto _ : state) benchmark::DoNotOptimize(list.footer(book().state.myBName).sum);
}

// "本月记账 &B" picked on the open screen: the list and its footer read again.
void BM_ThisMonthFilter(benchmark::State& state) {
    auto screen = openIncome();
    QAction* thisMonth = screen->popupAction(QStringLiteral("本月记账 &B"));
    for (auto _ : state) {
        thisMonth->trigger();
        benchmark::DoNotOptimize(screen->footer().count);
    }
    state.counters["rows"] = double(screen->footer().count);
}

// A click on a column title of the whole income list, ascending then descending.
void BM_TitleSort(benchmark::State& state) {
    auto screen = openIncome();
    QueryGridModel* model = screen->grid()->gridModel();
    const int column = int(state.range(0));
    for (auto _ : state) {
        screen->DBGrid1TitleClick(column);
        benchmark::DoNotOptimize(model->rowCount());
    }
    state.SetLabel(model->columnNames().value(column).toStdString());
}

// The whole list sorted by a column title, read to its last row: what scrolling to the end
// costs beyond the first screenful the title click shows.
void BM_SortedToEnd(benchmark::State& state) {
    const PostingList list(*book().db, PostingLayout::income());
    const QString title = QString::fromUtf8(state.range(0) == 3   ? "收入类别"
                                            : state.range(0) == 5 ? "账户名称"
                                                                  : "家庭成员");
    qint64 rows = 0;
    for (auto _ : state) {
        Statement st = book().db->prepare(
            list.sortedSql(book().state.myBName, title, Qt::AscendingOrder, book().state.myJZPX));
        st.bind(1, book().state.myBName);
        rows = 0;
        while (st.step()) ++rows;
    }
    state.SetLabel(title.toStdString());
    state.counters["rows"] = double(rows);
}

// The resident memory with the income screen open on the whole list, after scrolling a few
// pages down.
void BM_ResidentMemory(benchmark::State& state) {
    auto screen = openIncome();
    QueryGridModel* model = screen->grid()->gridModel();
    for (int i = 0; i < 8 && model->canFetchMore(); ++i) model->fetchMore();
    for (auto _ : state) benchmark::DoNotOptimize(residentMegabytes());
    state.counters["VmRSS_MB"] = residentMegabytes();
    state.counters["rows_read"] = model->rowCount();
}

void showPlans() {
    PostingList list(*book().db, PostingLayout::income());
    const QString jzpx = book().state.myJZPX;
    const QString month = kToday.toString(QStringLiteral("yyyy-MM"));
    struct Plan {
        const char* what;
        PostingKind::Filter filter;
    };
    const Plan plans[] = {
        {"whole list", PostingKind::income().everything()},
        {"this month", PostingKind::income().monthOf(month)},
    };
    for (const Plan& p : plans) {
        list.setFilter(p.filter);
        for (const QString& sql : {list.listSql(jzpx), list.footerSql()}) {
            Statement st = book().db->prepare(QStringLiteral("EXPLAIN QUERY PLAN ") + sql);
            int index = 0;
            st.bind(++index, book().state.myBName);
            for (const QVariant& v : p.filter.values) st.bind(++index, v);
            std::fprintf(stderr, "-- %s: %s\n", p.what, sql.toUtf8().constData());
            while (st.step()) std::fprintf(stderr, "   %s\n", st.text(3).toUtf8().constData());
        }
    }
    // The title sorts of the whole list by its name columns, both ways.
    list.setFilter(PostingKind::income().everything());
    for (const char* title : {"收入类别", "账户名称", "家庭成员"}) {
        for (const Qt::SortOrder order : {Qt::AscendingOrder, Qt::DescendingOrder}) {
            const QString sql =
                list.sortedSql(book().state.myBName, QString::fromUtf8(title), order, jzpx);
            Statement st = book().db->prepare(QStringLiteral("EXPLAIN QUERY PLAN ") + sql);
            st.bind(1, book().state.myBName);
            std::fprintf(stderr, "-- sort by %s: %s\n", title, sql.toUtf8().constData());
            while (st.step()) std::fprintf(stderr, "   %s\n", st.text(3).toUtf8().constData());
        }
    }
}

void openScratch(qint64 postings) {
    const QString scratch =
        BookGenerator::scratchCopy(postings, COINWICK_BENCH_DATA_DIR, QStringLiteral("screens"));
    Book& b = book();
    b.db = Database::open(scratch);
    // An index tried here first, before it goes into data/schema.sql.
    if (const char* prepare = std::getenv("COINWICK_BENCH_PREPARE"); prepare && *prepare) {
        b.db->execScript(QString::fromUtf8(prepare));
    }
    BookGenerator::openBook(*b.db, b.state);
    b.state.myToday = kToday.toString(QStringLiteral("yyyy-MM-dd"));
    b.dm = std::make_unique<TfrmDM>(*b.db, b.state, Clock::fixed(kToday));
    b.ctx = std::make_unique<AppContext>(AppContext{
        *b.db, *b.dm, b.state, b.messages, QString(), Clock::fixed(kToday), {}, {}, {}, {}});
    benchmark::AddCustomContext("book_postings", std::to_string(postings));
}

// The offscreen platform says on every show that it cannot pass size hints on; that is no news.
void quietPlatform(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (message.contains(QStringLiteral("propagateSizeHints"))) return;
    std::fprintf(stderr, "%s%s\n", type == QtWarningMsg ? "warning: " : "",
                 message.toUtf8().constData());
}

}  // namespace

int main(int argc, char** argv) {
    qInstallMessageHandler(quietPlatform);
    return benchMain<QApplication>(argc, argv, [](qint64 n) {
        openScratch(n);
        showPlans();
        // The user waits in real time; the engine's reads are most of it.
        benchmark::RegisterBenchmark("BM_OpenIncomeScreen", BM_OpenIncomeScreen)
            ->ArgName("this_month")
            ->Arg(0)
            ->Arg(1)
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("BM_FooterSum", BM_FooterSum)
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("BM_ThisMonthFilter", BM_ThisMonthFilter)
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
        // Columns of the list as read: ID, 账薄名称, 日期, 收入类别, 金额, 账户名称, 家庭成员,
        // 备注.
        benchmark::RegisterBenchmark("BM_TitleSort", BM_TitleSort)
            ->ArgName("column")
            ->DenseRange(2, 7)
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("BM_SortedToEnd", BM_SortedToEnd)
            ->ArgName("column")
            ->Arg(3)
            ->Arg(5)
            ->Arg(6)
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("BM_ResidentMemory", BM_ResidentMemory)->Iterations(1);
    });
}
