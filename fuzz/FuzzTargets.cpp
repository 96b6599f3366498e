#include "FuzzTargets.h"

#include <cstring>

namespace cw::fuzz {

const std::vector<Target>& targets() {
    static const std::vector<Target> all = {
        {"xlsx", xlsxPackage},
        {"xlsx-parts", xlsxParts},
        {"xls", xlsFile},
        {"xls-frames", xlsFrames},
        {"bill", billFile},
        {"statement", statementFile},
        {"qif", qifFile},
        {"ofx", ofxFile},
        {"restore", restoreCandidate, restoreSeeds},
    };
    return all;
}

const Target* target(const char* name) {
    for (const Target& t : targets()) {
        if (std::strcmp(t.name, name) == 0) return &t;
    }
    return nullptr;
}

}  // namespace cw::fuzz
