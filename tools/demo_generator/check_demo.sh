#!/usr/bin/env bash
# Checks the demo generator end to end: a fresh sandbox is generated, every
# world is read back by gorvane-world, and the committed demo's level.dat
# files are the bytes the generator makes today.
# usage: check_demo.sh <make_demo_sandbox> <gorvane-world> <committed sandbox>
set -euo pipefail
generator=$1 dump=$2 committed=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

"$generator" "$scratch"
worlds="$scratch/Documents/games/com.mojang/minecraftWorlds"
fail() { echo "FAIL: $*" >&2; exit 1; }

out=$("$dump" "$worlds/Lakeside Survival")
grep -q 'TAG_List "Inventory": 45 entries of TAG_Compound' <<<"$out" || fail "survival inventory"
grep -q 'TAG_List "Armor": 4 entries of TAG_Compound' <<<"$out" || fail "survival armor"
grep -q 'Player (~local_player in db/)' <<<"$out" || fail "survival player record"

out=$("$dump" "$worlds/Creative Flatland")
grep -q 'TAG_Int "GameType": 1' <<<"$out" || fail "creative game type"

out=$("$dump" "$worlds/Old Cave World")
grep -q 'Player ("Player" in level.dat)' <<<"$out" || fail "old-format player"
[ ! -e "$worlds/Old Cave World/db" ] || fail "old-format world has a db folder"

out=$("$dump" "$worlds/Broken World")
grep -q 'TAG_String "LevelName": "Broken World"' <<<"$out" || fail "broken world not read from level.dat_old"

out=$("$dump" "$worlds/bW9kZXJuAA==")
grep -q 'level.dat, storage version 10:' <<<"$out" || fail "modern storage version"
grep -q 'TAG_Int "StorageVersion": 10' <<<"$out" || fail "modern StorageVersion tag"
grep -q 'TAG_String "LevelName": "Modern Survival"' <<<"$out" || fail "modern world name"
[ "$(cat "$worlds/bW9kZXJuAA==/levelname.txt")" = "Modern Survival" ] || fail "modern levelname.txt"
grep -q 'TAG_List "Inventory": 36 entries of TAG_Compound' <<<"$out" || fail "modern inventory"
grep -q 'TAG_List "Armor": 4 entries of TAG_Compound' <<<"$out" || fail "modern armor"
grep -q 'TAG_String "Name": "minecraft:diamond_sword"' <<<"$out" || fail "modern named item"
grep -q 'TAG_String "Name": "myaddon:ruby_staff"' <<<"$out" || fail "modern add-on item"
grep -q 'TAG_Compound "Block"' <<<"$out" || fail "modern block item"
grep -q 'TAG_List "EnderChestInventory": 27 entries of TAG_Compound' <<<"$out" || fail "modern ender chest"
[ "$(grep -c '^Other player player_server_' <<<"$out")" = 3 ] || fail "modern world's other players"
grep -q 'player_2535487654321098): .*not in the world' <<<"$out" || fail "modern missing player"
# Entries of today's lists carry no "id" (an enchantment's own "id" sits deeper).
if grep -q '^      TAG_Short "id"' <<<"$out"; then fail "modern entry with an id"; fi

options="$scratch/Documents/games/com.mojang/minecraftpe/options.txt"
for key in mp_username game_difficulty game_thirdperson game_server_visible game_limitworldsize \
           gfx_renderdistance_new gfx_fancygraphics gfx_pixeldensity ctrl_sensitivity \
           dev_autoloadlevel dev_showchunkmap dev_disablefilesystem game_flatworldlayers; do
  grep -q "^$key:" "$options" || fail "options.txt lacks $key"
done

for world in "Lakeside Survival" "Creative Flatland" "Old Cave World" "Broken World" "bW9kZXJuAA=="; do
  cmp -s "$worlds/$world/level.dat" "$committed/Documents/games/com.mojang/minecraftWorlds/$world/level.dat" \
    || fail "committed demo level.dat of $world is out of date: run make_demo_sandbox demo/sandbox"
done
cmp -s "$options" "$committed/Documents/games/com.mojang/minecraftpe/options.txt" || fail "committed options.txt is out of date"
# Land for the maps, in each form the worlds' eras saved it.
for case in "bW9kZXJuAA==|overworld|100" "bW9kZXJuAA==|nether|36" "Lakeside Survival|overworld|36" \
  "Creative Flatland|overworld|16"; do
  IFS='|' read -r world dimension chunks <<<"$case"
  out=$("$dump" map "$worlds/$world" --dimension "$dimension" --png "$scratch/map.png")
  grep -q "^Drew $chunks chunks" <<<"$out" || fail "map of $world ($dimension): $out"
  if grep -q "no colour" <<<"$out"; then fail "map of $world ($dimension) has blocks without a colour: $out"; fi
done
# Creatures: today's in records of their own with their digests, one of
# the early world's in its chunk's old-form value.
out=$("$dump" entities "$worlds/bW9kZXJuAA==")
for creature in 'Wolf "Biscuit" (-8589934591, minecraft:wolf), health 32.0' 'Villager "Mason"' 'Armor Stand' \
  'Donkey "Pack"' 'Chest Minecart' 'Dropped Item' 'Experience Orb' '^nether .*Zombie Pigman'; do
  grep -q "$creature" <<<"$out" || fail "today's world lacks $creature: $out"
done
[ "$(grep -c 'Villager' <<<"$out")" = 3 ] || fail "today's world's villagers: $out"
if grep -q "in no chunk's list" <<<"$out"; then fail "a creature of today's world is in no digest: $out"; fi
out=$("$dump" entities "$worlds/Lakeside Survival")
grep -q '^overworld 216.5 66.0 -92.5: Sheep (chunk:13:-6:0:0, minecraft:sheep)' <<<"$out" || fail "old-form sheep: $out"
# Containers: today's world's in its chunks' block-entity values.
out=$("$dump" containers "$worlds/bW9kZXJuAA==")
for container in ': Chest (Chest), 4 items' ': Chest (Chest), 5 items' ': Storage (Barrel), 2 items' \
  ': Furnace (Furnace), 3 items' ': Hopper (Hopper), 1 item' ': Item Frame (ItemFrame), 1 item' \
  ': Lectern (Lectern), 1 item' '^nether .*: Chest (Chest), 3 items'; do
  grep -q "$container" <<<"$out" || fail "today's world lacks $container: $out"
done
[ "$(wc -l <<<"$out")" = 8 ] || fail "today's world's containers: $out"
out=$("$dump" find "$worlds/bW9kZXJuAA==" minecraft:elytra)
grep -q '^Storage at .*, in a box' <<<"$out" || fail "the elytra in the barrel's box: $out"
echo "demo sandbox OK"
