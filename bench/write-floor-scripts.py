#!/usr/bin/env python3
"""Writes the "tool floor" scripts of a package from its index: the update done by the
plain tools (7z x, xdelta3 -d per delta, cp of each result and each added file, rm of
each deleted file), once with plain copies and once with durable atomic copies (copy to
a temporary file, fdatasync, rename). Each script takes the game folder as its argument.

    write-floor-scripts.py INDEX PLAIN_SCRIPT DURABLE_SCRIPT
"""
import os, shlex, sys, xml.etree.ElementTree as tree
index, plain, durable = sys.argv[1:]
root = tree.parse(index).getroot()
base = os.path.splitext(os.path.basename(index))[0]
def entries(name):
    found = root.find('.//' + name)
    return [] if found is None else [e.attrib for e in found]
def native(path):
    return path.replace('\\', '/')
def write(out, copy):
    q = shlex.quote
    lines = ['set -e', f'U="$1/updates/{base}"; S="$1/updates/installer"; G="$1"',
             f'7z x -y "$1/updates/{base}.7z" -o"$1/updates" -aoa > /dev/null']
    for e in entries('AddedFiles'):
        name = native(e['SrcFile'])
        lines.append(f'mkdir -p "$G"/{q(name.rpartition("/")[0] or ".")}')
        lines.append(copy(f'"$U"/{q(name)}', f'"$G"/{q(name)}'))
    for e in entries('DeletedFiles'):
        lines.append(f'rm -f "$G"/{q(native(e["SrcFile"]))}')
    for e in entries('PatchFiles'):
        name, delta = native(e['SrcFile']), native(e['PatchFile'])
        lines.append(f'mkdir -p "$S"/{q(name.rpartition("/")[0] or ".")}')
        lines.append(f'xdelta3 -d -D -s "$G"/{q(name)} "$U"/{q(delta)} "$S"/{q(name)}')
        lines.append(copy(f'"$S"/{q(name)}', f'"$G"/{q(name)}'))
        lines.append(f'rm "$S"/{q(name)}')
    lines.append('rm -rf "$U" "$S"')
    open(out, 'w').write('\n'.join(lines) + '\n')
write(plain, lambda a, b: f'cp {a} {b}')
write(durable, lambda a, b: f'cp {a} {b}.part && sync -d {b}.part && mv {b}.part {b}')
print(f"entries: {len(entries('AddedFiles'))} added, {len(entries('DeletedFiles'))} deleted, "
      f"{len(entries('PatchFiles'))} patched")
