#!/usr/bin/env bash
# Runs the installer in a game's updates folder the way a player would, for a display
# nobody watches: waits for its dialog, presses Install, waits until the launcher
# configuration names the new version, optionally saves a picture of the screen, and
# closes the dialog. Needs xdotool (and ImageMagick's import for the picture).
#
#   tools/drive-installer.sh UPDATES_FOLDER NEW_VERSION [PICTURE.png]
set -euo pipefail
updates=$(cd "$1" && pwd)
new_version=$2
picture=${3:-}
game=$(dirname "$updates")
command -v xdotool >/dev/null || { echo "drive-installer.sh: xdotool is missing" >&2; exit 1; }

installer_pid=
trap '[ -z "$installer_pid" ] || kill -9 "$installer_pid" 2>/dev/null || true' EXIT
# Started from another folder: the installer finds the game from its own location.
(cd / && NO_AT_BRIDGE=1 exec "$updates/quarnel") &
installer_pid=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --class quarnel | head -n 1) \
  || { echo "drive-installer.sh: the installer's dialog did not appear" >&2; exit 1; }
xdotool windowfocus --sync "$window" 2>/dev/null || true
xdotool key Return

# Done when the unpacked package is cleaned away and the game reports the new version.
updated() {
  [ -z "$(find "$updates" -mindepth 1 -maxdepth 1 -type d -name "*-$new_version" -print -quit)" ] &&
    grep -q "<CurClientVersion>$new_version</CurClientVersion>" "$game/profile/Launcher.cfg"
}
for _ in $(seq 600); do updated && break; sleep 0.1; done
updated || { echo "drive-installer.sh: the update did not finish" >&2; exit 1; }
if [ -n "$picture" ]; then
  sleep 0.5  # the success report and a repaint
  import -window root "$picture"
fi
# The success report may still be on its way: Escape until the dialog lets itself close.
for _ in $(seq 20); do
  xdotool key Escape 2>/dev/null || true
  sleep 0.5
  kill -0 "$installer_pid" 2>/dev/null || break
done
if kill -0 "$installer_pid" 2>/dev/null; then echo "drive-installer.sh: the dialog did not close" >&2; exit 1; fi
status=0
wait "$installer_pid" || status=$?
installer_pid=
exit $status
