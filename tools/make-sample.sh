#!/usr/bin/env bash
# Generates the sample game: two versions of a tiny game folder, the package that leads
# from one to the other, and the game folder at the old version with the installer's
# texts, the launcher manifest and the package in its updates folder.
#
#   tools/make-sample.sh [--lang en|zh] [--pack PROGRAM] [--server-list-change] OUT
#
# OUT/versions/<version>/  the two versions as published
# OUT/game/                the game as a player has it, ready for the installer
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
lang=en
pack=${QUARNEL_BUILD_DIR:-$repo/build}/tools/quarnel-pack
server_list_change=0
out=
while [ $# -gt 0 ]; do
  case $1 in
    --lang) lang=$2; shift 2 ;;
    --pack) pack=$2; shift 2 ;;
    --server-list-change) server_list_change=1; shift ;;
    -*) echo "make-sample.sh: unknown option $1" >&2; exit 2 ;;
    *) out=$1; shift ;;
  esac
done
[ -n "$out" ] || { echo "usage: make-sample.sh [--lang en|zh] [--pack PROGRAM] [--server-list-change] OUT" >&2; exit 2; }
[ -f "$repo/resources/Quarnel.$lang.cfg" ] || { echo "make-sample.sh: no texts for language '$lang'" >&2; exit 2; }
[ -x "$pack" ] || { echo "make-sample.sh: $pack not found; build first (tools/build.sh)" >&2; exit 1; }

old_version=1.0.0.7
new_version=1.0.0.8
old=$out/versions/$old_version
new=$out/versions/$new_version
game=$out/game

# Same seed, same bytes: the sample and its package come out alike on every run.
bytes() { LC_ALL=C awk -v seed="$1" -v n="$2" 'BEGIN { srand(seed); for (i = 0; i < n; i++) printf "%c", int(rand() * 256) }'; }
# put FILE: writes standard input to FILE, making its folders.
put() { mkdir -p "$(dirname "$1")"; cat > "$1"; }
launcher_config() { sed "s/@CLIENT_VERSION@/$1/" "$repo/tools/sample/Launcher.$lang.cfg"; }

rm -rf "$out/versions" "$game"

for root in "$old" "$new"; do
  printf 'Stand-in for the game launcher of the sample game.\n' | put "$root/Launcher.exe"
  bytes 31 50000 | put "$root/data/sounds/ambient.ogg"
  printf '[Servers]\nEurope=eu1.example.net\n' | put "$root/profile/ServerList.ini"
done

launcher_config "$old_version" | put "$old/profile/Launcher.cfg"
bytes 11 200000 | put "$old/qvtr.exe"
bytes 12 300000 | put "$old/data/maps/forest/terrain.bin"
bytes 13 40000 | put "$old/data/textures/old_sky.dds"
printf '<Config>\n  <Channel>stable</Channel>\n  <Proxy>none</Proxy>\n</Config>\n' | put "$old/config/Launcher.cfg"
printf '版本 %s 的说明。\n' "$old_version" | put "$old/data/文本/说明.txt"
printf 'Notes that the new version drops.\n' | put "$old/data/manual/old_notes.txt"

launcher_config "$new_version" | put "$new/profile/Launcher.cfg"
{ head -c 100000 "$old/qvtr.exe"; bytes 21 3000; tail -c +103001 "$old/qvtr.exe"; } | put "$new/qvtr.exe"
{ head -c 150000 "$old/data/maps/forest/terrain.bin"; bytes 22 20000; tail -c +150001 "$old/data/maps/forest/terrain.bin"; } \
  | put "$new/data/maps/forest/terrain.bin"
bytes 23 40000 | put "$new/data/textures/sky/new_sky.dds"
printf '<Config>\n  <Channel>stable</Channel>\n  <Proxy>none</Proxy>\n  <Telemetry>off</Telemetry>\n</Config>\n' \
  | put "$new/config/Launcher.cfg"
printf '版本 %s 的说明：新的天空。\n' "$new_version" | put "$new/data/文本/说明.txt"
printf 'Straße, Ünïcödé: a name outside ASCII.\n' | put "$new/data/Ünïcödé/straße.txt"
if [ "$server_list_change" -eq 1 ]; then
  printf '[Servers]\nEurope=eu2.example.net\n' | put "$new/profile/ServerList.ini"
fi

mkdir -p "$game"
cp -a "$old/." "$game/"
mkdir -p "$game/updates"
cp "$repo/resources/Quarnel.$lang.cfg" "$game/updates/Quarnel.cfg"
# A manifest as the launcher team keeps it: quarnel-pack adds the new client patch.
cat > "$game/updates/index.xml" <<XML
<?xml version="1.0" encoding="utf-8"?>
<root>
  <launcher>
    <patch srcVersion="2.0.0.0" destVersion="2.0.0.1"/>
  </launcher>
  <client>
    <patch srcVersion="1.0.0.6" destVersion="$old_version" Size="1048576" Crc="123456789"/>
  </client>
</root>
XML
"$pack" --quiet --old "$old" --new "$new" --from "$old_version" --to "$new_version" --output "$game/updates"
