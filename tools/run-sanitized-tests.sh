#!/usr/bin/env bash
# Builds and runs the tests under the sanitizers: the whole suite with AddressSanitizer and
# UndefinedBehaviorSanitizer (build-asan), the worker and dialog tests (engine and ui) with
# ThreadSanitizer (build-tsan). Any report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
suppressions=$PWD/tests/sanitizers

export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:strict_init_order=1:check_initialization_order=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$suppressions/lsan.supp:print_suppressions=0"
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$suppressions/tsan.supp"

configure() {
  local dir=$1 sanitizer=$2
  shift 2
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUARNEL_SANITIZER="$sanitizer" "$@" >/dev/null
}

# Targets of the list that the build defines (areas without tests have no program).
existing_targets() {
  local dir=$1 help
  shift
  help=$(cmake --build "$dir" --target help)
  for target in "$@"; do
    grep -qw "$target" <<<"$help" && echo "$target"
  done
}

run_ctest() {
  xvfb-run -a -s "-screen 0 1280x1024x24" \
    ctest --test-dir "$1" --output-on-failure -j "$jobs" "${@:2}"
}

echo "== AddressSanitizer and UndefinedBehaviorSanitizer: whole suite"
configure build-asan address
cmake --build build-asan -j "$jobs"
run_ctest build-asan

echo "== ThreadSanitizer: worker and dialog tests"
configure build-tsan thread -DQUARNEL_WITH_WX=OFF
mapfile -t tsan_targets < <(existing_targets build-tsan engine_tests ui_tests)
cmake --build build-tsan -j "$jobs" --target "${tsan_targets[@]}"
run_ctest build-tsan -L '^(engine|ui)$'
