#!/usr/bin/env bash
# A structure file taken into a world from the command line is listed under
# the name given and comes out again byte for byte; a file of another shape
# is refused and nothing is stored.
# usage: structures.sh <gorvane-world> <world folder>
set -euo pipefail
dump=$1 world=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cp -a "$world" "$scratch/world"
# One stone block and its empty water layer, as little-endian NBT written
# here by hand.
python3 - "$scratch/in.mcstructure" <<'PY'
import struct, sys
def name(text): return struct.pack("<H", len(text)) + text.encode()
def tag(kind, key, payload): return bytes([kind]) + name(key) + payload
def integer(key, value): return tag(3, key, struct.pack("<i", value))
def string(key, text): return tag(8, key, name(text))
def ints(values): return bytes([3]) + struct.pack("<i", len(values)) + b"".join(struct.pack("<i", v) for v in values)
def compound(key, *children): return tag(10, key, b"".join(children) + b"\0")
block = string("name", "minecraft:stone") + compound("states") + integer("version", 18040335) + b"\0"
structure = compound("",
    integer("format_version", 1),
    tag(9, "size", ints([1, 1, 1])),
    compound("structure",
        tag(9, "block_indices", bytes([9]) + struct.pack("<i", 2) + ints([0]) + ints([-1])),
        tag(9, "entities", bytes([10]) + struct.pack("<i", 0)),
        compound("palette", compound("default",
            tag(9, "block_palette", bytes([10]) + struct.pack("<i", 1) + block),
            compound("block_position_data")))),
    tag(9, "structure_world_origin", ints([4, 64, -8])))
open(sys.argv[1], "wb").write(structure)
PY
[ "$("$dump" structures "$scratch/world")" = "" ]
"$dump" import-structure "$scratch/world" "$scratch/in.mcstructure" house >/dev/null
[ "$("$dump" structures "$scratch/world")" = "mystructure:house" ]
"$dump" export-structure "$scratch/world" mystructure:house "$scratch/out.mcstructure" >/dev/null
cmp "$scratch/in.mcstructure" "$scratch/out.mcstructure"
head -c 40 "$scratch/in.mcstructure" >"$scratch/bad.mcstructure"
if "$dump" import-structure "$scratch/world" "$scratch/bad.mcstructure" shed 2>"$scratch/err"; then exit 1; fi
grep -q "is not a structure" "$scratch/err"
[ "$("$dump" structures "$scratch/world")" = "mystructure:house" ]
