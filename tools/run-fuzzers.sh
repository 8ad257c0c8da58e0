#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer)
# into build-fuzz and runs each for a bounded time: tools/run-fuzzers.sh [seconds per target]
# (default 30). Any crash, hang, leak, out-of-memory or undefined behaviour fails the run;
# the input that caused it is left in build-fuzz/findings/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
build=build-fuzz
seeds=tests/fuzz/corpus

CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUARNEL_FUZZ=ON \
  -DQUARNEL_WITH_WX=OFF -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target fuzzers

# The readers take files: keep them in memory where the system offers it, so that the
# writes (and the back-up copy's flush to disk) do not slow every input down.
[ -z "${TMPDIR:-}" ] && [ -w /dev/shm ] && export TMPDIR=/dev/shm
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export ASAN_OPTIONS="detect_leaks=1"
mkdir -p "$build/findings"
failed=()
for program in "$build"/tests/fuzz/*_fuzzer; do
  target=$(basename "$program" _fuzzer)
  dictionary=tests/fuzz/xml.dict
  [ "$target" = format_text ] && dictionary=tests/fuzz/format.dict
  [ "$target" = unsigned_number ] && dictionary=""
  # New inputs go to the build's own corpus; the checked-in seeds are only read.
  mkdir -p "$build/corpus/$target"
  echo "== $target: $seconds s"
  if ! "$program" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=16384 \
      -print_final_stats=1 -artifact_prefix="$build/findings/$target-" \
      ${dictionary:+-dict="$dictionary"} "$build/corpus/$target" "$seeds/$target" \
      > "$build/$target.log" 2>&1; then
    tail -n 60 "$build/$target.log"
    failed+=("$target")
  else
    grep -E '^stat::number_of_executed_units|^#[0-9]+.*DONE' "$build/$target.log" | tail -n 2 || true
  fi
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "Fuzzing found faults in: ${failed[*]} (inputs in $build/findings/)"
  exit 1
fi
