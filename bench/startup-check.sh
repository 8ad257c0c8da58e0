#!/usr/bin/env bash
# Start-up with the pre-install check of a large package: the time from starting the
# real installer until its dialog is on the screen, beside `cat package > /dev/null`
# (both with the package in the page cache), and beside the same start-up with a tiny
# package (what the window itself costs). Also the same start-up on the headless window
# system (bench/headless_startup), which shows the check without the window toolkit.
# Medians of several runs.
#
#   xvfb-run -a bench/startup-check.sh [MiB of the package, default 1024] [runs, default 5]
set -euo pipefail
source "$(dirname "$0")/common.sh"
need_display
for program in dialog_appears headless_startup; do
  [ -x "$build_dir/bench/$program" ] || { echo "needs bench/$program; build first" >&2; exit 1; }
done
size_mib=${1:-1024}
runs=${2:-5}
work=$(mktemp -d "${TMPDIR:-/tmp}/quarnel-startup-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

# Two games: one whose package adds a file of the given size (stored, so the package is
# that large), one whose package adds a few bytes.
for kind in large tiny; do
  game_skeleton "$work/$kind-old" "$old_version"
  game_skeleton "$work/$kind-new" "$new_version"
done
random_file "$work/large-new/data/large.pak" $((size_mib << 20))
printf 'tiny\n' > "$work/tiny-new/data.txt"
make_game "$work/large-old" "$work/large-new" "$work/large" --level 0
make_game "$work/tiny-old" "$work/tiny-new" "$work/tiny" --level 0
package=$work/large/updates/$old_version-$new_version.7z
cp "$build_dir/bench/headless_startup" "$work/large/updates/"

# Seconds from exec until the dialog is mapped, as the X server reports it.
time_startup() {
  (cd / && NO_AT_BRIDGE=1 exec "$build_dir/bench/dialog_appears" "$1/updates/quarnel") ||
    { echo "the dialog did not appear" >&2; exit 1; }
}

# Seconds from exec until the headless start-up has shown its dialog and ended.
time_headless_startup() {
  local start end
  start=$(now)
  (cd / && exec "$1/updates/headless_startup") || { echo "the headless start-up failed" >&2; exit 1; }
  end=$(now)
  elapsed "$start" "$end"
}

cat "$package" > /dev/null  # into the page cache
cats=() larges=() tinies=() headlesses=()
for ((run = 0; run < runs; run++)); do
  start=$(now); cat "$package" > /dev/null; end=$(now)
  cats+=("$(elapsed "$start" "$end")")
  larges+=("$(time_startup "$work/large")")
  tinies+=("$(time_startup "$work/tiny")")
  headlesses+=("$(time_headless_startup "$work/large")")
done

machine_line
echo "package: $(stat -c %s "$package") bytes; $runs runs, medians"
cat_s=$(median "${cats[@]}")
large_s=$(median "${larges[@]}")
tiny_s=$(median "${tinies[@]}")
echo "cat package > /dev/null:              $cat_s s   (runs: ${cats[*]})"
echo "start-up to dialog, large package:    $large_s s   (runs: ${larges[*]})  ratio to cat: $(ratio "$large_s" "$cat_s")"
echo "start-up to dialog, tiny package:     $tiny_s s   (runs: ${tinies[*]})"
check_s=$(awk -v a="$large_s" -v b="$tiny_s" 'BEGIN { printf "%.3f", a - b }')
echo "of which the package check (large - tiny): $check_s s   ratio to cat: $(ratio "$check_s" "$cat_s")"
headless_s=$(median "${headlesses[@]}")
echo "headless start-up to dialog, large package: $headless_s s   (runs: ${headlesses[*]})  ratio to cat: $(ratio "$headless_s" "$cat_s")"
