#!/usr/bin/env bash
# A package of many small entries of every kind through the real installer window under
# an X display: time per entry from Install to Succeeded, peak memory, and the tool floor
# (bench/write-floor-scripts.py) beside it. Then the same package with an open-file limit
# below the number of files the check phase holds: the update must stop in the check
# phase with the game unchanged.
#
#   xvfb-run -a bench/scale-entries.sh [entries, default 10000] [runs, default 3; 0: only the limit]
set -euo pipefail
source "$(dirname "$0")/common.sh"
need_display
entries=${1:-10000}
runs=${2:-3}
work=$(mktemp -d "${TMPDIR:-/tmp}/quarnel-scale-bench.XXXXXX")
installer_pid=
trap '[ -z "$installer_pid" ] || kill "$installer_pid" 2> /dev/null; rm -rf "$work"' EXIT
old=$work/old new=$work/new pristine=$work/pristine game=$work/game

# A third of the entries of each kind, in 100 folders, 1 to 8 KiB each.
generate_start=$(now)
game_skeleton "$old" "$old_version"
game_skeleton "$new" "$new_version"
python3 - "$old" "$new" "$entries" << 'PY'
import os, random, sys
old, new, entries = sys.argv[1], sys.argv[2], int(sys.argv[3])
random.seed(7)
def put(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, 'wb') as f:
        f.write(data)
per_kind = entries // 3
for i in range(entries):
    name = f'data/set{i % 100}/file{i}.bin'
    data = os.urandom(random.randint(1024, 8192))
    kind = i % 3
    if kind == 0 or i >= 3 * per_kind:       # added
        put(os.path.join(new, name), data)
    elif kind == 1:                          # deleted
        put(os.path.join(old, name), data)
    else:                                    # patched: one 64-byte stretch rewritten
        put(os.path.join(old, name), data)
        changed = bytearray(data)
        changed[100:164] = os.urandom(64)
        put(os.path.join(new, name), bytes(changed))
PY
make_game "$old" "$new" "$pristine"
package=$pristine/updates/$old_version-$new_version.7z
rm -rf "$old" "$new"
(cd "$work" && 7z x -y "$package" > /dev/null)
index=$work/$old_version-$new_version/$old_version-$new_version.xml
# "entries: A added, D deleted, P patched"
read -r _ added _ deleted _ patched _ < <(python3 "$repo/bench/write-floor-scripts.py" "$index" "$work/floor.sh" \
  "$work/durable-floor.sh")
count=$((added + deleted + patched))
held=$((added + deleted + 2 * patched))
rm -rf "${work:?}/$old_version-$new_version"
echo "generated and packed in $(elapsed "$generate_start" "$(now)") s: $count entries ($added added," \
  "$deleted deleted, $patched patched; the check phase holds $held files), package $(stat -c %s "$package") bytes"

fresh_game() { rm -rf "$game"; cp -a "$pristine" "$game"; sync; }
floors=() installs=() rss=()
for ((run = 0; run < runs; run++)); do
  fresh_game
  start=$(now); bash "$work/floor.sh" "$game"; floors+=("$(elapsed "$start" "$(now)")")
  fresh_game
  installs+=("$(run_update "$game" "$work/time.txt")")
  rss+=("$(peak_rss_mib "$work/time.txt")")
done

# Too few descriptors for the holds: soft and hard limit alike, so raising the soft limit
# to the hard one at start-up does not help.
limit=$((held / 2))
fresh_game
(cd / && NO_AT_BRIDGE=1 exec prlimit --nofile="$limit:$limit" "$game/updates/quarnel") &
installer_pid=$!
window=$(wait_for_dialog "$installer_pid") || { dialog_missing; exit 1; }
# After start-up, which refreshes profile/Launcher.cfg.bak.
before=$(cd "$game" && find . -path ./updates -prune -o -type f -printf '%p %s %T@\n' | sort | md5sum)
xdotool windowfocus --sync "$window" 2> /dev/null || true
xdotool key Return
refused=no
for _ in $(seq 12000); do
  if xdotool search --onlyvisible --name '^Error$' > /dev/null 2>&1; then refused=yes; break; fi
  sleep 0.01
done
xdotool key Return 2> /dev/null || true  # dismisses the message
sleep 0.5
close_installer
after=$(cd "$game" && find . -path ./updates -prune -o -type f -printf '%p %s %T@\n' | sort | md5sum)
unchanged=$([ "$before" = "$after" ] && echo yes || echo no)

machine_line
if ((runs > 0)); then
  install_s=$(median "${installs[@]}")
  echo "$runs runs, medians"
  echo "installer, Install to Succeeded: $install_s s   (runs: ${installs[*]});" \
    "$(awk -v s="$install_s" -v n="$count" 'BEGIN { printf "%.2f ms", 1000 * s / n }') per entry"
  echo "installer peak resident memory: $(median "${rss[@]}") MiB   (runs: ${rss[*]})"
  floor_s=$(median "${floors[@]}")
  echo "tool floor: $floor_s s   (runs: ${floors[*]}); installer ratio to floor: $(ratio "$install_s" "$floor_s")"
fi
echo "open-file limit $limit below the $held holds: error message shown: $refused; game unchanged: $unchanged"
