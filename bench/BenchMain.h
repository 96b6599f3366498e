#pragma once

#include <benchmark/benchmark.h>

#include <QtGlobal>
#include <cstdio>
#include <exception>
#include <functional>

#include "BookGenerator.h"

namespace cw {

// What the main of a benchmark program does around its own benchmarks: the book size from
// --book_n (at least 100 postings), the application object (App: QCoreApplication, or
// QGuiApplication / QApplication where something is painted, offscreen), Google Benchmark's
// flags, then setUp (opening books, registering benchmarks) and the runs. A failure ends the
// program with its message: status 1; a wrong argument: status 2.
template <typename App>
int benchMain(int argc, char** argv, const std::function<void(qint64 postings)>& setUp) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const qint64 n = BookGenerator::takeBookSize(&argc, argv);
    if (n < 100) {
        std::fprintf(stderr, "the book needs at least 100 postings (got %lld)\n", (long long)n);
        return 2;
    }
    App app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;
    try {
        setUp(n);
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}

}  // namespace cw
