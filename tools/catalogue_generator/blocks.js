#!/usr/bin/env node
// Writes the game data library's block table (a tab-separated table) to
// standard output: a map colour for every block name of one recent bedrock
// version of minecraft-data, and the early game's numbered blocks named
// through the widget kit's item catalogue (its identifier column), so a map
// of an early world uses the same colours.
//
//   npm install            (in this folder; node_modules/ is not committed)
//   node blocks.js > ../../frameworks/Tarnbook/data/blocks.tsv
//
// The data has no colours: they are our own, chosen by the rules below from
// the block's name (first rule that matches), reviewed by eye on the demo's
// maps. A colour "-" marks a block the map sees through (air, barriers).
'use strict';

const path = require('path');
const fs = require('fs');

const packageRoot = path.dirname(require.resolve('minecraft-data/package.json'));
const version = require('minecraft-data/package.json').version;
const bedrockFolder = path.join(packageRoot, 'minecraft-data', 'data', 'bedrock');
const readJSON = (version, file) => JSON.parse(fs.readFileSync(path.join(bedrockFolder, version, file), 'utf8'));
const todayVersion = '1.26.30';
const todayBlocks = readJSON(todayVersion, 'blocks.json');
const earlyBlocks = readJSON('0.14', 'blocks.json');
const catalogue = fs.readFileSync(path.join(__dirname, '..', '..', 'frameworks', 'Bevel', 'data', 'items.tsv'), 'utf8');

const dyes = {
  light_blue: '3AAFD9', light_gray: '8E8E86', silver: '8E8E86', white: 'E9ECEC', orange: 'F07613',
  magenta: 'BD44B3', yellow: 'F8C627', lime: '70B919', pink: 'ED8DAC', gray: '3E4447', cyan: '158991',
  purple: '792AAC', blue: '35399D', brown: '724728', green: '546D1B', red: 'A12722', black: '1D1D21',
};
const woods = {
  pale_oak: 'E2DCD4', dark_oak: '4F3218', oak: 'A2834F', spruce: '72542F', birch: 'C5B57C', jungle: 'A0734D',
  acacia: 'AD5D32', mangrove: '773631', cherry: 'E3B3AD', bamboo: 'C4B050', crimson: '6A344B', warped: '2B6963',
};

// [pattern, colour]: the first pattern the name matches gives its colour.
const rules = [
  [/^(air|cave_air|void_air|structure_void|barrier|light_block.*|moving_block|piston_arm_collision|sticky_piston_arm_collision|border_block|allow|deny|unknown)$/, '-'],
  [/^(flowing_)?water$|^bubble_column$/, '3F76E4'],
  [/^(flowing_)?lava$/, 'D4590C'],
  [/terracotta|stained_clay/, (name) => blend(dyeOf(name) || '985E43', '985E43', 0.45)],
  [/^hardened_clay$/, '985E43'],
  [/concrete_powder/, (name) => blend(dyeOf(name), 'FFFFFF', 0.2)],
  [/stained_glass/, (name) => blend(dyeOf(name), 'FFFFFF', 0.3)],
  [/wool|carpet|concrete|shulker_box|candle|banner|^bed$/, (name) => dyeOf(name) || 'D7D2C7'],
  [/^grass_block$|^grass$/, '6EA040'],
  [/^(short_grass|tall_grass|fern|large_fern|bush|sweet_berry_bush|vine|glow_lichen)$|sapling|propagule/, '5C9A36'],
  [/cherry_leaves/, 'E9A7C6'], [/birch_leaves/, '6A8F3C'], [/spruce_leaves/, '3D5E3A'],
  [/pale_oak_leaves|pale_moss|pale_hanging/, 'A3A99C'], [/leaves|azalea|moss|big_dripleaf|small_dripleaf/, '4A7A2A'],
  [/dry_grass|deadbush|dead_bush/, 'A88B54'],
  [/^(dandelion|golden_dandelion|sunflower)$/, 'F5D42A'],
  [/^(poppy|rose_bush|red_tulip|red_flower)$/, 'C8281E'],
  [/cornflower|blue_orchid|azure_bluet/, '6486D8'],
  [/allium|lilac|peony|pink_tulip|pink_petals|wildflowers|eyeblossom/, 'C782C8'],
  [/orange_tulip|torchflower/, 'E8822A'],
  [/white_tulip|oxeye_daisy|lily_of_the_valley/, 'E5E5DC'],
  [/wither_rose/, '2A2626'],
  [/seagrass|kelp$|kelp_plant|sea_pickle/, '3C8A2C'],
  [/^(waterlily|lily_pad)$/, '208030'],
  [/^dead_.*coral/, '857B77'], [/tube_coral/, '3453CC'], [/brain_coral/, 'CF5CA0'], [/bubble_coral/, 'A118A0'],
  [/fire_coral/, 'C42D37'], [/horn_coral/, 'D6C63F'],
  [/cactus/, '5A7F2D'], [/^(reeds|sugar_cane)$/, '92C06A'], [/^bamboo$/, '5E8F21'],
  [/wheat|carrots|potatoes|beetroot|crop|pitcher|melon_stem|pumpkin_stem|cocoa/, '7BAE3A'],
  [/^farmland$/, '6F4A2A'], [/^(grass_path|dirt_path)$/, '947A41'],
  [/^mycelium$/, '6F6265'], [/^podzol$/, '5B3D1E'], [/coarse_dirt|rooted_dirt|dirt_with_roots/, '77553B'],
  [/^dirt$/, '866043'], [/mangrove_roots/, '4A3B2C'], [/packed_mud|mud_brick/, '8A6A4F'], [/^mud$/, '3C393D'],
  [/^clay$/, 'A0A6B3'],
  [/soul_sand/, '513E32'], [/soul_soil/, '4B392E'],
  [/red_sand/, 'BE6621'], [/sandstone/, 'D8CB9B'], [/sand$/, 'DBCFA3'],
  [/gravel/, '857F7E'],
  [/^(snow|snow_layer|powder_snow|top_snow)$/, 'F5FAFA'],
  [/^blue_ice$/, '74A8FD'], [/^packed_ice$/, '8DB4FA'], [/ice$/, '91B7FD'],
  [/^glass(_pane)?$|tinted_glass/, 'C0D8DC'],
  [/deepslate/, '505052'], [/blackstone/, '2A2328'], [/basalt/, '505055'],
  [/granite/, '956756'], [/diorite/, 'BCBCBC'], [/andesite/, '888888'], [/tuff/, '6C6D66'], [/calcite/, 'DFE0DC'],
  [/dripstone/, '866B5C'], [/^bedrock$|invisible_bedrock/, '565656'],
  [/crying_obsidian/, '2A0A4A'], [/obsidian/, '0F0B19'],
  [/netherrack|nether_gold_ore|quartz_ore/, '6F3533'], [/red_nether_brick/, '470709'], [/nether_brick|netherreactor/, '2C1519'],
  [/glowstone/, 'FBDA74'], [/^magma$/, '8E3E1F'],
  [/crimson_nylium/, '852424'], [/warped_nylium/, '2B7265'], [/nether_wart_block/, '750B0B'],
  [/warped_wart_block/, '167E86'], [/shroomlight/, 'F19A4F'], [/nether_wart|crimson_(roots|fungus)|weeping/, '8A1A1A'],
  [/warped_(roots|fungus)|twisting|nether_sprouts/, '1E8A7A'], [/ancient_debris/, '5E4037'],
  [/^end_stone|end_brick/, 'DBDE9E'], [/purpur/, 'A97CA9'], [/chorus/, '5E3F5E'], [/end_portal_frame/, '3B6A5A'],
  [/quartz/, 'ECE6DF'],
  [/^iron_block$|raw_iron/, 'DCDCDC'], [/^gold_block$|raw_gold/, 'F6D03D'], [/^diamond_block$/, '62DBD5'],
  [/^emerald_block$/, '2ACB57'], [/^lapis_block$/, '1F43A6'], [/^redstone_block$/, 'AB1B09'], [/^coal_block$/, '101010'],
  [/netherite/, '42393A'], [/amethyst/, '8662BF'],
  [/oxidized/, '4FAB90'], [/weathered/, '6D9E7A'], [/exposed/, 'A1806B'], [/copper/, 'C26C4C'],
  [/prismarine_bricks|^prismarine/, '63A79B'], [/dark_prismarine/, '335B4B'], [/sea_lantern/, 'ACC8BE'],
  [/^(brick_block|brick_|bricks)|^brick/, '966152'],
  [/pumpkin/, 'C07615'], [/melon/, '6F9220'], [/hay_block/, 'A88C0A'], [/dried_kelp/, '333F22'],
  [/brown_mushroom/, '946E50'], [/red_mushroom/, 'C62F2D'], [/mushroom_stem/, 'CBC4B9'],
  [/^tnt$/, 'DB441A'], [/honey/, 'E9A31F'], [/slime/, '77C065'], [/sponge/, 'C9C24E'], [/bone_block/, 'E1DDC9'],
  [/sculk/, '0C1F26'], [/froglight/, 'E8E3B6'], [/resin/, 'D9631A'], [/cinnabar/, 'B23A2E'], [/sulfur/, 'C6BE5A'],
  [/web$/, 'DCDCDC'], [/fire$/, 'E08A1E'], [/portal|end_gateway/, '2A0D4A'],
  [/redstone/, 'AB1B09'],
  [/_ore$/, '7D7D7D'],
  [/stone|cobble|smooth_stone|furnace|smoker|dispenser|dropper|observer|piston|stonecutter|grindstone|anvil|cauldron|hopper|lodestone/, '7D7D7D'],
];

function dyeOf(name) {
  for (const [dye, colour] of Object.entries(dyes)) if (name.startsWith(dye + '_') || name.includes('_' + dye + '_')) return colour;
  return null;
}

function woodOf(name) {
  for (const [wood, colour] of Object.entries(woods)) if (name.includes(wood)) return colour;
  return null;
}

function blend(colour, other, amount) {
  const part = (c, i) => parseInt(c.slice(i, i + 2), 16);
  let out = '';
  for (const i of [0, 2, 4]) {
    const value = Math.round(part(colour, i) * (1 - amount) + part(other, i) * amount);
    out += value.toString(16).toUpperCase().padStart(2, '0');
  }
  return out;
}

const materialColours = {
  'mineable/pickaxe': '7D7D7D', 'mineable/axe': 'A2834F', 'mineable/shovel': '866043', 'leaves;mineable/hoe': '4A7A2A',
  'plant;mineable/axe': '5C9A36', 'plant': '5C9A36', 'vine_or_glow_lichen;plant;mineable/axe': '5C9A36',
};

function colourOf(block) {
  const name = block.name;
  for (const [pattern, colour] of rules) {
    if (pattern.test(name)) return typeof colour === 'function' ? colour(name) : colour;
  }
  // Anything made of a wood (planks, logs, doors, signs, fences) takes that wood's colour.
  const wood = woodOf(name);
  if (wood) return /log|stem|hyphae|_wood$/.test(name) && !name.startsWith('stripped') ? blend(wood, '000000', 0.35) : wood;
  if (/wooden|chest|barrel|bookshelf|crafting|table|lectern|composter|beehive|bee_nest|jukebox|noteblock|loom|ladder|trapdoor|door|fence|sign|shelf/.test(name)) {
    return woods.oak;
  }
  return materialColours[block.material] || '8A8A8A';
}

const rows = new Map();
for (const block of todayBlocks) rows.set(`minecraft:${block.name}`, colourOf(block));

// The early game's numbered blocks: the catalogue names each (id, damage)
// with today's identifier where today's game has one; the others keep the
// early name (0.14's blocks.json), which is given a colour of its own. A
// few early names differ from today's for the same block.
const earlyNames = {
  8: 'flowing_water', 9: 'water', 10: 'flowing_lava', 11: 'lava', 17: 'oak_log', 26: 'bed', 31: 'short_grass',
  32: 'deadbush', 38: 'poppy', 43: 'normal_stone_double_slab', 55: 'redstone_wire', 59: 'wheat', 62: 'lit_furnace',
  63: 'standing_sign', 64: 'wooden_door', 68: 'wall_sign', 74: 'lit_redstone_ore', 75: 'unlit_redstone_torch',
  78: 'snow_layer', 83: 'reeds', 85: 'oak_fence', 90: 'portal', 92: 'cake', 93: 'unpowered_repeater',
  94: 'powered_repeater', 95: 'invisible_bedrock', 104: 'pumpkin_stem', 105: 'melon_stem', 115: 'nether_wart',
  118: 'cauldron', 122: 'redstone_lamp', 123: 'lit_redstone_lamp', 132: 'trip_wire', 140: 'flower_pot',
  141: 'carrots', 142: 'potatoes', 144: 'skeleton_skull', 151: 'daylight_detector', 157: 'oak_double_slab',
  159: 'white_terracotta', 161: 'acacia_leaves', 162: 'acacia_log', 172: 'hardened_clay', 178: 'daylight_detector_inverted',
  198: 'grass_path', 243: 'podzol', 244: 'beetroot', 246: 'glowingobsidian', 247: 'netherreactor',
};
const early = [];
const named = new Set();
for (const line of catalogue.split('\n')) {
  if (line.startsWith('#') || !line.trim()) continue;
  const fields = line.split('\t');
  const id = Number(fields[0]);
  const damage = Number(fields[1]);
  if (!(id > 0 && id < 256) || !fields[6] || earlyNames[id] || [35, 159, 171].includes(id)) continue;
  // Items placed as another block (a door, a bed) are not blocks themselves.
  if (!earlyBlocks.some((b) => b.id === id)) continue;
  early.push([id, damage, fields[6]]);
  named.add(`${id}:${damage}`);
}
// Dyed blocks: the data value is the dye, in the game's order of dyes.
const dyeOrder = ['white', 'orange', 'magenta', 'light_blue', 'yellow', 'lime', 'pink', 'gray', 'light_gray', 'cyan',
  'purple', 'blue', 'brown', 'green', 'red', 'black'];
for (const [id, kind] of [[35, 'wool'], [159, 'terracotta'], [171, 'carpet']]) {
  dyeOrder.forEach((dye, data) => {
    if (named.has(`${id}:${data}`)) return;
    early.push([id, data, `minecraft:${dye}_${kind}`]);
    named.add(`${id}:${data}`);
  });
}
for (const block of earlyBlocks) {
  if (block.id === 0 || named.has(`${block.id}:0`)) continue;
  const name = `minecraft:${earlyNames[block.id] || block.name}`;
  early.push([block.id, 0, name]);
}
for (const [, , name] of early) {
  if (!rows.has(name)) rows.set(name, colourOf({ name: name.slice('minecraft:'.length), material: '' }));
}
early.sort((a, b) => a[0] - b[0] || a[1] - b[1]);

const out = [];
out.push('# Block table of the game data library, generated by tools/catalogue_generator/blocks.js from');
out.push(`# minecraft-data ${version}: data/bedrock/${todayVersion}/blocks.json for the names of today's blocks,`);
out.push('# data/bedrock/0.14/blocks.json and the widget kit\'s item catalogue for the early game\'s numbers.');
out.push('# Rows "name<TAB>colour": the map colour (RRGGBB; "-" for a block the map sees through).');
out.push('# Rows "id<TAB>data<TAB>name": the early game\'s block number and data value, and the name');
out.push('# that stands for it (data 0 stands for any data value without a row of its own).');
for (const [name, colour] of [...rows].sort((a, b) => (a[0] < b[0] ? -1 : a[0] > b[0] ? 1 : 0))) out.push(`${name}\t${colour}`);
for (const [id, damage, name] of early) out.push(`${id}\t${damage}\t${name}`);
process.stdout.write(out.join('\n') + '\n');
