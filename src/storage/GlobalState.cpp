#include "storage/GlobalState.h"

namespace cw {

namespace {

// Written by CMake from the project's version, so the About box, the CLI and the package agree.
constexpr char kVersion[] =
#include "Version.inc"
    ;

}  // namespace

QString GlobalState::version() {
    return QString::fromLatin1(kVersion);
}

}  // namespace cw
