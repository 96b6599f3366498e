#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace cw {
class SheetRows;
namespace test {
class TempDataFile;
}
}  // namespace cw

namespace cw {
struct Bill;
}  // namespace cw

namespace cw::fuzz {

// The readers take files: an input becomes a file in one scratch folder of the process,
// written over by the next input.
QString scratchFile(const QString& name, const std::uint8_t* data, std::size_t size);
QString scratchPath(const QString& name);

// A package of the given parts, stored without compression (the fuzzer's bytes reach the XML
// reader as they are), written to the scratch file of that name.
QString storedPackage(const QString& name,
                      const std::vector<std::pair<QByteArray, QByteArray>>& parts);

// The input cut at each separator line into at most `count` pieces (missing ones are empty).
std::vector<QByteArray> pieces(const std::uint8_t* data, std::size_t size, int count);
inline constexpr char kSeparator[] = "\n--part--\n";

// A fresh data file with one open book, made once per process.
test::TempDataFile& book();

// What the import window does with a bill or statement it has read, short of booking: plans
// it against the book (into 储蓄卡 when it names no account), counts, checks and reviews every
// row, and compares the balances.
void preview(Bill bill);

// What the program does with a sheet it has read, short of booking: every spreadsheet
// import checks its rows and the bill reader looks for a bill in them.
void consume(const SheetRows& sheet);

}  // namespace cw::fuzz
