// Writes (or finds) the cached benchmark book of N postings and says where it is:
//   coinwick_bookgen N [DIR]
// DIR defaults to COINWICK_BENCH_DATA, else bench-data/ in the build folder. Handy to pay
// the generation once, and to time it, before running the benchmarks.
#include <cstdio>
#include <cstdlib>

#include "BookGenerator.h"
#include "storage/DbError.h"

#ifndef COINWICK_BENCH_DATA_DIR
#define COINWICK_BENCH_DATA_DIR "bench-data"
#endif

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3 || std::atoll(argv[1]) < 1) {
        std::fprintf(stderr, "usage: coinwick_bookgen N [DIR]\n");
        return 2;
    }
    const char* env = std::getenv("COINWICK_BENCH_DATA");
    const char* dir = argc == 3 ? argv[2] : (env && *env ? env : COINWICK_BENCH_DATA_DIR);
    try {
        double seconds = 0;
        const QString path =
            cw::BookGenerator(std::atoll(argv[1]))
                .cached(QString::fromLocal8Bit(dir), &seconds, [](qint64 done, qint64 total) {
                    std::fprintf(stderr, "\r%lld / %lld postings", (long long)done,
                                 (long long)total);
                    if (done == total) std::fprintf(stderr, "\n");
                });
        if (seconds > 0) {
            std::printf("generated in %.1f s: %s\n", seconds, path.toLocal8Bit().constData());
        } else {
            std::printf("already there: %s\n", path.toLocal8Bit().constData());
        }
    } catch (const cw::DbError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
