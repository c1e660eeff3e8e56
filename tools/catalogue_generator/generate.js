#!/usr/bin/env node
// Writes the widget kit's item catalogue (a tab-separated table) to standard
// output from two tables of the npm package minecraft-data: the pocket edition
// 0.14 items and blocks (the early game, whose worlds number their items), and
// the items of one recent bedrock version (today's game, whose worlds name
// them: "minecraft:diamond_sword").
//
//   npm install            (in this folder; node_modules/ is not committed)
//   node generate.js > ../../frameworks/Bevel/data/items.tsv
//
// Every (id, damage) pair gets exactly one row with a name no other row
// shares, and a 16 x 16 cell of one of two atlases:
//   items-opaque   items (id 256 and up), 16 cells a row; the cells at y 64,
//                  x 192..240 are kept free for the empty armor-slot pictures
//   terrain-atlas  blocks (id below 256), 32 cells a row
// Rows that show the same thing share a cell, so the art has less to draw.
//
// Each early row also carries the name today's game gives that thing, where
// it has one; today's items without an early equivalent follow as rows of
// their own, with cells after the early ones (the early cells never move).
'use strict';

const path = require('path');
const fs = require('fs');

const packageRoot = path.dirname(require.resolve('minecraft-data/package.json'));
const version = require('minecraft-data/package.json').version;
const bedrockFolder = path.join(packageRoot, 'minecraft-data', 'data', 'bedrock');
const readJSON = (version, file) => JSON.parse(fs.readFileSync(path.join(bedrockFolder, version, file), 'utf8'));
const items = readJSON('0.14', 'items.json');
const blocks = readJSON('0.14', 'blocks.json');
// Today's game: one recent release whose items.json carries the names.
const todayVersion = '1.26.30';
const todayItems = readJSON(todayVersion, 'items.json');
const todayBlockNames = new Set(readJSON(todayVersion, 'blocks.json').map((b) => b.name));

const tidy = (s) => s.replace(/\s+/g, ' ').trim();
const itemById = new Map(items.map((i) => [i.id, i]));
const blockById = new Map(blocks.map((b) => [b.id, b]));

// Variations that describe how a placed block sits (facing, texture sides,
// snow depth) rather than naming a thing of their own.
const statePattern = /^(Facing |Pores |Cap texture|Stem texture|Drops |Activates |(One|Two|Three|Four|Five|Six|Seven|Eight) layers?|Top Half)/;

// A few blocks in the data carry a copy of another block's variation list
// (Podzol repeats Dirt's, Hardened Clay repeats Stained Clay's); those lists
// are dropped and the block keeps its own name.
function copiedVariations(id, variations) {
  const key = JSON.stringify(variations.map((v) => v.displayName));
  for (const other of blocks) {
    if (other.id >= id || !other.variations) continue;
    if (JSON.stringify(other.variations.map((v) => v.displayName)) === key) return true;
  }
  return false;
}

const rows = [];
const ids = [...new Set([...itemById.keys(), ...blockById.keys()])].sort((a, b) => a - b);
for (const id of ids) {
  if (id === 0) continue;  // air: an empty slot, not something to pick
  const item = itemById.get(id);
  const block = blockById.get(id);
  let base = tidy((item || block).displayName);
  // Placed-only forms (a bed in the world, a wall sign) share their names
  // with the item that places them.
  const placedOnly = !item;
  if (placedOnly) base += ' (block)';
  let variations = (block && block.variations) || (item && item.variations) || null;
  if (variations && block && block.variations && copiedVariations(id, block.variations)) variations = null;
  if (!variations) {
    rows.push({ id, damage: 0, name: base, look: base });
    continue;
  }
  for (const v of variations) {
    const text = tidy(v.displayName);
    if (statePattern.test(text)) {
      const lowered = text.charAt(0).toLowerCase() + text.slice(1);
      rows.push({ id, damage: v.metadata, name: `${base}, ${lowered}`, look: `${id}` });
    } else {
      rows.push({ id, damage: v.metadata, name: placedOnly ? `${text} (block)` : text, look: text });
    }
  }
}

// Last resort for names the data still repeats: the later row says its id.
const seen = new Set();
for (const row of rows) {
  const key = row.name.toLowerCase();
  if (seen.has(key)) {
    row.name = `${row.name} (${row.id}:${row.damage})`;
    process.stderr.write(`renamed a repeated name: ${row.name}\n`);
  }
  seen.add(row.name.toLowerCase());
}

// Cells: one per distinct look, in id order.
const cells = new Map();
let itemCell = 0;
let blockCell = 0;
const armorSlotCells = new Set([4 * 16 + 12, 4 * 16 + 13, 4 * 16 + 14, 4 * 16 + 15]);
for (const row of rows) {
  const inItems = row.id >= 256;
  const key = `${inItems ? 'i' : 'b'}|${row.look}|${row.look === `${row.id}` ? '' : row.id}`;
  if (!cells.has(key)) {
    if (inItems) {
      while (armorSlotCells.has(itemCell)) itemCell++;
      cells.set(key, ['items-opaque', (itemCell % 16) * 16, Math.floor(itemCell / 16) * 16]);
      itemCell++;
    } else {
      cells.set(key, ['terrain-atlas', (blockCell % 32) * 16, Math.floor(blockCell / 32) * 16]);
      blockCell++;
    }
  }
  [row.picture, row.x, row.y] = cells.get(key);
}

// Today's names. An early row takes the name of the item today's game shows
// under the same name; the overrides cover things renamed since (the early
// "Gold Sword" is today's "Golden Sword") and variants that became items of
// their own (stone bricks, stained clay). Placed-only forms, block states and
// things the game dropped keep no name.
const renamed = {
  '5:0': 'oak_planks', '5:1': 'spruce_planks', '5:2': 'birch_planks', '5:3': 'jungle_planks',
  '5:4': 'acacia_planks', '5:5': 'dark_oak_planks', '22:0': 'lapis_block', '31:0': 'deadbush',
  '44:4': 'brick_slab', '48:0': 'mossy_cobblestone', '53:0': 'oak_stairs', '134:0': 'spruce_stairs',
  '135:0': 'birch_stairs', '136:0': 'jungle_stairs', '163:0': 'acacia_stairs', '164:0': 'dark_oak_stairs',
  '97:1': 'infested_cobblestone', '97:2': 'infested_stone_bricks', '97:3': 'infested_mossy_stone_bricks',
  '97:4': 'infested_cracked_stone_bricks', '97:5': 'infested_chiseled_stone_bricks',
  '98:0': 'stone_bricks', '98:1': 'mossy_stone_bricks', '98:2': 'cracked_stone_bricks',
  '98:3': 'chiseled_stone_bricks', '116:0': 'enchanting_table', '145:1': 'chipped_anvil',
  '145:2': 'damaged_anvil', '147:0': 'light_weighted_pressure_plate', '151:0': 'daylight_detector',
  '155:2': 'quartz_pillar', '175:2': 'tall_grass', '243:0': 'podzol', '245:0': 'stonecutter',
  '246:0': 'glowingobsidian',
  '247:0': 'netherreactor', '283:0': 'golden_sword', '284:0': 'golden_shovel', '285:0': 'golden_pickaxe',
  '286:0': 'golden_axe', '294:0': 'golden_hoe', '295:0': 'wheat_seeds', '302:0': 'chainmail_helmet',
  '303:0': 'chainmail_chestplate', '304:0': 'chainmail_leggings', '305:0': 'chainmail_boots',
  '323:0': 'oak_sign', '349:0': 'cod', '349:2': 'tropical_fish', '350:0': 'cooked_cod',
  '351:1': 'red_dye', '351:2': 'green_dye', '351:11': 'yellow_dye', '382:0': 'glistering_melon_slice',
  '397:3': 'player_head',
};
const colourNames = ['white', 'orange', 'magenta', 'light_blue', 'yellow', 'lime', 'pink', 'gray',
  'light_gray', 'cyan', 'purple', 'blue', 'brown', 'green', 'red', 'black'];
colourNames.forEach((colour, damage) => { renamed[`159:${damage}`] = `${colour}_terracotta`; });

// Today's things, keyed by name and damage. A few items still tell their
// variants apart by damage (a bed's or a banner's colour); the data lists
// those as variations with a non-zero metadata. "item.*" entries are the
// placed forms of items (a cake on a table), not something to carry.
const today = [];
const todayByKey = new Map();
for (const item of todayItems) {
  if (item.name === 'air' || item.name.startsWith('item.')) continue;
  const forms = [{ damage: 0, title: tidy(item.displayName) }];
  for (const v of item.variations || []) {
    if (v.metadata > 0) forms.push({ damage: v.metadata, title: tidy(v.displayName) });
  }
  for (const form of forms) {
    const entry = { name: item.name, identifier: `minecraft:${item.name}`, damage: form.damage, title: form.title,
                    block: todayBlockNames.has(item.name), durability: item.maxDurability || 0,
                    stack: item.stackSize || 0, kinds: (item.enchantCategories || []).join(',') };
    today.push(entry);
    todayByKey.set(`${item.name}|${form.damage}`, entry);
  }
}
const todayByTitle = new Map();
for (const entry of today) {
  const key = entry.title.toLowerCase();
  if (!todayByTitle.has(key)) todayByTitle.set(key, entry);
}
const earlyNameById = new Map([...blocks, ...items].map((x) => [x.id, x.name]));

const claim = (row, entry) => {
  if (!entry || entry.row) return false;
  entry.row = row;
  row.today = entry;
  return true;
};
for (const row of rows) {
  const override = renamed[`${row.id}:${row.damage}`];
  if (override === undefined) continue;
  const entry = todayByKey.get(`${override}|0`);
  if (!entry) throw new Error(`no ${override} in bedrock ${todayVersion}`);
  if (!claim(row, entry)) throw new Error(`${override} is claimed twice`);
}
// Same name first, for every row, so that a placed-only form never takes
// the item's name by its early internal name.
for (const row of rows) {
  if (!row.today && !row.name.endsWith('(block)')) claim(row, todayByTitle.get(row.name.toLowerCase()));
}
for (const row of rows) {
  if (row.today || row.damage !== 0 || row.name.includes('(block)')) continue;
  claim(row, todayByKey.get(`${earlyNameById.get(row.id)}|0`));
}

// Titles shown for today's names must differ as well. A title the data
// repeats ("Music Disc" 22 times) says what sets each apart: the words of
// its name that the title lacks ("Music Disc (cat)"); an item whose name the
// title already covers keeps the plain title.
const byTitle = new Map();
for (const entry of today) {
  const key = entry.title.toLowerCase();
  if (!byTitle.has(key)) byTitle.set(key, []);
  byTitle.get(key).push(entry);
}
for (const [key, sharers] of byTitle) {
  if (sharers.length < 2) continue;
  const words = new Set(key.split(/[^a-z0-9]+/));
  for (const entry of sharers) {
    const extra = entry.name.split('_').filter((w) => !words.has(w));
    if (extra.length) entry.title = `${entry.title} (${extra.join(' ')})`;
  }
}
const titles = new Set();
for (const entry of today) {
  const key = entry.title.toLowerCase();
  if (titles.has(key)) {
    entry.title = `${entry.title} (${entry.identifier}${entry.damage ? ` ${entry.damage}` : ''})`;
    process.stderr.write(`renamed a repeated title: ${entry.title}\n`);
  }
  titles.add(entry.title.toLowerCase());
}

// Cells for today's things without an early row: each its own, after the
// early cells, blocks in the blocks picture and the rest among the items.
// The first new item cell is the generic glyph for things the catalogue does
// not know (a row with no numbers and no name).
while (armorSlotCells.has(itemCell)) itemCell++;
const genericCell = ['items-opaque', (itemCell % 16) * 16, Math.floor(itemCell / 16) * 16];
itemCell++;
const todayOnly = today.filter((entry) => !entry.row);
for (const entry of todayOnly) {
  if (entry.block) {
    entry.cell = ['terrain-atlas', (blockCell % 32) * 16, Math.floor(blockCell / 32) * 16];
    blockCell++;
  } else {
    while (armorSlotCells.has(itemCell)) itemCell++;
    entry.cell = ['items-opaque', (itemCell % 16) * 16, Math.floor(itemCell / 16) * 16];
    itemCell++;
  }
}

const licence = fs.readFileSync(path.join(__dirname, 'LICENSE.minecraft-data'), 'utf8');
const out = [];
out.push(`# Item catalogue of the widget kit, generated by tools/catalogue_generator from`);
out.push(`# minecraft-data ${version}: data/bedrock/0.14 (items.json, blocks.json) for the`);
out.push(`# early game's numbered items, data/bedrock/${todayVersion} (items.json, blocks.json)`);
out.push(`# for today's named ones.`);
out.push(`# Columns: id, damage, name (the early game's number and title; empty for a`);
out.push(`# thing only today's game has), picture, x, y (the picture's cell is the 16 x 16`);
out.push(`# pixels at (x, y)), identifier, identifier_damage, identifier_name (today's`);
out.push(`# "Name" string, the "Damage" that goes with it, and its title; empty for a`);
out.push(`# thing today's game no longer has), durability, stack_size, enchant_kinds`);
out.push(`# (today's item: its maximum durability, 0 for none; how many stack in a`);
out.push(`# slot; the kinds of enchantment it takes, comma-separated). The one row with`);
out.push(`# none of these gives the generic picture, for things the catalogue does not know.`);
out.push(`# The data it was made from is under this licence:`);
out.push('#');
for (const line of licence.trimEnd().split('\n')) out.push(line ? `# ${line}` : '#');
out.push('id\tdamage\tname\tpicture\tx\ty\tidentifier\tidentifier_damage\tidentifier_name\tdurability\tstack_size\tenchant_kinds');
const todayColumns = (entry) =>
  entry ? [entry.identifier, entry.damage, entry.title, entry.durability, entry.stack, entry.kinds] : ['', '', '', '', '', ''];
for (const r of rows) out.push([r.id, r.damage, r.name, r.picture, r.x, r.y, ...todayColumns(r.today)].join('\t'));
out.push(['', '', '', ...genericCell, ...todayColumns(null)].join('\t'));
for (const e of todayOnly) out.push(['', '', '', ...e.cell, ...todayColumns(e)].join('\t'));
if (process.argv[2] === 'enchantments') {
  process.stdout.write(enchantmentTable(licence));
  process.exit(0);
}
process.stdout.write(out.join('\n') + '\n');
process.stderr.write(`${rows.length} early rows (${rows.filter((r) => r.today).length} with today's name), ` +
                     `${todayOnly.length} rows of today only, ${itemCell} item cells, ${blockCell} block cells\n`);

// The enchantment table: bedrock ids, names, maximum levels, the item kinds
// (today's items' enchant_kinds) each applies to, and the ones it excludes.
//
//   node generate.js enchantments > ../../frameworks/Bevel/data/enchantments.tsv
function enchantmentTable(licence) {
  const source = require('minecraft-data/minecraft-data/data/dataPaths.json').bedrock[todayVersion].enchantments;
  const table = JSON.parse(fs.readFileSync(path.join(packageRoot, 'minecraft-data', 'data', source, 'enchantments.json'), 'utf8'));
  // The table names a slot category; today's items name the kinds they take.
  const kindOf = {
    armor: 'armor', armor_feet: 'foot_armor', armor_head: 'head_armor', armor_legs: 'leg_armor',
    armor_chest: 'armor', weapon: 'weapon', digger: 'mining', breakable: 'durability', bow: 'bow',
    fishing_rod: 'fishing', wearable: 'equippable', vanishable: 'vanishing', trident: 'trident', crossbow: 'crossbow',
  };
  // Finer than the table's categories, as today's items have them.
  const kindByName = {
    sharpness: 'sharp_weapon', knockback: 'sweeping', looting: 'sweeping', fire_aspect: 'fire_aspect',
    silk_touch: 'mining_loot', fortune: 'mining_loot',
  };
  const rows = table.map((e) => ({
    id: e.id, name: e.name, title: e.displayName, max: e.maxLevel,
    kind: kindByName[e.name] || kindOf[e.category], exclude: e.exclude,
  }));
  // Newer than the package's table: the mace's enchantments, by the bedrock
  // numeric ids, maximum levels and incompatibilities the Minecraft Wiki gives
  // on its pages "Wind Burst", "Density" and "Breach" (Data values, Bedrock
  // Edition).
  rows.push({ id: 38, name: 'wind_burst', title: 'Wind Burst', max: 3, kind: 'mace', exclude: [] });
  rows.push({ id: 39, name: 'density', title: 'Density', max: 5, kind: 'mace',
              exclude: ['sharpness', 'smite', 'bane_of_arthropods', 'breach'] });
  rows.push({ id: 40, name: 'breach', title: 'Breach', max: 4, kind: 'mace',
              exclude: ['sharpness', 'smite', 'bane_of_arthropods', 'density'] });
  // Exclusion goes both ways, whichever side the data wrote it on.
  for (const row of rows) {
    for (const other of row.exclude) {
      const back = rows.find((r) => r.name === other);
      if (back && !back.exclude.includes(row.name)) back.exclude.push(row.name);
    }
  }
  // Smite and bane of arthropods also serve the mace; sharpness does not.
  for (const row of rows) {
    if (row.name === 'smite' || row.name === 'bane_of_arthropods') row.kind = 'weapon';
  }
  const lines = [
    `# Enchantment table of the widget kit, generated by tools/catalogue_generator from`,
    `# minecraft-data ${version}: data/${source}/enchantments.json, and three newer`,
    `# enchantments added by hand there (see the generator).`,
    `# Columns: id (bedrock numeric id), name, title, max_level, kind (what an item's`,
    `# enchant_kinds must hold for it to apply), excludes (names, comma-separated).`,
    `# The data it was made from is under this licence:`,
    '#',
    ...licence.trimEnd().split('\n').map((line) => (line ? `# ${line}` : '#')),
    'id\tname\ttitle\tmax_level\tkind\texcludes',
    ...rows.sort((a, b) => a.id - b.id).map((r) => [r.id, r.name, r.title, r.max, r.kind, r.exclude.join(',')].join('\t')),
  ];
  return lines.join('\n') + '\n';
}
