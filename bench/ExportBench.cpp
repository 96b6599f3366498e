// The export for other bookkeeping programs on the generated book.
//
//   coinwick_export_bench [--book_n=N] [Google Benchmark flags]
//
// - BM_Export/format:F: the whole book written as a hledger journal (0), a beancount file (1),
//   QIF (2) or CSV (3) through LedgerExport, two passes over every posting table, into a file
//   in the temporary folder; the file's size is reported.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "BenchMain.h"
#include "BookGenerator.h"
#include "interchange/LedgerExport.h"
#include "storage/Database.h"

#ifndef COINWICK_BENCH_DATA_DIR
#define COINWICK_BENCH_DATA_DIR "bench-data"
#endif

using namespace cw;

namespace {

void BM_Export(benchmark::State& state) {
    const auto format = LedgerExport::Format(state.range(0));
    // Never beside the data file: the export refuses the data folder.
    const QString target =
        QDir::temp().filePath(QStringLiteral("coinwick-export-%1.out").arg(state.range(0)));
    qint64 entries = 0;
    for (auto _ : state) {
        LedgerExport exporter(*benchBook().db, benchBook().state.myBName);
        QString error;
        if (!exporter.write(format, target, {}, {}, QStringLiteral("2026-01-01"), &error))
            state.SkipWithError(error.toUtf8().constData());
        entries = exporter.entries();
    }
    state.counters["entries"] = double(entries);
    state.counters["MB"] = double(QFileInfo(target).size()) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
    return benchMain<QCoreApplication>(argc, argv, [](qint64 n) {
        benchBook().open(n, COINWICK_BENCH_DATA_DIR, QStringLiteral("export"));
        benchmark::RegisterBenchmark("BM_Export", BM_Export)
            ->ArgName("format")
            ->DenseRange(0, 3)
            ->Iterations(1)
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
    });
}
