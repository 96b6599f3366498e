// The statistics table, the analysis chart and the account query on the generated book.
//
//   QT_QPA_PLATFORM=offscreen coinwick_statistics_bench [--book_n=N] [Google Benchmark flags]
//
// - BM_StatisticsByCategory: 收支统计表 by category over the year 2025, largest amount first,
//   both sides, through StatisticsReport::runInOut;
// - BM_MonthChart: 收入分析 / 支出分析 by month over all dates (the date box unticked), its
//   table turned into the chart's points and the bar chart painted offscreen, as "保存图片"
//   and `coinwick-cli analysis … png=` do; BM_MonthAnalysis and BM_MonthChartPaint are its
//   two halves, to show where the time goes;
// - BM_AccountQuery: 账户查询 with no filter, every enabled account with its balance.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "BenchMain.h"
#include "BookGenerator.h"
#include "reports/AnalysisReport.h"
#include "reports/StatisticsReport.h"
#include "reports/render/AnalysisChart.h"
#include "storage/Database.h"
#include "storage/DbError.h"

#ifndef COINWICK_BENCH_DATA_DIR
#define COINWICK_BENCH_DATA_DIR "bench-data"
#endif

using namespace cw;

namespace {

AnalysisReport::Side sideOf(const benchmark::State& state) {
    return state.range(0) == 0 ? AnalysisReport::Side::Income : AnalysisReport::Side::Expense;
}

// The analysis screen's filter: by month, the date box unticked, so every posting counts.
ReportFilter monthsOfAllDates(AnalysisReport::Side side) {
    ReportFilter f;
    f.from = QDate(2006, 1, 1);
    f.to = QDate(2025, 12, 31);
    f.datesTicked = false;
    f.set(FilterKey::Dimension, AnalysisReport::dimensionItems(side)[1]);
    return f;
}

AnalysisChart::Points monthPoints(AnalysisReport::Side side, benchmark::State& state) {
    const ReportOutcome out = AnalysisReport::run(*benchBook().db, benchBook().state.myBName, side,
                                                  monthsOfAllDates(side));
    if (!out.ok()) state.SkipWithError(out.refusal.toUtf8().constData());
    return AnalysisChart::points(out.table, AnalysisReport::title(side),
                                 side == AnalysisReport::Side::Income);
}

void BM_StatisticsByCategory(benchmark::State& state) {
    ReportFilter f;
    f.from = QDate(2025, 1, 1);
    f.to = QDate(2025, 12, 31);
    f.set(FilterKey::Dimension, StatisticsReport::dimensionItems()[0]);
    f.set(FilterKey::Sort, StatisticsReport::orderItems()[0]);
    int rows = 0;
    for (auto _ : state) {
        const ReportOutcome out =
            StatisticsReport::runInOut(*benchBook().db, benchBook().state.myBName, f);
        if (!out.ok()) state.SkipWithError(out.refusal.toUtf8().constData());
        rows = out.table.rowCount();
        benchmark::DoNotOptimize(rows);
    }
    state.counters["rows"] = rows;
}

void BM_MonthChart(benchmark::State& state) {
    const AnalysisReport::Side side = sideOf(state);
    qsizetype months = 0;
    for (auto _ : state) {
        const AnalysisChart::Points points = monthPoints(side, state);
        const QImage image = AnalysisChart::image(AnalysisChart::Kind::Bar, points);
        months = points.labels.size();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["months"] = double(months);
}

void BM_MonthAnalysis(benchmark::State& state) {
    const AnalysisReport::Side side = sideOf(state);
    for (auto _ : state) {
        const AnalysisChart::Points points = monthPoints(side, state);
        benchmark::DoNotOptimize(points.values.size());
    }
}

void BM_MonthChartPaint(benchmark::State& state) {
    const AnalysisReport::Side side = sideOf(state);
    const AnalysisChart::Points points = monthPoints(side, state);
    const auto kind = AnalysisChart::Kind(state.range(1));
    for (auto _ : state) {
        const QImage image = AnalysisChart::image(kind, points);
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_AccountQuery(benchmark::State& state) {
    int rows = 0;
    for (auto _ : state) {
        const ReportOutcome out = AccountQuery::run(*benchBook().db, benchBook().state.myBName, {});
        if (!out.ok()) state.SkipWithError(out.refusal.toUtf8().constData());
        rows = out.table.rowCount();
        benchmark::DoNotOptimize(rows);
    }
    state.counters["rows"] = rows;
}

}  // namespace

int main(int argc, char** argv) {
    // The chart is a graphics item: painting it needs the widgets' application object.
    return benchMain<QApplication>(argc, argv, [](qint64 n) {
        benchBook().open(n, COINWICK_BENCH_DATA_DIR, QStringLiteral("statistics"));
        benchmark::RegisterBenchmark("BM_StatisticsByCategory", BM_StatisticsByCategory)
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("BM_MonthChart", BM_MonthChart)
            ->ArgName("expense")
            ->Arg(0)
            ->Arg(1)
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("BM_MonthAnalysis", BM_MonthAnalysis)
            ->ArgName("expense")
            ->Arg(0)
            ->Arg(1)
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("BM_MonthChartPaint", BM_MonthChartPaint)
            ->ArgNames({"expense", "kind"})
            ->Args({1, int(AnalysisChart::Kind::Bar)})
            ->Args({1, int(AnalysisChart::Kind::Line)})
            ->Args({1, int(AnalysisChart::Kind::Pie)})
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("BM_AccountQuery", BM_AccountQuery)
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
    });
}
