#!/usr/bin/env bash
# Takes a screenshot of the installer's dialog after a successful update: runs the window
# test that installs a real package on a virtual display, saves the screen, and trims it
# to the dialog. Usage: tools/screenshot-dialog.sh [output.png]
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=$(realpath "${QUARNEL_BUILD_DIR:-build}")
output=$(realpath -m "${1:-$build_dir/dialog-after-success.png}")
cmake --build "$build_dir" --target quarnel app_tests >/dev/null
rm -f "$output"
QUARNEL_BUILD_DIR="$build_dir" QUARNEL_SCREENSHOT="$output" \
  xvfb-run -a -s "-screen 0 1280x1024x24" "$build_dir/tests/app_tests" \
  --gtest_filter='InstallerWindowTest.InstallPressedUpdatesTheGameAndCloseEndsTheProgram' >/dev/null
# The bare display is black around the dialog.
convert "$output" -trim +repage "$output"
echo "$output"
