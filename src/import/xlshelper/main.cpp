// coinwick-xls FILE: reads one worksheet of a BIFF .xls file through FreeXL and writes its
// cells as frames (see XlsFrames.h) for the program to take in.
//
// FreeXL has crashed on crafted files, so it runs here, in a process of its own with tight
// limits, never inside the program: a crash, a runaway allocation or an endless loop ends this
// process and the program refuses the file.
#include <freexl.h>
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "import/xlshelper/XlsFrames.h"

namespace {

namespace f = cw::xlsframes;

// Lowers a limit (never raises one a parent has set lower).
bool lower(int resource, rlim_t value) {
    rlimit current{};
    if (getrlimit(resource, &current) != 0) return false;
    if (current.rlim_max != RLIM_INFINITY && current.rlim_max < value) value = current.rlim_max;
    const rlimit wanted{value, value};
    return setrlimit(resource, &wanted) == 0;
}

bool limitSelf() {
#ifndef COINWICK_SANITIZED
    // A sanitized build reserves its shadow memory up front and cannot start under this cap.
    if (!lower(RLIMIT_AS, rlim_t(512) * 1024 * 1024)) return false;
#endif
    return lower(RLIMIT_CPU, 10) && lower(RLIMIT_FSIZE, 0) && lower(RLIMIT_CORE, 0) &&
           lower(RLIMIT_NOFILE, 32);
}

void frame(f::Tag tag, const void* payload, std::uint32_t size) {
    unsigned char header[f::kHeaderBytes] = {
        tag, (unsigned char)(size & 0xff), (unsigned char)((size >> 8) & 0xff),
        (unsigned char)((size >> 16) & 0xff), (unsigned char)((size >> 24) & 0xff)};
    std::fwrite(header, 1, sizeof header, stdout);
    if (size) std::fwrite(payload, 1, size, stdout);
}

void number(f::Tag tag, std::uint32_t n) {
    const unsigned char le[4] = {(unsigned char)(n & 0xff), (unsigned char)((n >> 8) & 0xff),
                                 (unsigned char)((n >> 16) & 0xff),
                                 (unsigned char)((n >> 24) & 0xff)};
    frame(tag, le, 4);
}

void text(f::Tag tag, const char* s) {
    const std::size_t n = s ? std::strlen(s) : 0;
    frame(tag, s, std::uint32_t(n < f::kMaxPayload ? n : f::kMaxPayload));
}

void cell(const FreeXL_CellValue& v, std::uint32_t* empties) {
    switch (v.type) {
        case FREEXL_CELL_INT:
        case FREEXL_CELL_DOUBLE:
        case FREEXL_CELL_TEXT:
        case FREEXL_CELL_SST_TEXT:
        case FREEXL_CELL_DATE:
        case FREEXL_CELL_TIME:
        case FREEXL_CELL_DATETIME:
            break;
        default:
            ++*empties;
            return;
    }
    if (*empties) number(f::Empty, *empties);
    *empties = 0;
    if (v.type == FREEXL_CELL_INT) {
        number(f::Integer, std::uint32_t(v.value.int_value));
    } else if (v.type == FREEXL_CELL_DOUBLE) {
        frame(f::Double, &v.value.double_value, sizeof(double));
    } else {
        text(v.type == FREEXL_CELL_DATETIME ? f::DateTime : f::Text, v.value.text_value);
    }
}

// The sheet names, then the index the reader picked; -1 when it picked none.
long askSheet(const void* xls) {
    unsigned int count = 0;
    if (freexl_get_info(xls, FREEXL_BIFF_SHEET_COUNT, &count) != FREEXL_OK) return -2;
    for (unsigned int i = 0; i < count && i <= 0xffff; ++i) {
        const char* name = nullptr;
        if (freexl_get_worksheet_name(xls, (unsigned short)i, &name) == FREEXL_OK && name) {
            text(f::Name, name);
        } else {
            frame(f::Unreadable, nullptr, 0);
        }
    }
    frame(f::Question, nullptr, 0);
    std::fflush(stdout);
    char line[32] = {};
    if (!std::fgets(line, sizeof line, stdin)) return -1;
    char* end = nullptr;
    const long index = std::strtol(line, &end, 10);
    return end == line || index < 0 || index >= long(count) ? -1 : index;
}

int writeSheet(const void* xls) {
    const long index = askSheet(xls);
    if (index == -2) return f::kExitDamaged;
    if (index < 0) return f::kExitNoSheet;
    unsigned int rows = 0;
    unsigned short columns = 0;
    if (freexl_select_active_worksheet(xls, (unsigned short)index) != FREEXL_OK ||
        freexl_worksheet_dimensions(xls, &rows, &columns) != FREEXL_OK) {
        return f::kExitDamaged;
    }
    const unsigned char dims[8] = {(unsigned char)(rows & 0xff),
                                   (unsigned char)((rows >> 8) & 0xff),
                                   (unsigned char)((rows >> 16) & 0xff),
                                   (unsigned char)((rows >> 24) & 0xff),
                                   (unsigned char)(columns & 0xff),
                                   (unsigned char)((columns >> 8) & 0xff),
                                   0,
                                   0};
    frame(f::Dimensions, dims, sizeof dims);
    for (unsigned int r = 0; r < rows; ++r) {
        frame(f::Row, nullptr, 0);
        std::uint32_t empties = 0;
        for (unsigned short c = 0; c < columns; ++c) {
            FreeXL_CellValue v;
            if (freexl_get_cell_value(xls, r, c, &v) != FREEXL_OK) return f::kExitDamaged;
            cell(v, &empties);
        }
        if (empties) number(f::Empty, empties);
    }
    frame(f::End, nullptr, 0);
    return std::fflush(stdout) == 0 ? 0 : f::kExitDamaged;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: coinwick-xls FILE.xls\n");
        return f::kExitUsage;
    }
    if (!limitSelf()) return f::kExitDamaged;
    const void* xls = nullptr;
    if (freexl_open(argv[1], &xls) != FREEXL_OK) return f::kExitDamaged;
    const int status = writeSheet(xls);
    freexl_close(xls);
    return status;
}
