#!/usr/bin/env bash
# Builds a libFuzzer executable of every reader of outside input (spreadsheets, .xls through
# its helper, the helper's output, bills, statements, QIF and OFX files, a restore's candidate file) with
# AddressSanitizer and UndefinedBehaviorSanitizer into build-fuzz/, and runs each for SECONDS
# (default 60).
#   scripts/fuzz.sh [SECONDS] [TARGET...]
# Starting inputs: fuzz/seeds/<target>, fuzz/regressions/<target> and what the target writes
# itself; what a run learns stays in build-fuzz/corpus/<target> for the next. A finding (crash,
# sanitizer report, an input past the time or memory bound) is written to
# build-fuzz/findings/<target>/ and makes the script fail: copy it into fuzz/regressions/<target>/
# so the logic tests keep reading it once it is fixed.
set -euo pipefail
seconds=${1:-60}
shift || true
cd "$(dirname "$0")/.."
root=$PWD
out=build-fuzz

launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_C_FLAGS_DEBUG="-g -O1" -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" \
  -DCOINWICK_SANITIZE=ON -DCOINWICK_FUZZ=ON -DCOINWICK_TESTS=OFF -DCOINWICK_BENCH=OFF \
  "${launcher[@]}" >/dev/null
cmake --build "$out" -j"${JOBS:-$(nproc)}" --target fuzzers

# Qt and fontconfig keep memory to the end of the process on purpose: no leak hunting.
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1:detect_stack_use_after_return=1:allocator_may_return_null=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen

targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(xlsx xlsx-parts xls xls-frames bill statement qif ofx restore)
summary="$out/summary.tsv"
printf 'target\tseconds\truns\truns/s\tcoverage\tfeatures\tcorpus\tpeak MB\tresult\n' >"$summary"
failed=()
for t in "${targets[@]}"; do
  corpus="$out/corpus/$t"
  generated="$out/generated/$t"
  findings="$out/findings/$t"
  mkdir -p "$corpus" "$generated" "$findings"
  COINWICK_FUZZ_SEEDS="$generated" "$out/fuzz/fuzz-$t" >/dev/null 2>&1
  starts=("$generated")
  for d in "fuzz/seeds/$t" "fuzz/regressions/$t"; do [ -d "$d" ] && starts+=("$d"); done
  dict=fuzz/dict/${t%-parts}.dict
  # Bounds: what the readers promise a hostile file may cost (a few hundred MB, seconds),
  # with room for the sanitizer's own bookkeeping. The .xls helper may run 30 s before the
  # reader kills it.
  timeout=10
  [ "$t" = xls ] && timeout=40
  # A statement may be an .xls file too, read through the same helper.
  [ "$t" = statement ] && timeout=40
  log="$out/$t.log"
  result=ok
  if ! "$out/fuzz/fuzz-$t" "$corpus" "${starts[@]}" -max_total_time="$seconds" \
      -rss_limit_mb=1536 -malloc_limit_mb=1024 -timeout="$timeout" -max_len=262144 \
      -dict="$dict" -artifact_prefix="$findings/" -print_final_stats=1 \
      -close_fd_mask=1 >"$log" 2>&1; then
    result=FINDING
    failed+=("$t")
    tail -n 60 "$log"
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  last=$(grep -E '^#[0-9]+.*cov: ' "$log" | tail -1 || true)
  cov=$(sed -n 's/.*cov: \([0-9]*\).*/\1/p' <<<"$last")
  ft=$(sed -n 's/.*ft: \([0-9]*\).*/\1/p' <<<"$last")
  peak=$(sed -n 's/^stat::peak_rss_mb: *//p' "$log" | tail -1)
  files=$(find "$corpus" -type f | wc -l)
  printf '%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\n' "$t" "$seconds" "${runs:-?}" "${rate:-?}" \
    "${cov:-?}" "${ft:-?}" "$files" "${peak:-?}" "$result" >>"$summary"
done
cat "$summary"
if [ ${#failed[@]} -gt 0 ]; then
  echo "findings in: ${failed[*]} (inputs in $root/$out/findings/)" >&2
  exit 1
fi
