#!/usr/bin/env bash
# The real installer window, Install pressed, killed with SIGKILL (with the tool it runs)
# while it copies a large added file and while xdelta3 rebuilds a large file: every game
# file is then wholly its old or wholly its new version, no temporary copy is left in the
# game folder, and a new run of the installer finishes the update.
#
#   killed_window_installer.sh BUILD_DIR
#
# It runs on a virtual display of its own and needs xvfb-run and xdotool.
set -euo pipefail
skip=77
if [ -z "${QUARNEL_OWN_DISPLAY:-}" ]; then
  command -v xvfb-run >/dev/null || { echo "xvfb-run is missing"; exit $skip; }
  QUARNEL_OWN_DISPLAY=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi
command -v xdotool >/dev/null || { echo "xdotool is missing"; exit $skip; }
build=$1
repo=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/quarnel-killed.XXXXXX")
installer_pid=
cleanup() {
  [ -z "$installer_pid" ] || kill -9 -- "-$installer_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

"$repo/tools/make-sample.sh" --pack "$build/tools/quarnel-pack" "$work/sample" >/dev/null
old=$work/sample/versions/1.0.0.7
new=$work/sample/versions/1.0.0.8
game=$work/sample/game
# Large files, so that the kill lands while they are copied or rebuilt.
mkdir -p "$new/media" "$old/data/large" "$new/data/large"
head -c 48M /dev/urandom >"$new/media/big added.bin"
head -c 48M /dev/urandom >"$old/data/large/big patched.bin"
cp "$old/data/large/big patched.bin" "$new/data/large/big patched.bin"
head -c 1M /dev/urandom | dd of="$new/data/large/big patched.bin" bs=1M seek=20 conv=notrunc status=none
cp -a "$old/data/large" "$game/data/"
rm -f "$game/updates/"*.7z
"$build/tools/quarnel-pack" --quiet --old "$old" --new "$new" --from 1.0.0.7 --to 1.0.0.8 --output "$game/updates" >/dev/null
cp "$build/quarnel" "$game/updates/"

# Every file of either version is in the trial game as one of the two versions.
check_old_or_new() {
  local trial=$1 relative
  while IFS= read -r -d '' relative; do
    [ "$relative" = "profile/ServerList.ini" ] && continue  # the player's, never patched
    if [ -e "$trial/$relative" ]; then
      cmp -s "$old/$relative" "$trial/$relative" 2>/dev/null || cmp -s "$new/$relative" "$trial/$relative" 2>/dev/null ||
        { echo "FAIL: $relative is neither the old nor the new version"; return 1; }
    elif [ -e "$old/$relative" ] && [ -e "$new/$relative" ]; then
      echo "FAIL: $relative is missing"
      return 1
    fi
  done < <(cd "$old" && find . -type f -printf '%P\0'; cd "$new" && find . -type f -printf '%P\0')
  local leftovers
  leftovers=$(find "$trial" -name '*.quarnel-*')
  [ -z "$leftovers" ] || { echo "FAIL: temporary copies left: $leftovers"; return 1; }
}

writes_copy_into() { ls -l "/proc/$installer_pid/fd" 2>/dev/null | grep -q -- "$1/.*\(deleted\|\.quarnel-\)"; }

# trial NAME CONDITION: a fresh copy of the game, Install pressed, killed once CONDITION holds.
trial() {
  local name=$1 condition=$2 trial=$work/$1
  cp -a "$game" "$trial"
  setsid "$trial/updates/quarnel" &
  installer_pid=$!
  local window
  window=$(timeout 20 xdotool search --sync --onlyvisible --class quarnel | head -n 1) ||
    { echo "FAIL: $name: the dialog did not appear"; return 1; }
  xdotool windowfocus --sync "$window" 2>/dev/null || true
  xdotool key Return
  local deadline=$((SECONDS + 120))
  until (TRIAL=$trial; eval "$condition"); do
    kill -0 "$installer_pid" 2>/dev/null && [ $SECONDS -lt $deadline ] ||
      { echo "FAIL: $name: the moment never came"; return 1; }
  done
  kill -9 -- "-$installer_pid"
  wait "$installer_pid" 2>/dev/null || true
  installer_pid=
  check_old_or_new "$trial"
  NO_AT_BRIDGE=1 "$repo/tools/drive-installer.sh" "$trial/updates" 1.0.0.8 ||
    { echo "FAIL: $name: the next run did not finish the update"; return 1; }
  cmp "$new/media/big added.bin" "$trial/media/big added.bin"
  cmp "$new/data/large/big patched.bin" "$trial/data/large/big patched.bin"
  echo "killed $name: every file old or new, nothing left behind, the next run finished the update"
  rm -rf "$trial"
}

export NO_AT_BRIDGE=1
trial copying 'writes_copy_into "$TRIAL/media"'
trial rebuilding '[ -e "$TRIAL/updates/installer/data/large/big patched.bin" ]'
