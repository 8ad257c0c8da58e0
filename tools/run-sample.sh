#!/usr/bin/env bash
# Sets up a new Debian 12 machine if needed, builds, generates the sample game into
# sample/out/ (afresh, at the old version) and starts the installer in the sample game's
# updates folder.
#
#   tools/run-sample.sh [--lang en|zh] [--press-install]
#
# --press-install: for a display nobody watches (xvfb-run): the script presses Install
# itself, saves a picture of the finished dialog to sample/out/installer.png and closes it.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)
lang=en
press_install=0
while [ $# -gt 0 ]; do
  case $1 in
    --lang) lang=$2; shift 2 ;;
    --press-install) press_install=1; shift ;;
    *) echo "usage: tools/run-sample.sh [--lang en|zh] [--press-install]" >&2; exit 2 ;;
  esac
done
tools/install-deps.sh
tools/build.sh
build_dir=${QUARNEL_BUILD_DIR:-$repo/build}
tools/make-sample.sh --lang "$lang" --pack "$build_dir/tools/quarnel-pack" sample/out
updates=$repo/sample/out/game/updates
cp "$build_dir/quarnel" "$updates/"
if [ -z "${DISPLAY:-}" ]; then
  echo "No display to show the installer on: run it on a virtual one with  xvfb-run -a tools/run-sample.sh --press-install" >&2
  exit 1
fi
if [ "$press_install" -eq 1 ]; then
  tools/drive-installer.sh "$updates" 1.0.0.8 "$repo/sample/out/installer.png"
  echo "The sample game was updated to 1.0.0.8; the dialog is pictured in sample/out/installer.png"
  exit 0
fi
echo "Starting $updates/quarnel: press Install"
# From another folder: the installer finds the game from its own location.
cd /
exec "$updates/quarnel"
