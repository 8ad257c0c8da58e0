#!/usr/bin/env bash
# Sets up a new Debian 12 machine if needed, builds, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
tools/build.sh
build_dir=${QUARNEL_BUILD_DIR:-build}
# The end-to-end tests open real windows: give them a virtual display.
summary=$(mktemp)
trap 'rm -f "$summary"' EXIT
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir "$build_dir" --output-on-failure -j "$(nproc)" | tee "$summary"
# The same tests under the sanitizers, then each fuzz target for a bounded time.
tools/run-sanitized-tests.sh
tools/run-fuzzers.sh "${QUARNEL_FUZZ_SECONDS:-20}"
# The suite's count again, last, once everything above has passed.
sed -n 's/^[0-9]*% tests passed, \([0-9]*\) tests failed out of \([0-9]*\)$/\2 \1/p' "$summary" |
  { read -r total failed; echo "tests: $((total - failed)) passed, $failed failed"; }
