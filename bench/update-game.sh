#!/usr/bin/env bash
# A whole update of a generated game, the real installer under an X display beside the
# "tool floor": a plain script doing the same work with the same tools (7z x of the
# package, xdelta3 -d per delta, cp of each result and each added file, rm of each
# deleted file). Also the floor with each copy made durable and atomic (copy to a
# temporary file, fdatasync, rename), which is what the installer does, and the peak
# memory of the installer, and where the installer's time goes (bench/update_phases).
# Medians of several runs; every run starts from a fresh copy of the old game, with dirty
# pages written out first.
#
#   xvfb-run -a bench/update-game.sh [--large N] [--large-mib M] [--small N] [--edited N]
#       [--deleted N] [--added N] [--runs N] [--keep DIR]
# --keep DIR: the generated game stays in DIR, and a later run with the same DIR uses it.
# Default: three files of 150 MiB with 5% of their bytes rewritten in scattered 64 KiB
# blocks, 2000 small files (2 to 60 KiB) of which 100 edited, 50 deleted, and 60 added.
set -euo pipefail
source "$(dirname "$0")/common.sh"
need_display
large=3 large_mib=150 small=2000 edited=100 deleted=50 added=60 runs=3 keep=
while [ $# -gt 0 ]; do
  case $1 in
    --large) large=$2 ;; --large-mib) large_mib=$2 ;; --small) small=$2 ;; --edited) edited=$2 ;;
    --deleted) deleted=$2 ;; --added) added=$2 ;; --runs) runs=$2 ;; --keep) keep=$2 ;;
    *) echo "unknown option $1" >&2; exit 2 ;;
  esac
  shift 2
done
if [ -n "$keep" ]; then
  mkdir -p "$keep"
  work=$(cd "$keep" && pwd)
  cleanup() { rm -rf "$work/game"; }
else
  work=$(mktemp -d "${TMPDIR:-/tmp}/quarnel-update-bench.XXXXXX")
  cleanup() { rm -rf "$work"; }
fi
installer_pid=
trap '[ -z "$installer_pid" ] || kill "$installer_pid" 2> /dev/null; cleanup' EXIT
old=$work/old new=$work/new pristine=$work/pristine game=$work/game

package=$pristine/updates/$old_version-$new_version.7z
if [ ! -f "$package" ]; then
  generate_start=$(now)
  game_skeleton "$old" "$old_version"
  for ((i = 0; i < large; i++)); do random_file "$old/data/packs/pack$i.pak" $((large_mib << 20)); done
  for ((i = 0; i < small; i++)); do
    random_file "$old/data/assets/set$((i % 40))/asset$i.bin" $(((2 + RANDOM % 59) << 10))
  done
  cp -a "$old" "$new"
  game_skeleton "$new" "$new_version"
  # 5% of each large file in 64 KiB blocks at scattered places.
  blocks=$((large_mib * 16 * 5 / 100))
  for ((i = 0; i < large; i++)); do
    for ((b = 0; b < blocks; b++)); do
      head -c 65536 /dev/urandom |
        dd of="$new/data/packs/pack$i.pak" bs=65536 seek=$(((RANDOM * 32768 + RANDOM) % (large_mib * 16))) \
          conv=notrunc status=none
    done
  done
  for ((i = 0; i < edited; i++)); do
    head -c 1024 /dev/urandom | dd of="$new/data/assets/set$((i % 40))/asset$i.bin" bs=1024 seek=1 conv=notrunc status=none
  done
  for ((i = edited; i < edited + deleted; i++)); do rm "$new/data/assets/set$((i % 40))/asset$i.bin"; done
  for ((i = 0; i < added; i++)); do random_file "$new/data/added/set$((i % 7))/new$i.bin" $(((2 + RANDOM % 59) << 10)); done
  make_game "$old" "$new" "$pristine"
  package=$pristine/updates/$old_version-$new_version.7z
  echo "generated and packed in $(elapsed "$generate_start" "$(now)") s: old game $(du -sm "$old" | cut -f1) MiB," \
    "package $(stat -c %s "$package") bytes"
  rm -rf "$old" "$new"
fi

# The floor scripts, written from the package's index.
(cd "$work" && 7z x -y "$package" > /dev/null)
index=$work/$old_version-$new_version/$old_version-$new_version.xml
python3 "$repo/bench/write-floor-scripts.py" "$index" "$work/floor.sh" "$work/durable-floor.sh"
rm -rf "$work/$old_version-$new_version"

fresh_game() { rm -rf "$game"; cp -a "$pristine" "$game"; cp "$installer" "$game/updates/"; cat "$package" > /dev/null; sync; }
time_script() {
  fresh_game
  local start end
  start=$(now); bash "$1" "$game"; end=$(now)
  update_finished "$game" || { echo "$1 did not update the game" >&2; exit 1; }
  elapsed "$start" "$end"
}

floors=() durables=() installs=() rss=()
: > "$work/phases.txt"
# Each run takes its four measurements in another order, so that none of them always
# follows the same one: what the disk still has to write differs after each.
measurements=(floor durable installer phases)
for ((run = 0; run < runs; run++)); do
  for ((step = 0; step < ${#measurements[@]}; step++)); do
    case ${measurements[(run + step) % ${#measurements[@]}]} in
      floor) floors+=("$(time_script "$work/floor.sh")") ;;
      durable) durables+=("$(time_script "$work/durable-floor.sh")") ;;
      installer)
        fresh_game
        installs+=("$(run_update "$game" "$work/time.txt")")
        rss+=("$(peak_rss_mib "$work/time.txt")")
        ;;
      phases)
        fresh_game
        "$build_dir/bench/update_phases" "$game" >> "$work/phases.txt"
        ;;
    esac
  done
done

machine_line
echo "$runs runs, medians (seconds)"
floor_s=$(median "${floors[@]}")
durable_s=$(median "${durables[@]}")
install_s=$(median "${installs[@]}")
echo "tool floor (7z x, xdelta3 -d, cp, rm):          $floor_s   (runs: ${floors[*]})"
echo "floor with durable atomic copies (fdatasync, mv): $durable_s   (runs: ${durables[*]})  ratio to floor: $(ratio "$durable_s" "$floor_s")"
echo "installer, Install to Succeeded:                 $install_s   (runs: ${installs[*]})  ratio to floor: $(ratio "$install_s" "$floor_s"), to durable floor: $(ratio "$install_s" "$durable_s")"
echo "installer peak resident memory: $(median "${rss[@]}") MiB   (runs: ${rss[*]})"
echo "where the installer's time goes (worker without a window, medians):"
for field in total unpack check apply archiver xdelta3 copies deletions crc-pass; do
  values=$(awk -v f="$field" '{ for (i = 1; i < NF; i += 2) if ($i == f) print $(i + 1) }' "$work/phases.txt")
  # shellcheck disable=SC2086
  printf '  %-10s %s\n' "$field" "$(median $values)"
done
