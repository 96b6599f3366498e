#!/usr/bin/env bash
# Builds the program and its tests with AddressSanitizer and UndefinedBehaviorSanitizer into
# build-sanitize/ (no benchmarks, no package) and runs every test there, screens offscreen.
# Any finding stops the process that made it, so its test fails with the report in its output.
#   scripts/sanitize.sh          every test
#   scripts/sanitize.sh logic    the logic tests only (no screens built): a quicker run
set -euo pipefail
scope=${1:-all}
cd "$(dirname "$0")/.."

launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
jobs=${JOBS:-$(nproc)}

# -O1: quick enough to run the whole suite, and the stacks still name every frame.
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_C_FLAGS_DEBUG="-g -O1" -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" \
  -DCOINWICK_SANITIZE=ON -DCOINWICK_BENCH=OFF "${launcher[@]}"

# The build runs the data file maker and lists the tests, so the options hold from here on.
# A string kept past the function that built it lives on that function's stack: only
# detect_stack_use_after_return catches reads of it. Leaks are not looked for: Qt, fontconfig
# and the media stack keep memory to the end of the process on purpose.
export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_stack_use_after_return=1:detect_leaks=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen

if [ "$scope" = logic ]; then
  cmake --build build-sanitize -j"$jobs" --target coinwick_tests
  # The logic tests are the GoogleTest cases (Suite.Case, Params/Suite.Case/N).
  ctest --test-dir build-sanitize --output-on-failure -j"$jobs" -R '^[A-Za-z/]*[A-Za-z]+\.'
else
  cmake --build build-sanitize -j"$jobs"
  ctest --test-dir build-sanitize --output-on-failure -j"$jobs"
fi
