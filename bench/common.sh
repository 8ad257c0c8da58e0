# Shared by the benchmark scripts (sourced, not run): the built programs, a game folder
# made from two versions with the real package builder, the real installer driven under
# an X display, medians and the machine line.
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=${QUARNEL_BUILD_DIR:-$repo/build}
installer=$build_dir/quarnel
pack=$build_dir/tools/quarnel-pack
for program in "$installer" "$pack"; do
  [ -x "$program" ] || { echo "$program not found; build first (tools/build.sh)" >&2; exit 1; }
done
old_version=1.0
new_version=1.1

# random_file FILE BYTES: incompressible content, folders made.
random_file() { mkdir -p "$(dirname "$1")"; head -c "$2" /dev/urandom > "$1"; }

# A version of a game folder with the few files the installer needs to find the game.
game_skeleton() {
  local root=$1 version=$2
  mkdir -p "$root/profile"
  printf 'launcher\n' > "$root/Launcher.exe"
  printf 'client\n' > "$root/qvtr.exe"
  sed "s/@CLIENT_VERSION@/$version/" "$repo/tools/sample/Launcher.en.cfg" > "$root/profile/Launcher.cfg"
}

# make_game OLD NEW GAME [pack options]: GAME becomes OLD with the installer, its texts,
# the manifest and the package from OLD to NEW in GAME/updates.
make_game() {
  local old=$1 new=$2 game=$3
  shift 3
  rm -rf "$game"
  cp -a "$old" "$game"
  mkdir -p "$game/updates"
  cp "$installer" "$game/updates/"
  cp "$repo/resources/Quarnel.en.cfg" "$game/updates/Quarnel.cfg"
  printf '<?xml version="1.0" encoding="utf-8"?>\n<root><launcher/><client/></root>\n' > "$game/updates/index.xml"
  "$pack" --quiet "$@" --old "$old" --new "$new" --from "$old_version" --to "$new_version" \
    --output "$game/updates" > /dev/null
}

# bash keeps the clock itself: no process started for a reading
now() { echo "$EPOCHREALTIME"; }
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", b - a }'; }
# median of the numbers given as arguments
median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

machine_line() {
  echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//'), $(awk '/MemTotal/ { printf "%.0f GiB", $2 / 1048576 }' /proc/meminfo); load average $(cut -d' ' -f1-3 /proc/loadavg)"
}

need_display() {
  [ -n "${DISPLAY:-}" ] || { echo "needs an X display: run it as  xvfb-run -a $0" >&2; exit 1; }
  command -v xdotool > /dev/null || { echo "needs xdotool" >&2; exit 1; }
}

# The installer's dialog window, polled every few milliseconds until it is mapped.
wait_for_dialog() {
  local pid=$1 window
  for _ in $(seq 6000); do
    window=$(xdotool search --onlyvisible --class quarnel 2> /dev/null | head -n 1) || true
    [ -n "$window" ] && { echo "$window"; return 0; }
    kill -0 "$pid" 2> /dev/null || return 1
    sleep 0.005
  done
  return 1
}

# For a dialog that did not appear: whether the display still answers, which tells a
# display fault from an installer fault.
dialog_missing() {
  echo "the installer's dialog did not appear ($(date +%T)); the display answers:" >&2
  xdotool getdisplaygeometry >&2 || true
}

# start_installer GAME [time -v output]: starts the installer in GAME/updates from another
# folder (it finds the game from its own location); sets installer_pid.
start_installer() {
  local game=$1 report=${2:-}
  if [ -n "$report" ]; then
    (cd / && NO_AT_BRIDGE=1 exec /usr/bin/time -v -o "$report" "$game/updates/quarnel") &
  else
    (cd / && NO_AT_BRIDGE=1 exec "$game/updates/quarnel") &
  fi
  installer_pid=$!
}

# The update is done when the worker removed the unpacked package and the staging folder
# (its last steps before it reports success) and the new version is in place. Shell
# built-ins first: the polling must not take the processors from the installer.
update_finished() {
  local game=$1
  [ ! -e "$game/updates/$old_version-$new_version" ] && [ ! -e "$game/updates/installer" ] &&
    grep -q "<CurClientVersion>$new_version</CurClientVersion>" "$game/profile/Launcher.cfg"
}

# close_installer: Escape until the dialog lets itself close, then reaps it.
close_installer() {
  for _ in $(seq 40); do
    xdotool key Escape 2> /dev/null || true
    sleep 0.25
    kill -0 "$installer_pid" 2> /dev/null || break
  done
  kill "$installer_pid" 2> /dev/null || true
  wait "$installer_pid" 2> /dev/null || true
  installer_pid=
}

# run_update GAME [time -v output]: presses Install and prints the seconds from the key
# press until the update finished (polled every 20 ms).
run_update() {
  local game=$1 report=${2:-} window start
  start_installer "$game" "$report"
  window=$(wait_for_dialog "$installer_pid") || { dialog_missing; return 1; }
  xdotool windowfocus --sync "$window" 2> /dev/null || true
  start=$(now)
  xdotool key Return
  for _ in $(seq 30000); do
    update_finished "$game" && break
    kill -0 "$installer_pid" 2> /dev/null || break
    sleep 0.02
  done
  local end
  end=$(now)
  update_finished "$game" || { echo "the update did not finish" >&2; close_installer; return 1; }
  close_installer
  elapsed "$start" "$end"
}

# peak_rss_mib REPORT: the maximum resident set size from a /usr/bin/time -v report.
peak_rss_mib() { awk -F: '/Maximum resident set size/ { printf "%.1f", $2 / 1024 }' "$1"; }
