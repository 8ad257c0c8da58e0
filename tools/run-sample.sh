#!/usr/bin/env bash
# Sets up a new Debian 12 machine if needed, builds, generates the sample game into
# sample/out/ and starts the installer in the sample game's updates folder.
#
#   tools/run-sample.sh [en|zh]      (the language of the installer's texts)
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)
lang=${1:-en}
tools/install-deps.sh
tools/build.sh
build_dir=${QUARNEL_BUILD_DIR:-$repo/build}
tools/make-sample.sh --lang "$lang" --pack "$build_dir/tools/quarnel-pack" sample/out
updates=$repo/sample/out/game/updates
if [ ! -x "$build_dir/quarnel" ]; then
  echo "run-sample.sh: the installer $build_dir/quarnel was not built" >&2
  exit 1
fi
cp "$build_dir/quarnel" "$updates/"
if [ -z "${DISPLAY:-}" ]; then
  echo "No display to show the installer on: run it under a virtual one with  xvfb-run -a tools/run-sample.sh" >&2
  exit 1
fi
echo "Starting $updates/quarnel"
# From another folder: the installer finds the game from its own location.
cd /
exec "$updates/quarnel"
