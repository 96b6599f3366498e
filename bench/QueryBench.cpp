// The query screens and the fund-flow log on the generated book of N postings.
//
//   coinwick_query_bench [--book_n=N] [Google Benchmark flags]
//
// - BM_QueryMonthCategory: 支出查询 over one month with a category filter;
// - BM_QueryRemark: 支出查询 over the whole book with a note filter;
// - BM_LogFirstScreen: the fund-flow log's first page of rows, unfiltered;
// - BM_LogTotals: the status totals that follow it (count, income, expense of the journal);
// - BM_Recompute: 重新计算本次余额 over one account's rows in date order, one transaction;
// - BM_JournalLast: the newest 100 journal rows in event order (journal last=100).
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "BenchMain.h"
#include "BookGenerator.h"
#include "reports/FundFlowLog.h"
#include "reports/QueryReports.h"
#include "storage/Database.h"
#include "storage/DbError.h"

#ifndef COINWICK_BENCH_DATA_DIR
#define COINWICK_BENCH_DATA_DIR "bench-data"
#endif

using namespace cw;

namespace {

ReportFilter allDates() {
    ReportFilter f;
    f.datesTicked = false;
    return f;
}

void BM_QueryMonthCategory(benchmark::State& state) {
    const QueryDefinition& q = *QueryReports::byCliName(QStringLiteral("out"));
    ReportFilter f;
    f.from = QDate(2025, 3, 1);
    f.to = QDate(2025, 3, 31);
    f.set(FilterKey::Category, QStringLiteral("买菜"));
    int rows = 0;
    for (auto _ : state) {
        const ReportOutcome out = q.run(*benchBook().db, benchBook().state.myBName, f, {});
        rows = out.table.rowCount();
    }
    state.counters["rows"] = rows;
}

void BM_QueryRemark(benchmark::State& state) {
    const QueryDefinition& q = *QueryReports::byCliName(QStringLiteral("out"));
    ReportFilter f = allDates();
    f.set(FilterKey::Remark, QStringLiteral("超市"));
    int rows = 0;
    for (auto _ : state) {
        const ReportOutcome out = q.run(*benchBook().db, benchBook().state.myBName, f, {});
        rows = out.table.rowCount();
    }
    state.counters["rows"] = rows;
}

// What the window shows before its status totals: the first page of the paged grid.
void BM_LogFirstScreen(benchmark::State& state) {
    const ReportFilter f = allDates();
    const FundFlowLog::Where w = FundFlowLog::where(benchBook().state.myBName, f);
    for (auto _ : state) {
        Statement st = benchBook().db->prepare(FundFlowLog::gridSql(w, std::nullopt));
        for (int i = 0; i < w.args.size(); ++i) st.bind(i + 1, w.args[i]);
        int rows = 0;
        while (rows < 256 && st.step()) ++rows;
        benchmark::DoNotOptimize(rows);
    }
}

// The status totals that follow: count, income and expense of the whole journal.
void BM_LogTotals(benchmark::State& state) {
    for (auto _ : state) {
        const FundFlowLog::Totals t =
            FundFlowLog::totals(*benchBook().db, benchBook().state.myBName, allDates());
        benchmark::DoNotOptimize(t.count);
    }
}

void BM_Recompute(benchmark::State& state) {
    int rows = 0;
    for (auto _ : state) {
        FundFlowLog::recompute(*benchBook().db, benchBook().state.myBName,
                               BookGenerator::accounts().front(), allDates(),
                               FundFlowLog::dateOrder(), &rows);
    }
    state.counters["rows"] = rows;
}

void BM_JournalLast(benchmark::State& state) {
    for (auto _ : state) {
        Statement st = benchBook().db->prepare(QStringLiteral(
            "SELECT * FROM (SELECT * FROM UList WHERE BName=? ORDER BY ID DESC LIMIT 100) "
            "ORDER BY ID"));
        st.bind(1, benchBook().state.myBName);
        int rows = 0;
        while (st.step()) ++rows;
        benchmark::DoNotOptimize(rows);
    }
}

}  // namespace

int main(int argc, char** argv) {
    return benchMain<QCoreApplication>(argc, argv, [](qint64 n) {
        benchBook().open(n, COINWICK_BENCH_DATA_DIR, QStringLiteral("queries"));
        for (const auto& [name, fn] :
             std::vector<std::pair<const char*, void (*)(benchmark::State&)>>{
                 {"BM_QueryMonthCategory", BM_QueryMonthCategory},
                 {"BM_QueryRemark", BM_QueryRemark},
                 {"BM_LogFirstScreen", BM_LogFirstScreen},
                 {"BM_LogTotals", BM_LogTotals},
                 {"BM_Recompute", BM_Recompute},
                 {"BM_JournalLast", BM_JournalLast}}) {
            benchmark::RegisterBenchmark(name, fn)->UseRealTime()->Unit(benchmark::kMillisecond);
        }
    });
}
