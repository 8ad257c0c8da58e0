#!/usr/bin/env bash
# Start-up with the pre-install check of a large package: the time from starting the
# real installer until its dialog is on the screen, beside `cat package > /dev/null`
# (both with the package in the page cache), and beside the same start-up with a tiny
# package (what the window itself costs). Medians of several runs.
#
#   xvfb-run -a bench/startup-check.sh [MiB of the package, default 1024] [runs, default 5]
set -euo pipefail
source "$(dirname "$0")/common.sh"
need_display
size_mib=${1:-1024}
runs=${2:-5}
work=$(mktemp -d "${TMPDIR:-/tmp}/quarnel-startup-bench.XXXXXX")
installer_pid=
trap '[ -z "$installer_pid" ] || kill "$installer_pid" 2> /dev/null; rm -rf "$work"' EXIT

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

# Seconds from exec until the dialog is mapped.
time_startup() {
  local game=$1 start end
  start=$(now)
  start_installer "$game"
  wait_for_dialog "$installer_pid" > /dev/null || { echo "the dialog did not appear" >&2; exit 1; }
  end=$(now)
  close_installer
  elapsed "$start" "$end"
}

cat "$package" > /dev/null  # into the page cache
cats=() larges=() tinies=()
for ((run = 0; run < runs; run++)); do
  start=$(now); cat "$package" > /dev/null; end=$(now)
  cats+=("$(elapsed "$start" "$end")")
  larges+=("$(time_startup "$work/large")")
  tinies+=("$(time_startup "$work/tiny")")
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
