#!/usr/bin/env bash
# Builds the Tarnbook fuzz target with clang++ (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) and runs it for TARNBOOK_FUZZ_SECONDS (60).
# The corpus lives in the work folder and grows from run to run; it starts
# from the demo game's level files.
# usage: run_fuzz.sh <source root> <work folder>
# Exit status: 0 no finding, 77 skipped (no usable clang++), else a finding.
set -euo pipefail
root=$1 work=$2
seconds=${TARNBOOK_FUZZ_SECONDS:-60}

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
sources=(TBKNBT TBKLevelFile TBKCompoundTag TBKListTag TBKNumber TBKNumberTag TBKTag TBKException TagArena)
target="$work/tarnbook_fuzz"
inputs=("$root/tests/fuzz/tarnbook_fuzz.cpp")
for s in "${sources[@]}"; do inputs+=("$lib/src/$s.cpp"); done
newest=$(ls -t "${inputs[@]}" "$lib"/include/Tarnbook/*.h "$lib"/src/*.h | head -1)
if [ ! -x "$target" ] || [ "$newest" -nt "$target" ]; then
  echo "building $target"
  clang++ -std=c++20 -O1 -g -fno-omit-frame-pointer \
    -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -I"$lib/include" -I"$lib/src" "${inputs[@]}" -o "$target"
fi

for level in "$root"/demo/sandbox/Documents/games/com.mojang/minecraftWorlds/*/level.dat*; do
  [ -f "$level" ] || continue
  name=$(basename "$(dirname "$level")" | tr ' ' '_')-$(basename "$level")
  cp "$level" "$work/corpus/$name"
  tail -c +9 "$level" >"$work/corpus/$name.nbt"
done

cd "$work"
exec "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 corpus
