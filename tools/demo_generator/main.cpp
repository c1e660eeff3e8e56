// make_demo_sandbox <sandbox folder>
//
// Writes the demo game's data into <sandbox folder>/Documents/games/com.mojang:
// five worlds in minecraftWorlds and minecraftpe/options.txt. Everything is
// written through Tarnbook and the game's LevelDB, so the demo is read by the
// same code as a real game. The level.dat files are the same bytes on every
// run (fixed times and seeds); the LevelDB files may differ. Lakeside
// Survival, Creative Flatland and Modern Survival also get land for their
// maps, in the forms of their eras (DemoLand.h), and Modern Survival and
// Lakeside Survival creatures (DemoCreatures.h), and Modern Survival
// containers (DemoContainers.h).
//
//   Lakeside Survival   0.9-era survival world: LevelDB player with a full
//                       inventory (9 hotbar links, 36 items) and armor
//   Creative Flatland   creative world with flying abilities
//   Old Cave World      the format before LevelDB: no db/, "Player" in level.dat
//   Broken World        level.dat damaged, level.dat_old whole: the fallback path
//   Modern Survival     a world of today's game, in the folder bW9kZXJuAA==:
//                       storage version 10, items named ("minecraft:diamond_sword")
//                       in a 36-slot inventory and 4 armor slots, with "Block"
//                       and "tag" compounds, empty slots, and an add-on's item
//                       the catalogue does not know; a filled ender chest,
//                       and two friends' records with a third friend's
//                       pointer to a record that is gone; game rules, weather,
//                       the player's experience level and attributes
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <leveldb/db.h>
#include <leveldb/env.h>
#include <leveldb/zlib_compressor.h>

#include "DemoContainers.h"
#include "DemoCreatures.h"
#include "DemoLand.h"
#include "Tarnbook/TBKException.h"
#include "Tarnbook/TBKLevelDB.h"
#include "Tarnbook/TBKListTag.h"
#include "Tarnbook/TBKNBT.h"
#include "Tarnbook/TBKNumberTag.h"
#include "Tarnbook/TBKStringTag.h"

namespace fs = std::filesystem;

namespace {

const char* const modernWorldFolder = "bW9kZXJuAA==";

struct Item {
  int16_t id;
  int8_t count;
  int16_t damage;
};

struct WorldPlan {
  std::string name;
  int32_t gameType;
  int64_t lastPlayed;  // seconds since 1970 (UTC)
  int64_t seed;
  int32_t spawn[3];
  bool withDatabase;
  int32_t storageVersion;
  std::vector<Item> items;  // the 36 inventory slots after the hotbar links
  std::vector<Item> armor;  // helmet, chestplate, leggings, boots
};

std::shared_ptr<TBKCompoundTag> itemEntry(int slot, const Item& item) {
  auto entry = std::make_shared<TBKCompoundTag>("");
  entry->setValueForKey(TBKNumberTag::byteTag("Slot", static_cast<int8_t>(slot)));
  entry->setValueForKey(TBKNumberTag::shortTag("id", item.id));
  entry->setValueForKey(TBKNumberTag::byteTag("Count", item.count));
  entry->setValueForKey(TBKNumberTag::shortTag("Damage", item.damage));
  return entry;
}

std::shared_ptr<TBKListTag> floats(const std::string& name, std::initializer_list<float> values) {
  auto list = std::make_shared<TBKListTag>(name, TBKTagType::Float);
  for (float value : values) list->setObjectAtIndexedSubscript(TBKNumberTag::floatTag("", value), list->count());
  return list;
}

std::shared_ptr<TBKCompoundTag> makePlayer(const WorldPlan& plan) {
  bool creative = plan.gameType == 1;
  auto player = std::make_shared<TBKCompoundTag>(plan.withDatabase ? "" : "Player");
  player->setValueForKey(TBKNumberTag::shortTag("Air", 300));
  auto armor = std::make_shared<TBKListTag>("Armor", TBKTagType::Compound);
  for (const Item& piece : plan.armor) {
    auto entry = std::make_shared<TBKCompoundTag>("");
    entry->setValueForKey(TBKNumberTag::shortTag("id", piece.id));
    entry->setValueForKey(TBKNumberTag::byteTag("Count", piece.count));
    entry->setValueForKey(TBKNumberTag::shortTag("Damage", piece.damage));
    armor->setObjectAtIndexedSubscript(entry, armor->count());
  }
  player->setValueForKey(armor);
  player->setValueForKey(TBKNumberTag::shortTag("AttackTime", 0));
  player->setValueForKey(TBKNumberTag::shortTag("DeathTime", 0));
  player->setValueForKey(TBKNumberTag::floatTag("FallDistance", 0.0f));
  player->setValueForKey(TBKNumberTag::shortTag("Fire", -20));
  player->setValueForKey(TBKNumberTag::shortTag("Health", 20));
  player->setValueForKey(TBKNumberTag::shortTag("HurtTime", 0));

  // The first nine entries link the hotbar to inventory slots; the screens
  // never show them.
  auto inventory = std::make_shared<TBKListTag>("Inventory", TBKTagType::Compound);
  for (int link = 0; link < 9; ++link) {
    inventory->setObjectAtIndexedSubscript(itemEntry(link, {-1, -1, 0}), inventory->count());
  }
  for (size_t i = 0; i < plan.items.size(); ++i) {
    inventory->setObjectAtIndexedSubscript(itemEntry(static_cast<int>(i) + 9, plan.items[i]), inventory->count());
  }
  player->setValueForKey(inventory);

  player->setValueForKey(floats("Motion", {0.0f, -0.0784f, 0.0f}));
  player->setValueForKey(TBKNumberTag::byteTag("OnGround", 1));
  player->setValueForKey(floats("Pos", {plan.spawn[0] + 0.5f, plan.spawn[1] + 1.62f, plan.spawn[2] + 0.5f}));
  player->setValueForKey(floats("Rotation", {135.0f, 12.5f}));
  player->setValueForKey(TBKNumberTag::intTag("Score", 0));
  player->setValueForKey(TBKNumberTag::shortTag("SleepTimer", 0));
  player->setValueForKey(TBKNumberTag::byteTag("Sleeping", 0));
  player->setValueForKey(TBKNumberTag::intTag("SpawnX", plan.spawn[0]));
  player->setValueForKey(TBKNumberTag::intTag("SpawnY", plan.spawn[1]));
  player->setValueForKey(TBKNumberTag::intTag("SpawnZ", plan.spawn[2]));

  auto abilities = std::make_shared<TBKCompoundTag>("abilities");
  // A creative player is met in flight, so that a change of game type must land them.
  abilities->setValueForKey(TBKNumberTag::byteTag("flying", creative));
  abilities->setValueForKey(TBKNumberTag::byteTag("instabuild", creative));
  abilities->setValueForKey(TBKNumberTag::byteTag("invulnerable", creative));
  abilities->setValueForKey(TBKNumberTag::byteTag("lightning", 0));
  abilities->setValueForKey(TBKNumberTag::byteTag("mayfly", creative));
  abilities->setValueForKey(TBKNumberTag::floatTag("flySpeed", 0.05f));
  abilities->setValueForKey(TBKNumberTag::floatTag("walkSpeed", 0.1f));
  player->setValueForKey(abilities);
  player->setValueForKey(TBKNumberTag::intTag("bedPositionX", 0));
  player->setValueForKey(TBKNumberTag::intTag("bedPositionY", 0));
  player->setValueForKey(TBKNumberTag::intTag("bedPositionZ", 0));
  player->setValueForKey(TBKNumberTag::intTag("id", 63));
  return player;
}

std::shared_ptr<TBKCompoundTag> makeLevel(const WorldPlan& plan) {
  auto level = std::make_shared<TBKCompoundTag>("");
  level->setValueForKey(TBKNumberTag::intTag("GameType", plan.gameType));
  if (plan.withDatabase) level->setValueForKey(TBKNumberTag::intTag("Generator", plan.gameType == 1 ? 2 : 1));
  level->setValueForKey(TBKNumberTag::longTag("LastPlayed", plan.lastPlayed));
  level->setValueForKey(std::make_shared<TBKStringTag>("LevelName", plan.name));
  level->setValueForKey(TBKNumberTag::intTag("Platform", 2));
  level->setValueForKey(TBKNumberTag::longTag("RandomSeed", plan.seed));
  level->setValueForKey(TBKNumberTag::longTag("SizeOnDisk", 0));
  level->setValueForKey(TBKNumberTag::intTag("SpawnX", plan.spawn[0]));
  level->setValueForKey(TBKNumberTag::intTag("SpawnY", plan.spawn[1]));
  level->setValueForKey(TBKNumberTag::intTag("SpawnZ", plan.spawn[2]));
  level->setValueForKey(TBKNumberTag::intTag("StorageVersion", plan.storageVersion));
  level->setValueForKey(TBKNumberTag::longTag("Time", 13400));
  level->setValueForKey(TBKNumberTag::intTag("dayCycleStopTime", -1));
  level->setValueForKey(TBKNumberTag::byteTag("spawnMobs", plan.gameType == 0));
  if (!plan.withDatabase) level->setValueForKey(makePlayer(plan));
  return level;
}

void writeWorld(const fs::path& worlds, const WorldPlan& plan) {
  fs::path folder = worlds / plan.name;
  fs::remove_all(folder);
  fs::create_directories(plan.withDatabase ? folder / "db" : folder);
  TBKLevelDB db(folder.string(), plan.name, "");
  db.setStorageVersion(plan.storageVersion);
  db.setLevelData(makeLevel(plan));
  if (plan.withDatabase) db.setPlayer(makePlayer(plan));
}

std::vector<Item> survivalItems() {
  return {{276, 1, 112}, {278, 1, 40}, {257, 1, 250}, {261, 1, 3},  {262, 48, 0}, {50, 64, 0},
          {4, 64, 0},    {4, 37, 0},   {17, 20, 0},   {5, 64, 0},   {20, 16, 0},  {58, 1, 0},
          {61, 2, 0},    {54, 3, 0},   {65, 24, 0},   {324, 1, 0},  {263, 30, 0}, {264, 5, 0},
          {265, 17, 0},  {266, 4, 0},  {280, 32, 0},  {287, 9, 0},  {288, 12, 0}, {295, 22, 0},
          {296, 9, 0},   {297, 6, 0},  {320, 8, 0},   {260, 3, 0},  {325, 1, 0},  {355, 1, 0},
          {35, 16, 14},  {35, 8, 4},   {351, 10, 4},  {338, 11, 0}, {339, 6, 0},  {0, 0, 0}};
}

std::vector<Item> creativeItems() {
  std::vector<Item> items;
  const int16_t ids[] = {1,  2,  3,  4,  5,  12,  13,  17,  20,  24,  35,  41, 42, 45, 47, 48, 49, 57,
                         79, 80, 82, 89, 98, 103, 112, 155, 245, 246, 247, 50, 54, 58, 61, 65, 85, 107};
  for (size_t i = 0; i < sizeof ids / sizeof ids[0]; ++i) items.push_back({ids[i], 64, 0});
  return items;
}

// Today's game: every inventory and armor entry is a compound with "Count",
// "Damage", "Name" ("" for an empty slot), "Slot" (inventory only) and
// "WasPickedUp", in that order, then "Block" for a block item and "tag" for
// anything with data of its own (wear, enchantments, a custom name).
struct NamedItem {
  const char* name;
  int8_t count;
  int16_t damage;
  std::shared_ptr<TBKCompoundTag> block;
  std::shared_ptr<TBKCompoundTag> tag;
};

std::shared_ptr<TBKCompoundTag> compound(const std::string& name, std::vector<std::shared_ptr<TBKTag>> children) {
  auto tag = std::make_shared<TBKCompoundTag>(name);
  for (auto& child : children) tag->setValueForKey(std::move(child));
  return tag;
}

std::shared_ptr<TBKStringTag> text(const std::string& name, const std::string& value) {
  return std::make_shared<TBKStringTag>(name, value);
}

// The "Block" compound of a block item: the block's name, its states and the
// version of the block format (1.21's, as the game writes it today).
std::shared_ptr<TBKCompoundTag> block(const std::string& name, std::vector<std::shared_ptr<TBKTag>> states = {}) {
  return compound(
      "Block", {text("name", name), compound("states", std::move(states)), TBKNumberTag::intTag("version", 18168865)});
}

std::shared_ptr<TBKCompoundTag> enchantments(int32_t wear, std::initializer_list<std::pair<int16_t, int16_t>> list) {
  auto ench = std::make_shared<TBKListTag>("ench", TBKTagType::Compound);
  for (auto [id, level] : list) {
    ench->setObjectAtIndexedSubscript(
        compound("", {TBKNumberTag::shortTag("id", id), TBKNumberTag::shortTag("lvl", level)}), ench->count());
  }
  return compound("tag", {TBKNumberTag::intTag("Damage", wear), TBKNumberTag::intTag("RepairCost", 1), ench});
}

std::shared_ptr<TBKCompoundTag> namedEntry(int slot, const NamedItem& item) {
  auto entry = std::make_shared<TBKCompoundTag>("");
  entry->setValueForKey(TBKNumberTag::byteTag("Count", item.count));
  entry->setValueForKey(TBKNumberTag::shortTag("Damage", item.damage));
  entry->setValueForKey(text("Name", item.name));
  if (slot >= 0) entry->setValueForKey(TBKNumberTag::byteTag("Slot", static_cast<int8_t>(slot)));
  entry->setValueForKey(TBKNumberTag::byteTag("WasPickedUp", 0));
  if (item.block) entry->setValueForKey(item.block);
  if (item.tag) entry->setValueForKey(item.tag);
  return entry;
}

std::shared_ptr<TBKListTag> namedList(const std::string& name, const std::vector<NamedItem>& items, bool slots) {
  auto list = std::make_shared<TBKListTag>(name, TBKTagType::Compound);
  for (size_t i = 0; i < items.size(); ++i) {
    list->setObjectAtIndexedSubscript(namedEntry(slots ? static_cast<int>(i) : -1, items[i]), list->count());
  }
  return list;
}

// What a survival player of today carries, in slots 30 to 34: a worn,
// enchanted netherite sword, a worn mace with no enchantments, a purple
// shulker box full of gear (27 slots, one of them enchanted), a pickaxe with
// no "tag" at all, and an apple renamed on an anvil.
void addTodaysGear(std::vector<NamedItem>& items) {
  auto tagged = [](std::vector<std::shared_ptr<TBKTag>> children) { return compound("tag", std::move(children)); };
  const NamedItem boxed[] = {
      {"minecraft:diamond_helmet", 1, 0, nullptr, enchantments(12, {{0, 4}, {6, 3}})},
      {"minecraft:iron_ingot", 64, 0, nullptr, nullptr},
      {"minecraft:golden_carrot", 32, 0, nullptr, nullptr},
      {"minecraft:ender_pearl", 16, 0, nullptr, nullptr},
      {"minecraft:netherite_leggings", 1, 0, nullptr, tagged({TBKNumberTag::intTag("Damage", 300)})},
      {"minecraft:diamond_boots", 1, 0, nullptr, nullptr},
      {"minecraft:iron_shovel", 1, 0, nullptr, nullptr},
      {"minecraft:golden_hoe", 1, 0, nullptr, nullptr},
      {"minecraft:stone_axe", 1, 0, nullptr, nullptr},
  };
  auto contents = std::make_shared<TBKListTag>("Items", TBKTagType::Compound);
  for (int slot = 0; slot < 27; ++slot) {
    const NamedItem filler{"minecraft:cobblestone", static_cast<int8_t>(slot + 1), 0, nullptr, nullptr};
    contents->setObjectAtIndexedSubscript(namedEntry(slot, slot < 9 ? boxed[slot] : filler), contents->count());
  }
  items[30] = {"minecraft:netherite_sword", 1, 0, nullptr, enchantments(190, {{9, 5}, {17, 3}, {26, 1}})};
  items[31] = {"minecraft:mace", 1, 0, nullptr, tagged({TBKNumberTag::intTag("Damage", 75)})};
  items[32] = {"minecraft:purple_shulker_box", 1, 0, nullptr, tagged({contents})};
  items[33] = {"minecraft:iron_pickaxe", 1, 0, nullptr, nullptr};
  items[34] = {"minecraft:apple", 3, 0, nullptr, tagged({compound("display", {text("Name", "Lunch")})})};
}

// Slots 0 to 8 are the hotbar. Slots 17, 23 and 35 are empty.
std::vector<NamedItem> modernInventory() {
  const NamedItem empty{"", 0, 0, nullptr, nullptr};
  auto staff =
      compound("tag", {compound("display", {text("Name", "Ruby Staff")}), TBKNumberTag::intTag("myaddon:mana", 40)});
  std::vector<NamedItem> items = {
      {"minecraft:diamond_sword", 1, 0, nullptr, enchantments(112, {{9, 5}, {17, 3}})},
      {"minecraft:diamond_pickaxe", 1, 0, nullptr, enchantments(40, {{15, 4}})},
      {"minecraft:iron_axe", 1, 0, nullptr, enchantments(3, {})},
      {"minecraft:bow", 1, 0, nullptr, nullptr},
      {"minecraft:arrow", 48, 0, nullptr, nullptr},
      {"minecraft:torch", 64, 0, block("minecraft:torch", {text("torch_facing_direction", "unknown")}), nullptr},
      {"minecraft:cooked_beef", 12, 0, nullptr, nullptr},
      {"minecraft:oak_planks", 64, 0, block("minecraft:oak_planks"), nullptr},
      {"minecraft:water_bucket", 1, 0, nullptr, nullptr},
      {"minecraft:cobblestone", 64, 0, block("minecraft:cobblestone"), nullptr},
      {"minecraft:cherry_log", 20, 0, block("minecraft:cherry_log", {text("pillar_axis", "y")}), nullptr},
      {"minecraft:crafting_table", 1, 0, block("minecraft:crafting_table"), nullptr},
      {"minecraft:furnace", 2, 0, block("minecraft:furnace", {text("minecraft:cardinal_direction", "south")}), nullptr},
      {"myaddon:ruby_staff", 1, 0, nullptr, staff},
      {"minecraft:coal", 30, 0, nullptr, nullptr},
      {"minecraft:iron_ingot", 17, 0, nullptr, nullptr},
      {"minecraft:copper_ingot", 9, 0, nullptr, nullptr},
      empty,
      {"minecraft:diamond", 5, 0, nullptr, nullptr},
      {"minecraft:netherite_ingot", 1, 0, nullptr, nullptr},
      {"minecraft:amethyst_shard", 7, 0, nullptr, nullptr},
      {"minecraft:bread", 9, 0, nullptr, nullptr},
      {"minecraft:golden_carrot", 6, 0, nullptr, nullptr},
      empty,
      {"minecraft:bed", 1, 14, nullptr, nullptr},
      {"minecraft:white_wool", 16, 0, block("minecraft:white_wool"), nullptr},
      {"minecraft:spyglass", 1, 0, nullptr, nullptr},
      {"minecraft:potion", 3, 5, nullptr, nullptr},
      {"minecraft:redstone", 24, 0, nullptr, nullptr},
      {"minecraft:shield", 1, 0, nullptr, nullptr},
  };
  while (items.size() < 36) items.push_back(empty);
  addTodaysGear(items);
  return items;
}

std::vector<NamedItem> modernArmor() {
  return {{"minecraft:turtle_helmet", 1, 0, nullptr, nullptr},
          {"minecraft:netherite_chestplate", 1, 0, nullptr, enchantments(17, {{0, 4}})},
          {"minecraft:chainmail_leggings", 1, 0, nullptr, nullptr},
          {"", 0, 0, nullptr, nullptr}};
}

// A level.dat as today's game writes it, trimmed to a representative set:
// version lists, nested compounds and the fields the editor shows.
std::shared_ptr<TBKCompoundTag> makeModernLevel(const WorldPlan& plan) {
  auto version = [](const std::string& name) {
    auto list = std::make_shared<TBKListTag>(name, TBKTagType::Int);
    for (int32_t part : {1, 26, 30, 0, 0}) {
      list->setObjectAtIndexedSubscript(TBKNumberTag::intTag("", part), list->count());
    }
    return list;
  };
  auto level = std::make_shared<TBKCompoundTag>("");
  level->setValueForKey(text("BiomeOverride", ""));
  level->setValueForKey(TBKNumberTag::byteTag("CenterMapsToOrigin", 0));
  level->setValueForKey(TBKNumberTag::intTag("Difficulty", 2));
  level->setValueForKey(text("FlatWorldLayers", "null\n"));
  level->setValueForKey(TBKNumberTag::intTag("GameType", plan.gameType));
  level->setValueForKey(TBKNumberTag::intTag("Generator", 1));
  level->setValueForKey(text("InventoryVersion", "1.26.30"));
  level->setValueForKey(TBKNumberTag::longTag("LastPlayed", plan.lastPlayed));
  level->setValueForKey(text("LevelName", plan.name));
  level->setValueForKey(version("MinimumCompatibleClientVersion"));
  level->setValueForKey(TBKNumberTag::intTag("NetworkVersion", 1001));
  level->setValueForKey(TBKNumberTag::intTag("Platform", 2));
  level->setValueForKey(TBKNumberTag::longTag("RandomSeed", plan.seed));
  level->setValueForKey(TBKNumberTag::intTag("SpawnX", plan.spawn[0]));
  level->setValueForKey(TBKNumberTag::intTag("SpawnY", plan.spawn[1]));
  level->setValueForKey(TBKNumberTag::intTag("SpawnZ", plan.spawn[2]));
  level->setValueForKey(TBKNumberTag::intTag("StorageVersion", plan.storageVersion));
  level->setValueForKey(TBKNumberTag::longTag("Time", 52311));
  level->setValueForKey(TBKNumberTag::intTag("WorldVersion", 1));
  level->setValueForKey(
      compound("abilities", {TBKNumberTag::byteTag("attackmobs", 1), TBKNumberTag::byteTag("build", 1),
                             TBKNumberTag::floatTag("flySpeed", 0.05f), TBKNumberTag::byteTag("flying", 0),
                             TBKNumberTag::byteTag("instabuild", 0), TBKNumberTag::byteTag("invulnerable", 0),
                             TBKNumberTag::byteTag("mayfly", 0), TBKNumberTag::byteTag("mine", 1),
                             TBKNumberTag::floatTag("walkSpeed", 0.1f)}));
  level->setValueForKey(TBKNumberTag::byteTag("commandsEnabled", 0));
  level->setValueForKey(TBKNumberTag::longTag("currentTick", 1048576));
  level->setValueForKey(TBKNumberTag::byteTag("dodaylightcycle", 1));
  level->setValueForKey(compound("experiments", {TBKNumberTag::byteTag("experiments_ever_used", 0),
                                                 TBKNumberTag::byteTag("saved_with_toggled_experiments", 0)}));
  level->setValueForKey(version("lastOpenedWithVersion"));
  level->setValueForKey(TBKNumberTag::longTag("worldStartCount", 4294967294LL));
  return level;
}

std::shared_ptr<TBKCompoundTag> makeModernPlayer(const WorldPlan& plan) {
  auto player = makePlayer(plan);
  player->setValueForKey(namedList("Armor", modernArmor(), false));
  player->setValueForKey(namedList("Inventory", modernInventory(), true));
  player->setValueForKey(namedList("Offhand", {{"", 0, 0, nullptr, nullptr}}, false));
  player->setValueForKey(text("identifier", "minecraft:player"));
  player->setValueForKey(TBKNumberTag::longTag("UniqueID", -4294967295LL));
  return player;
}

// The rest of what today's game keeps beside the fields the screens edit:
// game rules and weather at the top of level.dat, the player's experience
// and attributes. Values are those of a fresh survival world.
void addGameRulesAndProgress(TBKCompoundTag& level, TBKCompoundTag& player) {
  for (const char* rule :
       {"commandblockoutput", "doentitydrops", "dofiretick", "domobloot", "domobspawning", "dotiledrops",
        "doweathercycle", "mobgriefing", "naturalregeneration", "pvp", "sendcommandfeedback", "tntexplodes"}) {
    level.setValueForKey(TBKNumberTag::byteTag(rule, 1));
  }
  level.setValueForKey(TBKNumberTag::byteTag("keepinventory", 0));
  level.setValueForKey(TBKNumberTag::byteTag("showcoordinates", 0));
  level.setValueForKey(TBKNumberTag::intTag("spawnradius", 5));
  level.setValueForKey(TBKNumberTag::intTag("randomtickspeed", 1));
  level.setValueForKey(TBKNumberTag::floatTag("rainLevel", 0.0f));
  level.setValueForKey(TBKNumberTag::intTag("rainTime", 63480));
  level.setValueForKey(TBKNumberTag::floatTag("lightningLevel", 0.0f));
  level.setValueForKey(TBKNumberTag::intTag("lightningTime", 102400));

  player.setValueForKey(TBKNumberTag::intTag("PlayerLevel", 12));
  player.setValueForKey(TBKNumberTag::floatTag("PlayerLevelProgress", 0.35f));
  auto attributes = std::make_shared<TBKListTag>("Attributes", TBKTagType::Compound);
  struct Attribute {
    const char* name;
    float current, max;
  };
  for (const Attribute& a :
       {Attribute{"minecraft:health", 20, 20}, Attribute{"minecraft:player.hunger", 17, 20},
        Attribute{"minecraft:player.saturation", 3.5f, 20}, Attribute{"minecraft:movement", 0.1f, 3.4e38f}}) {
    attributes->setObjectAtIndexedSubscript(
        compound("", {text("Name", a.name), TBKNumberTag::floatTag("Base", a.max == 20 ? 20 : a.current),
                      TBKNumberTag::floatTag("Current", a.current), TBKNumberTag::floatTag("Max", a.max),
                      TBKNumberTag::floatTag("Min", 0)}),
        attributes->count());
  }
  player.setValueForKey(attributes);
}

// Today's game names a world's folder with a short random id and keeps the
// world's name in levelname.txt and level.dat.
void writeModernWorld(const fs::path& worlds, const std::string& folderName, const WorldPlan& plan) {
  fs::path folder = worlds / folderName;
  fs::remove_all(folder);
  fs::create_directories(folder / "db");
  TBKLevelDB db(folder.string(), plan.name, "");
  db.setStorageVersion(plan.storageVersion);
  auto level = makeModernLevel(plan);
  auto player = makeModernPlayer(plan);
  addGameRulesAndProgress(*level, *player);
  db.setLevelData(level);
  db.setPlayer(player);
}

// Friends who played the modern world: the local player gains a filled ender
// chest, a game mode of their own (Default: the world's) and an experience
// level; "Alex" and "Sam" have full records under player_server_<uuid>,
// reached through their player_<id> pointers; a third pointer names a
// record the world no longer holds, as a server's save can leave one.
void addModernFriends(const fs::path& folder, const WorldPlan& plan) {
  const std::string alex = "player_server_5c3f7e1a-2b4d-4e8f-9a0b-1c2d3e4f5a6b";
  const std::string sam = "player_server_9e8d7c6b-5a49-4382-9170-6f5e4d3c2b1a";
  const std::string lost = "player_server_0badf00d-0000-4000-8000-00000000c0de";
  const NamedItem empty{"", 0, 0, nullptr, nullptr};
  std::vector<NamedItem> chest(27, empty);
  chest[0] = {"minecraft:diamond", 32, 0, nullptr, nullptr};
  chest[1] = {"minecraft:emerald", 20, 0, nullptr, nullptr};
  chest[2] = {"minecraft:enchanted_golden_apple", 2, 0, nullptr, nullptr};
  chest[9] = {"minecraft:ender_pearl", 16, 0, nullptr, nullptr};
  chest[10] = {"minecraft:experience_bottle", 64, 0, nullptr, nullptr};
  chest[13] = {"minecraft:elytra", 1, 0, nullptr, nullptr};
  chest[26] = {"minecraft:totem_of_undying", 1, 0, nullptr, nullptr};
  {
    TBKLevelDB db(folder.string(), plan.name, "");
    auto local = db.player();
    local->setValueForKey(namedList("EnderChestInventory", chest, true));
    local->setValueForKey(TBKNumberTag::intTag("PlayerGameMode", 5));
    local->setValueForKey(TBKNumberTag::intTag("PlayerLevel", 23));
    local->setValueForKey(TBKNumberTag::intTag("DimensionId", 0));
    db.setPlayer(local);

    struct Friend {
      std::string key;
      int32_t mode, level, dimension;
      std::array<float, 3> position;
      std::vector<NamedItem> chest;
    };
    std::vector<NamedItem> alexChest(27, empty), samChest(27, empty);
    alexChest[0] = {"minecraft:gold_ingot", 12, 0, nullptr, nullptr};
    samChest[5] = {"minecraft:obsidian", 10, 0, block("minecraft:obsidian"), nullptr};
    for (const Friend& other : {Friend{alex, 5, 7, 0, {-58.5f, 72.0f, 118.5f}, alexChest},
                                Friend{sam, 0, 31, 1, {12.5f, 40.0f, -3.5f}, samChest}}) {
      auto player = makeModernPlayer(plan);
      player->setValueForKey(floats("Pos", {other.position[0], other.position[1], other.position[2]}));
      player->setValueForKey(namedList("EnderChestInventory", other.chest, true));
      player->setValueForKey(TBKNumberTag::intTag("PlayerGameMode", other.mode));
      player->setValueForKey(TBKNumberTag::intTag("PlayerLevel", other.level));
      player->setValueForKey(TBKNumberTag::intTag("DimensionId", other.dimension));
      db.setPlayerForKey(other.key, player);
    }
  }
  // The pointers are no player records, so the library does not write them.
  struct SilentLogger : leveldb::Logger {
    void Logv(const char*, va_list) override {}
  } logger;  // the game leaves no LOG file in a world
  leveldb::ZlibCompressor zlib;
  leveldb::Options options;
  options.compressors[0] = &zlib;
  options.info_log = &logger;
  leveldb::DB* raw = nullptr;
  if (!leveldb::DB::Open(options, (folder / "db").string(), &raw).ok()) {
    throw TBKException(TBKException::Kind::File, "Could not open the database of " + plan.name);
  }
  std::unique_ptr<leveldb::DB> database(raw);
  for (const auto& [id, server] : {std::pair<std::string, std::string>{"2535416409671158", alex},
                                   {"2535460872113540", sam},
                                   {"2535487654321098", lost}}) {
    auto pointer = compound("", {text("MsaId", id), text("SelfSignedId", ""), text("ServerId", server)});
    leveldb::WriteOptions sync;
    sync.sync = true;
    database->Put(sync, "player_" + id, TBKNBT::serialise(*pointer));
  }
}

void writeOptions(const fs::path& folder) {
  fs::create_directories(folder);
  // Every line ends in a line feed; keys the options screen edits are all
  // present, with the others the game of that era writes.
  const char* text =
      "mp_username:Steve\n"
      "mp_server:Steve\n"
      "mp_server_visible_default:1\n"
      "game_difficulty:2\n"
      "game_thirdperson:0\n"
      "game_server_visible:1\n"
      "game_limitworldsize:0\n"
      "game_flatworldlayers:4\n"
      "game_language:en_US\n"
      "gfx_renderdistance_new:2\n"
      "gfx_fancygraphics:1\n"
      "gfx_lowquality:0\n"
      "gfx_pixeldensity:1\n"
      "gfx_hidegui:0\n"
      "ctrl_sensitivity:0.5\n"
      "ctrl_invertmouse:0\n"
      "ctrl_islefthanded:0\n"
      "ctrl_usetouchscreen:1\n"
      "ctrl_usetouchjoypad:1\n"
      "ctrl_swapjumpandsneak:0\n"
      "feedback_vibration:1\n"
      "audio_sound:1\n"
      "dev_autoloadlevel:0\n"
      "dev_showchunkmap:0\n"
      "dev_disablefilesystem:0\n";
  std::ofstream out(folder / "options.txt", std::ios::binary | std::ios::trunc);
  out << text;
  if (!out) throw TBKException(TBKException::Kind::File, "Could not write " + (folder / "options.txt").string());
}

void damageLevelDat(const fs::path& folder) {
  fs::path level = folder / "level.dat";
  auto size = fs::file_size(level);
  // Cut inside the data: what a crash in the middle of a non-atomic save leaves.
  fs::resize_file(level, size * 2 / 3);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_demo_sandbox <sandbox folder>\n");
    return 1;
  }
  fs::path games = fs::path(argv[1]) / "Documents" / "games" / "com.mojang";
  fs::path worlds = games / "minecraftWorlds";
  try {
    fs::create_directories(worlds);
    std::vector<Item> plainArmor = {{306, 1, 12}, {307, 1, 30}, {300, 1, 5}, {0, 0, 0}};
    std::vector<Item> diamondArmor = {{310, 1, 0}, {311, 1, 0}, {312, 1, 0}, {313, 1, 0}};
    std::vector<Item> noArmor = {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}};

    writeWorld(worlds,
               {"Lakeside Survival", 0, 1404475200, -2061734516, {212, 68, -97}, true, 3, survivalItems(), plainArmor});
    writeWorld(worlds,
               {"Creative Flatland", 1, 1404388800, 1987, {128, 4, 128}, true, 3, creativeItems(), diamondArmor});
    writeWorld(worlds, {"Old Cave World", 0, 1372636800, 74656, {64, 52, 71}, false, 2, survivalItems(), noArmor});

    WorldPlan broken{"Broken World", 0, 1404302400, 424242, {8, 70, 8}, true, 3, survivalItems(), plainArmor};
    writeWorld(worlds, broken);
    {
      // A second save makes the first one level.dat_old, then level.dat is damaged.
      TBKLevelDB db((worlds / broken.name).string(), broken.name, "");
      db.setLevelData(db.levelData());
    }
    damageLevelDat(worlds / broken.name);

    WorldPlan modern{"Modern Survival", 0, 1796558400, 7355608, {-64, 71, 112}, true, 10, {}, {}};
    writeModernWorld(worlds, modernWorldFolder, modern);
    addModernFriends(worlds / modernWorldFolder, modern);

    // Land for the maps: today's world in both its forms and dimensions,
    // the early worlds in theirs.
    demoland::writeTodaysLand(worlds / modernWorldFolder);
    demoland::writeEarlyWholeChunks(worlds / "Lakeside Survival", 212, -97);
    demoland::writeEarlySubChunks(worlds / "Creative Flatland", 128, 128);
    // Creatures: today's in records of their own, an early world's one in
    // its chunk's value.
    democreatures::writeTodaysCreatures(worlds / modernWorldFolder);
    democreatures::writeOldFormSheep(worlds / "Lakeside Survival", 216, 66, -93);
    democontainers::writeTodaysContainers(worlds / modernWorldFolder);

    writeOptions(games / "minecraftpe");
  } catch (const std::exception& error) {
    std::fprintf(stderr, "make_demo_sandbox: %s\n", error.what());
    return 1;
  }
  return 0;
}
