#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include <QString>

namespace cw::fuzz {

// One reader of a file from outside, driven by bytes a fuzzer makes up. The body runs the
// code the program runs on such a file, up to the point where rows would be booked; a refusal
// is an answer, only a crash, a sanitizer report or a broken bound is a finding.
struct Target {
    const char* name;
    int (*run)(const std::uint8_t* data, std::size_t size);
    // Writes starting inputs that cannot be kept as files in the source tree (made by this
    // build's own code) into dir; null when the fixtures are enough.
    void (*seeds)(const QString& dir) = nullptr;
};

const std::vector<Target>& targets();
const Target* target(const char* name);

// Each reader's body (targets/*.cpp).
int xlsxPackage(const std::uint8_t* data, std::size_t size);
int xlsxParts(const std::uint8_t* data, std::size_t size);
int xlsFile(const std::uint8_t* data, std::size_t size);
int xlsFrames(const std::uint8_t* data, std::size_t size);
int billFile(const std::uint8_t* data, std::size_t size);
int statementFile(const std::uint8_t* data, std::size_t size);
int qifFile(const std::uint8_t* data, std::size_t size);
int ofxFile(const std::uint8_t* data, std::size_t size);
int restoreCandidate(const std::uint8_t* data, std::size_t size);
void restoreSeeds(const QString& dir);

}  // namespace cw::fuzz
