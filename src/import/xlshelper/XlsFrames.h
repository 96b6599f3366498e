#pragma once

#include <cstdint>

// What coinwick-xls writes on its standard output, read by XlsReader. Every frame is one tag
// byte, a payload length (4 bytes, little-endian) and the payload. The order is fixed:
//   Name/Unreadable for every sheet, Question (the helper then reads the chosen sheet's index
//   as a decimal line on its standard input), Dimensions (rows, columns: 4 bytes each), then
//   per row Row followed by exactly `columns` cells, then End.
// Plain C++ on purpose: the helper links FreeXL alone, so it starts fast.
namespace cw::xlsframes {

enum Tag : unsigned char {
    Name = 'N',        // UTF-8 sheet name
    Unreadable = 'U',  // a sheet whose name FreeXL cannot give
    Question = 'Q',
    Dimensions = 'D',
    Row = 'R',
    Empty = 'E',     // 4 bytes: how many empty cells in a row
    Integer = 'I',   // 4 bytes, signed
    Double = 'F',    // 8 bytes, the IEEE value as this machine stores it
    Text = 'T',      // UTF-8, shown as it is
    DateTime = 'W',  // UTF-8 "yyyy-mm-dd hh:mm:ss"
    End = 'Z',
};

constexpr std::uint32_t kHeaderBytes = 5;
// No cell of a BIFF file holds more than 32,767 characters; a longer frame is garbage.
constexpr std::uint32_t kMaxPayload = 256 * 1024;

// Exit statuses of the helper besides 0 (all frames written).
constexpr int kExitDamaged = 1;  // FreeXL refused the file
constexpr int kExitNoSheet = 2;  // no index came back: the reader found no such sheet
constexpr int kExitUsage = 64;

}  // namespace cw::xlsframes
