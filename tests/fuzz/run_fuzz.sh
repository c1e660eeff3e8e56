#!/usr/bin/env bash
# Builds one fuzz target with clang++ (libFuzzer, AddressSanitizer with leak
# checking, UndefinedBehaviorSanitizer) and runs it for FUZZ_SECONDS (60).
# The corpus lives in the work folder and grows from run to run; it starts
# from the demo game's files.
# usage: run_fuzz.sh <source root> <work folder> [target]
#   targets: tarnbook (NBT records and level.dat files, the default),
#            options (the options file's reader and writer),
#            archive (the .mcworld archive's reader),
#            map (the sub-chunks of every version and the early whole chunk),
#            blockentity (a chunk's block-entities value and checksums record),
#            structure (the .mcstructure file's reader),
#            creature (an entity record, an old-form value and a digest: the
#                      listing's scanner against the tree reader)
# Exit status: 0 no finding, 77 skipped (no usable clang++), 1 a crash or a
# leak, 2 a hang.
set -euo pipefail
root=$1 work=$2 name=${3:-tarnbook}
seconds=${FUZZ_SECONDS:-${TARNBOOK_FUZZ_SECONDS:-60}}

if ! command -v clang++ >/dev/null 2>&1; then
  echo "clang++ not found: fuzzing skipped"
  exit 77
fi
mkdir -p "$work/corpus"
probe="$work/probe.cpp"
printf '#include <cstdint>\n#include <cstddef>\nextern "C" int LLVMFuzzerTestOneInput(const uint8_t*, size_t) { return 0; }\n' >"$probe"
if ! clang++ -fsanitize=fuzzer "$probe" -o "$work/probe" >/dev/null 2>&1; then
  echo "clang++ has no libFuzzer: fuzzing skipped"
  exit 77
fi

lib="$root/frameworks/Tarnbook"
case "$name" in
  tarnbook)
    inputs=("$root/tests/fuzz/tarnbook_fuzz.cpp")
    for s in TBKNBTReader TBKNBTWriter TBKNBTDescriber TBKLevelFile TBKCompoundTag TBKListTag TBKNumber TBKNumberTag TBKTag TBKException TagArena; do
      inputs+=("$lib/src/$s.cpp")
    done
    includes=(-I"$lib/include" -I"$lib/src")
    seed() {
      for level in "$root"/demo/sandbox/Documents/games/com.mojang/minecraftWorlds/*/level.dat*; do
        [ -f "$level" ] || continue
        local copy
        copy=$(basename "$(dirname "$level")" | tr ' ' '_')-$(basename "$level")
        cp "$level" "$work/corpus/$copy"
        tail -c +9 "$level" >"$work/corpus/$copy.nbt"
      done
    }
    ;;
  options)
    inputs=("$root/tests/fuzz/options_fuzz.cpp" "$root/src/records/OptionsText.cpp" "$root/src/records/WholeNumber.cpp")
    includes=(-I"$root/src")
    seed() {
      local options="$root/demo/sandbox/Documents/games/com.mojang/minecraftpe/options.txt"
      printf 'mp_username\nAlex\n' | cat - "$options" >"$work/corpus/username"
      printf 'gfx_fancygraphics\n0\n' | cat - "$options" >"$work/corpus/switch"
      printf 'ctrl_sensitivity\n0.750000\n' | cat - "$options" >"$work/corpus/slider"
    }
    ;;
  archive)
    inputs=("$root/tests/fuzz/archive_fuzz.cpp")
    for s in LibZip ZipReader ArchivePlan TBKException; do inputs+=("$lib/src/$s.cpp"); done
    soname=$(objdump -p "$(pkg-config --variable=libdir libzip)/libzip.so" | sed -n 's/^ *SONAME *//p')
    includes=(-I"$lib/include" -I"$lib/src" -DGORVANE_LIBZIP_SONAME="\"$soname\"")
    libraries=(-ldl)
    seed() {
      local worlds="$root/demo/sandbox/Documents/games/com.mojang/minecraftWorlds"
      for world in "$worlds"/*/; do
        local copy
        copy=$(basename "$world" | tr ' ' '_').mcworld
        [ -f "$work/corpus/$copy" ] || (cd "$world" && python3 -m zipfile -c "$work/corpus/$copy" ./*)
      done
    }
    ;;
  map)
    inputs=("$root/tests/fuzz/map_fuzz.cpp")
    for s in TBKSubChunk TBKLegacyTerrain TBKChunkSurface TBKBlockTable TBKNBTReader TBKCompoundTag TBKListTag TBKNumber \
      TBKNumberTag TBKTag TBKException TagArena; do
      inputs+=("$lib/src/$s.cpp")
    done
    includes=(-I"$lib/include" -I"$lib/src")
    seed() {
      # A palette entry {name: "minecraft:stone"}; layers of one block, of
      # one bit, a version 9 below zero, the old numbered form, a whole chunk.
      local stone='\x0a\x00\x00\x08\x04\x00name\x0f\x00minecraft:stone\x00'
      printf "\x01\x00\x01\x00\x00\x00$stone" >"$work/corpus/one-block"
      { printf '\x08\x01\x02'; head -c 512 /dev/zero | tr '\0' '\125'; printf "\x02\x00\x00\x00$stone$stone"; } \
        >"$work/corpus/one-bit"
      printf "\x09\x01\xfc\x00\x01\x00\x00\x00$stone" >"$work/corpus/below-zero"
      { printf '\x00'; head -c 6144 /dev/zero | tr '\0' '\1'; } >"$work/corpus/numbered"
      { printf '\x30'; head -c 49152 /dev/zero | tr '\0' '\11'; } >"$work/corpus/whole-chunk"
    }
    ;;
  blockentity)
    inputs=("$root/tests/fuzz/blockentity_fuzz.cpp")
    for s in BlockEntityValue ChunkChecksums TBKNBTReader TBKNBTWriter TBKCompoundTag TBKListTag TBKNumber TBKNumberTag \
      TBKTag TBKException TagArena; do
      inputs+=("$lib/src/$s.cpp")
    done
    includes=(-I"$lib/include" -I"$lib/src")
    libraries=(-lxxhash)
    seed() {
      # Roots {id: "Chest"} and {id: "Sign", x: 3}; a checksums record of
      # one block-entities entry, its length first.
      local chest='\x0a\x00\x00\x08\x02\x00id\x05\x00Chest\x00'
      local sign='\x0a\x00\x00\x08\x02\x00id\x04\x00Sign\x03\x01\x00x\x03\x00\x00\x00\x00'
      local checksums='\x0e\x01\x00\x00\x00\x31\x00\x01\x02\x03\x04\x05\x06\x07\x08'
      printf "\x00$chest" >"$work/corpus/one-root"
      printf "$checksums$chest$sign$chest" >"$work/corpus/three-roots-checksummed"
    }
    ;;
  structure)
    inputs=("$root/tests/fuzz/structure_fuzz.cpp" "$lib/src/TBKStructuresShape.cpp")
    for s in TBKNBTReader TBKNBTWriter TBKCompoundTag TBKListTag TBKNumber TBKNumberTag TBKTag TBKException TagArena; do
      inputs+=("$lib/src/$s.cpp")
    done
    includes=(-I"$lib/include" -I"$lib/src")
    seed() {
      # One stone block: format_version, size, structure {block_indices,
      # entities, palette.default.block_palette}, structure_world_origin.
      python3 - "$work/corpus/one-stone" <<'PY'
import struct, sys
def name(n): return struct.pack("<H", len(n)) + n.encode()
def tag(kind, n, body): return bytes([kind]) + name(n) + body
def ints(values): return bytes([3]) + struct.pack("<i", len(values)) + b"".join(struct.pack("<i", v) for v in values)
stone = tag(8, "name", name("minecraft:stone")) + b"\0"
palette = tag(10, "palette", tag(10, "default", tag(9, "block_palette", bytes([10]) + struct.pack("<i", 1) + stone) + b"\0") + b"\0")
structure = tag(10, "structure", tag(9, "block_indices", bytes([9]) + struct.pack("<i", 2) + ints([0]) + ints([-1])) +
                tag(9, "entities", bytes([10]) + struct.pack("<i", 0)) + palette + b"\0")
root = tag(10, "", tag(3, "format_version", struct.pack("<i", 1)) + tag(9, "size", ints([1, 1, 1])) + structure +
           tag(9, "structure_world_origin", ints([0, 0, 0])) + b"\0")
open(sys.argv[1], "wb").write(root)
PY
    }
    ;;
  creature)
    inputs=("$root/tests/fuzz/creature_fuzz.cpp")
    for s in EntityScanner RecordShape ChunkChecksums TBKChunkKey TBKNBTReader TBKCompoundTag TBKListTag TBKNumber \
      TBKNumberTag TBKTag TBKException TagArena; do
      inputs+=("$lib/src/$s.cpp")
    done
    includes=(-I"$lib/include" -I"$lib/src")
    libraries=(-lxxhash)
    seed() {
      # A wolf named Rex at 1, 64, 2 with 14 of 20 health and an owner,
      # alone and as two old-form roots, its digest one id.
      local name='\x08\x0a\x00CustomName\x03\x00Rex'
      local pos='\x09\x03\x00Pos\x05\x03\x00\x00\x00\x00\x00\x80\x3f\x00\x00\x80\x42\x00\x00\x00\x40'
      local health='\x09\x0a\x00Attributes\x0a\x01\x00\x00\x00\x08\x04\x00Name\x10\x00minecraft:health'
      health="$health"'\x05\x07\x00Current\x00\x00\x60\x41\x05\x03\x00Max\x00\x00\xa0\x41\x00'
      local wolf="\x0a\x00\x00\x08\x0a\x00identifier\x0e\x00minecraft:wolf$name$pos$health"
      wolf="$wolf"'\x04\x08\x00OwnerNew\x01\x00\x00\x00\x00\x00\x00\x00\x00'
      local size
      size=$(printf "$wolf" | wc -c)
      { printf "\\x$(printf %02x $((size % 256)))\\x$(printf %02x $((size / 256)))"; printf "$wolf"; printf '\x01\x00\x00\x00\x00\x00\x00\x00'; } \
        >"$work/corpus/wolf"
      size=$((size * 2))
      { printf "\\x$(printf %02x $((size % 256)))\\x$(printf %02x $((size / 256)))"; printf "$wolf$wolf"; } >"$work/corpus/old-form"
    }
    ;;
  picture)
    inputs=("$root/tests/fuzz/picture_fuzz.cpp" "$root/platform/src/DecodedPicture.cpp")
    # Qt is built with position-independent code and asks the same of what
    # links it.
    read -r -a qt <<<"$(pkg-config --cflags --libs Qt6Gui)"
    includes=(-I"$root/platform/include" -I"$root/platform/src" -fPIC "${qt[@]}")
    seed() {
      # Entries for "the game's picture": one opaque pixel, and 2 x 3 with
      # alpha. The header: magic, the source's size and FNV-1a hash, width,
      # height, form, a reserved word.
      python3 - "$work/corpus" <<'PY'
import struct, sys
source = b"the game's picture"
hash = 14695981039346656037
for c in source: hash = ((hash ^ c) * 1099511628211) % 2**64
def entry(width, height, form):
    header = b"GVPICT1\0" + struct.pack("<QQIIII", len(source), hash, width, height, form, 0)
    return header + bytes(range(4 * width * height))
open(sys.argv[1] + "/one-opaque", "wb").write(entry(1, 1, 0))
open(sys.argv[1] + "/two-by-three", "wb").write(entry(2, 3, 1))
PY
    }
    ;;
  *)
    echo "run_fuzz.sh: no fuzz target named $name" >&2
    exit 64
    ;;
esac

target="$work/${name}_fuzz"
# sed reads the whole listing: head would stop early, and ls, cut off,
# would fail the pipe and end this script without a word.
newest=$(ls -t "${inputs[@]}" "$lib"/include/Tarnbook/*.h "$lib"/src/*.h "$root"/src/records/*.h "$root"/platform/src/*.h \
  | sed -n 1p)
if [ ! -x "$target" ] || [ "$newest" -nt "$target" ]; then
  echo "building $target"
  clang++ -std=c++20 -O1 -g -fno-omit-frame-pointer \
    -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    "${includes[@]}" "${inputs[@]}" ${libraries[@]+"${libraries[@]}"} -o "$target"
fi
seed

# libFuzzer's own exit codes (77 for a finding) would read as "skipped" to
# ctest; findings get codes of their own.
cd "$work"
exec "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
  -error_exitcode=1 -timeout_exitcode=2 -detect_leaks=1 corpus
