#!/usr/bin/env bash
# A dump reads a world and must leave every byte of it as it was.
# usage: leaves_world_alone.sh <gorvane-world> <world folder>
set -euo pipefail
dump=$1 world=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cp -a "$world" "$scratch/before"
cp -a "$world" "$scratch/world"
"$dump" "$scratch/world" >"$scratch/out"
grep -q "TAG_Compound" "$scratch/out"
diff -r "$scratch/before" "$scratch/world"
