#!/usr/bin/env bash
# The round trip with the real programs: the sample generator and quarnel-pack make the
# package, the real installer window applies it (Install pressed with the keyboard,
# closed with Escape), and the game folder then holds the new version byte for byte,
# except the player's server list, which keeps its content by design.
#
#   installer_window_round_trip.sh BUILD_DIR
#
# It runs on a virtual display of its own, so that no other window test's keystrokes
# reach it, and needs xvfb-run and xdotool.
set -euo pipefail
skip=77
if [ -z "${QUARNEL_OWN_DISPLAY:-}" ]; then
  command -v xvfb-run >/dev/null || { echo "xvfb-run is missing"; exit $skip; }
  QUARNEL_OWN_DISPLAY=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi
build=$1
repo=$(cd "$(dirname "$0")/../.." && pwd)
command -v xdotool >/dev/null || { echo "xdotool is missing"; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/quarnel-round-trip.XXXXXX")
installer_pid=
cleanup() {
  [ -z "$installer_pid" ] || kill -9 "$installer_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

"$repo/tools/make-sample.sh" --server-list-change --pack "$build/tools/quarnel-pack" "$work/sample"
old=$work/sample/versions/1.0.0.7
new=$work/sample/versions/1.0.0.8
game=$work/sample/game
cp "$build/quarnel" "$game/updates/"

# Started from another folder: the installer finds the game from its own location.
(cd / && NO_AT_BRIDGE=1 exec "$game/updates/quarnel") &
installer_pid=$!
# The dialog window itself carries the Install button and the log list.
window=$(timeout 20 xdotool search --sync --onlyvisible --class quarnel | head -n 1) \
  || { echo "the installer's dialog did not appear"; exit 1; }
xdotool windowfocus --sync "$window" 2>/dev/null || true
xdotool key Return

finished() { [ ! -e "$game/updates/1.0.0.7-1.0.0.8" ] && cmp -s "$new/profile/Launcher.cfg" "$game/profile/Launcher.cfg"; }
for _ in $(seq 600); do finished && break; sleep 0.1; done
finished || { echo "the update did not finish"; exit 1; }
# The success report may still be on its way: Escape until the dialog lets itself close.
for _ in $(seq 20); do
  xdotool key Escape 2>/dev/null || true
  sleep 0.5
  kill -0 "$installer_pid" 2>/dev/null || break
done
if kill -0 "$installer_pid" 2>/dev/null; then echo "the dialog did not close"; exit 1; fi
wait "$installer_pid" || { echo "the installer ended with a failure"; exit 1; }
installer_pid=

# What the installer leaves by design: its own folder, the launcher configuration's
# back-up, and folders emptied by deletions (an index names files only); the server list
# stays the player's.
expected=$work/expected
cp -a "$new" "$expected"
cp "$old/profile/ServerList.ini" "$expected/profile/ServerList.ini"
cp "$old/profile/Launcher.cfg" "$expected/profile/Launcher.cfg.bak"
rm -rf "$game/updates"
find "$game" -type d -empty -delete
diff -r "$expected" "$game"
echo "the installed game equals the new version"
