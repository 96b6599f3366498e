// The libFuzzer entry of one target, named at build time (COINWICK_FUZZ_TARGET).
// COINWICK_FUZZ_SEEDS=DIR makes it write the target's own starting inputs there and stop.
#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>

#include "FuzzTargets.h"
#include "import/XlsReader.h"

namespace {

const cw::fuzz::Target* chosen = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QCoreApplication app(*argc, *argv);
    // The .xls reader starts the helper this build made, as the program starts its own.
    cw::XlsReader::setHelper(QStringLiteral(COINWICK_XLS_HELPER));
    chosen = cw::fuzz::target(COINWICK_FUZZ_TARGET);
    if (!chosen) std::abort();
    if (const char* dir = std::getenv("COINWICK_FUZZ_SEEDS")) {
        if (chosen->seeds) chosen->seeds(QString::fromLocal8Bit(dir));
        std::exit(0);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return chosen->run(data, size);
}
