#!/usr/bin/env bash
# The round trip with the real programs: the sample generator and quarnel-pack make the
# package, the real installer window applies it (Install pressed with the keyboard), and
# the game folder then holds the new version byte for byte, except the player's server
# list, which keeps its content by design.
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
work=$(mktemp -d "${TMPDIR:-/tmp}/quarnel-round-trip.XXXXXX")
trap 'rm -rf "$work"' EXIT

"$repo/tools/make-sample.sh" --server-list-change --pack "$build/tools/quarnel-pack" "$work/sample"
old=$work/sample/versions/1.0.0.7
new=$work/sample/versions/1.0.0.8
game=$work/sample/game
cp "$build/quarnel" "$game/updates/"
"$repo/tools/drive-installer.sh" "$game/updates" 1.0.0.8

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
