#!/usr/bin/env bash
# A world exported and imported again from the command line comes back
# byte for byte, under a new folder name, and the export leaves it alone; a
# copy is the same world under its own name.
# usage: export_import.sh <gorvane-world> <world folder>
set -euo pipefail
dump=$1 world=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cp -a "$world" "$scratch/before"
cp -a "$world" "$scratch/world"
mkdir -p "$scratch/com.mojang/minecraftWorlds" "$scratch/out"
"$dump" export "$scratch/world" "$scratch/out/carried.mcworld" >/dev/null
"$dump" import "$scratch/out/carried.mcworld" "$scratch/com.mojang" >/dev/null
diff -r "$scratch/before" "$scratch/world"
imported=("$scratch"/com.mojang/minecraftWorlds/*)
[ ${#imported[@]} -eq 1 ]
[ "$(basename "${imported[0]}" | wc -c)" -eq 13 ]
diff -r "$scratch/before" "${imported[0]}"
# The same archive is no world once an entry leads outside it.
python3 - "$scratch/out/carried.mcworld" "$scratch/bad.mcworld" <<'PY'
import sys, zipfile
with zipfile.ZipFile(sys.argv[1]) as src, zipfile.ZipFile(sys.argv[2], "w") as dst:
    for item in src.infolist():
        dst.writestr(item, src.read(item))
    dst.writestr("../escape", b"x")
PY
if "$dump" import "$scratch/bad.mcworld" "$scratch/com.mojang" 2>"$scratch/err"; then exit 1; fi
grep -q 'its entry "../escape" leads out of the world folder' "$scratch/err"
[ "$(ls "$scratch/com.mojang/minecraftWorlds" | wc -l)" -eq 1 ]
[ ! -e "$scratch/escape" ] && [ ! -e "$scratch/com.mojang/escape" ]
# A copy beside the imported world: the same files but for its names.
"$dump" copy "${imported[0]}" >/dev/null
[ "$(ls "$scratch/com.mojang/minecraftWorlds" | wc -l)" -eq 2 ]
for copy in "$scratch"/com.mojang/minecraftWorlds/*; do
  [ "$copy" = "${imported[0]}" ] && continue
  [ "$(cat "$copy/levelname.txt")" = "Copy of $(cat "$scratch/before/levelname.txt")" ]
  diff -r -x level.dat -x level.dat_old -x levelname.txt "$scratch/before" "$copy"
done
