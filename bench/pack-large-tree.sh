#!/usr/bin/env bash
# Measures quarnel-pack on a generated game tree of a few hundred MiB: the packing time
# (on all cores and on one) and the package size. The tree lives in a temporary folder
# that is removed at the end.
#
#   bench/pack-large-tree.sh [MiB]      (size of the old version; default 400)
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
pack=${QUARNEL_BUILD_DIR:-$repo/build}/tools/quarnel-pack
size_mib=${1:-400}
work=$(mktemp -d "${TMPDIR:-/tmp}/quarnel-pack-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
old=$work/old
new=$work/new

# Half the bytes in two large archives of incompressible data, half in 1 MiB files of
# which every other one compresses (text-like).
big_mib=$((size_mib / 4))
small_count=$((size_mib / 2))
mkdir -p "$old/data/packs"
for i in 1 2; do
  head -c $((big_mib << 20)) /dev/urandom > "$old/data/packs/pack$i.pak"
done
for ((i = 0; i < small_count; i++)); do
  folder=$old/data/assets/set$((i % 20))
  mkdir -p "$folder"
  if ((i % 2)); then head -c 786432 /dev/urandom | base64 -w 100; else head -c 1048576 /dev/urandom; fi \
    > "$folder/asset$i.bin"
done
printf 'Launcher\n' > "$old/Launcher.exe"
head -c 4194304 /dev/urandom > "$old/qvtr.exe"

cp -a "$old" "$new"
# One large archive gets three 64 KiB stretches rewritten and 1 MiB appended; the other
# is reorganised: its two halves swap places.
for at in 1 $((big_mib * 4)) $((big_mib * 12)); do
  head -c 65536 /dev/urandom | dd of="$new/data/packs/pack1.pak" bs=65536 seek="$at" conv=notrunc status=none
done
head -c 1048576 /dev/urandom >> "$new/data/packs/pack1.pak"
half=$((big_mib << 19))
{ tail -c +$((half + 1)) "$old/data/packs/pack2.pak"; head -c "$half" "$old/data/packs/pack2.pak"; } \
  > "$new/data/packs/pack2.pak"
# Of the small files: one in ten changed, one in twenty deleted, as many new ones added.
for ((i = 0; i < small_count; i++)); do
  file=$new/data/assets/set$((i % 20))/asset$i.bin
  if ((i % 10 == 3)); then head -c 4096 /dev/urandom | dd of="$file" bs=4096 seek=7 conv=notrunc status=none; fi
  if ((i % 20 == 5)); then rm "$file"; head -c 1048576 /dev/urandom > "$new/data/assets/new$i.bin"; fi
done
head -c 65536 /dev/urandom | dd of="$new/qvtr.exe" bs=65536 seek=20 conv=notrunc status=none

echo "old version: $(du -sm "$old" | cut -f1) MiB in $(find "$old" -type f | wc -l) files; cores: $(nproc)"
for jobs in "$(nproc)" 1; do
  rm -rf "$work/out"
  start=$(date +%s.%N)
  "$pack" --quiet --jobs "$jobs" --old "$old" --new "$new" --from 1.0 --to 1.1 --output "$work/out" > /dev/null
  end=$(date +%s.%N)
  bytes=$(stat -c %s "$work/out/1.0-1.1.7z")
  awk -v jobs="$jobs" -v start="$start" -v end="$end" -v bytes="$bytes" \
    'BEGIN { printf "jobs %s: packed in %.1f s; package %d bytes (%.1f MiB)\n", jobs, end - start, bytes, bytes / 1048576 }'
done
