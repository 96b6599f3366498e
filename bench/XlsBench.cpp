// Reading the small .xls income sheet of the tests (two rows, 5.6 KB) as the import dialog
// does, so the fixed cost of reading an .xls shows apart from the cost of its cells.
//
//   coinwick_xls_bench [Google Benchmark flags]
#include <benchmark/benchmark.h>

#include <QCoreApplication>

#include "BenchMain.h"
#include "import/SheetRows.h"
#include "import/SpreadsheetReader.h"
#include "import/XlsReader.h"

using namespace cw;

namespace {

void BM_XlsReadSmall(benchmark::State& st) {
    const QString path = QStringLiteral(COINWICK_SOURCE_DIR "/tests/data/import/income.xls");
    for (auto _ : st) {
        const SheetRows sheet = SpreadsheetReader::read(path);
        if (sheet.rowCount() != 2u) {
            st.SkipWithError("the sheet did not read back whole");
            break;
        }
        benchmark::DoNotOptimize(sheet.header.data());
    }
}

}  // namespace

int main(int argc, char** argv) {
    // Built outside the program folder: the helper is the one this build made.
    XlsReader::setHelper(QStringLiteral(COINWICK_XLS_HELPER));
    return benchMain<QCoreApplication>(argc, argv, [](qint64) {
        benchmark::RegisterBenchmark("BM_XlsReadSmall", BM_XlsReadSmall)
            ->UseRealTime()
            ->Unit(benchmark::kMicrosecond);
    });
}
