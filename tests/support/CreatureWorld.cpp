#include "CreatureWorld.h"

#include <map>
#include <stdexcept>
#include <vector>

#include <leveldb/write_batch.h>

#include "GameDatabase.h"
#include "Tarnbook/TBKListTag.h"
#include "Tarnbook/TBKNBT.h"
#include "Tarnbook/TBKNumberTag.h"
#include "Tarnbook/TBKStringTag.h"

namespace creatureworld {

namespace {

using Tags = std::vector<std::shared_ptr<TBKTag>>;

std::string bytesOf(int64_t value, size_t width) {
  std::string bytes(width, '\0');
  for (size_t i = 0; i < width; ++i) bytes[i] = static_cast<char>((static_cast<uint64_t>(value) >> (8 * i)) & 0xff);
  return bytes;
}

std::shared_ptr<TBKCompoundTag> item(const std::string& name, int count, int slot = -1) {
  auto entry = std::make_shared<TBKCompoundTag>("");
  entry->setValueForKey(TBKNumberTag::byteTag("Count", static_cast<int8_t>(count)));
  entry->setValueForKey(TBKNumberTag::shortTag("Damage", 0));
  entry->setValueForKey(std::make_shared<TBKStringTag>("Name", name));
  if (slot >= 0) entry->setValueForKey(TBKNumberTag::byteTag("Slot", static_cast<int8_t>(slot)));
  entry->setValueForKey(TBKNumberTag::byteTag("WasPickedUp", 0));
  return entry;
}

std::shared_ptr<TBKListTag> items(const std::string& name, Tags entries) {
  return std::make_shared<TBKListTag>(name, TBKTagType::Compound, std::move(entries));
}

std::shared_ptr<TBKCompoundTag> entity(const std::string& identifier, int64_t id, float x, float y, float z,
                                       float health = 0) {
  auto tree = std::make_shared<TBKCompoundTag>("");
  tree->setValueForKey(std::make_shared<TBKStringTag>("identifier", identifier));
  tree->setValueForKey(TBKNumberTag::longTag("UniqueID", id));
  tree->setValueForKey(std::make_shared<TBKListTag>(
      "Pos", TBKTagType::Float,
      Tags{TBKNumberTag::floatTag("", x), TBKNumberTag::floatTag("", y), TBKNumberTag::floatTag("", z)}));
  tree->setValueForKey(TBKNumberTag::byteTag("Persistent", 0));
  if (health > 0) {
    auto entry = std::make_shared<TBKCompoundTag>("");
    entry->setValueForKey(TBKNumberTag::floatTag("Base", 20));
    entry->setValueForKey(TBKNumberTag::floatTag("Current", health));
    entry->setValueForKey(TBKNumberTag::floatTag("Max", 20));
    entry->setValueForKey(std::make_shared<TBKStringTag>("Name", "minecraft:health"));
    tree->setValueForKey(items("Attributes", Tags{entry}));
  }
  return tree;
}

std::shared_ptr<TBKCompoundTag> named(std::shared_ptr<TBKCompoundTag> tree, const std::string& name) {
  tree->setValueForKey(std::make_shared<TBKStringTag>("CustomName", name));
  return tree;
}

}  // namespace

std::string entityKey(int64_t id) { return "actorprefix" + bytesOf(id, 8); }

std::string digestKey(int32_t x, int32_t z, int32_t dimension) {
  return "digp" + bytesOf(x, 4) + bytesOf(z, 4) + (dimension ? bytesOf(dimension, 4) : "");
}

std::string oldFormKey(int32_t x, int32_t z, int32_t dimension) {
  return bytesOf(x, 4) + bytesOf(z, 4) + (dimension ? bytesOf(dimension, 4) : "") + '\x32';
}

std::vector<std::string> oldFormRoots() {
  return {TBKNBT::serialise(*entity("minecraft:pig", 21, 85, 64, 85, 10)),
          TBKNBT::serialise(*named(entity("minecraft:chicken", 22, 86, 64, 86, 4), "Old Hen")),
          TBKNBT::serialise(*entity("minecraft:sheep", 23, 87, 64, 87, 8))};
}

void write(const std::filesystem::path& worldFolder) {
  auto wolfTree = named(entity("minecraft:wolf", wolf, 40.5f, 64, -20.5f, 14), "Rex");
  wolfTree->setValueForKey(TBKNumberTag::longTag("OwnerNew", -4294967295LL));
  auto stand = entity("minecraft:armor_stand", armorStand, 3, 64, 20, 6);
  stand->setValueForKey(items("Armor", Tags{item("", 0), item("minecraft:iron_chestplate", 1), item("", 0),
                                            item("minecraft:golden_boots", 1)}));
  stand->setValueForKey(items("Mainhand", Tags{item("minecraft:torch", 1)}));
  stand->setValueForKey(items("Offhand", Tags{item("", 0)}));
  auto donkeyTree = entity("minecraft:donkey", donkey, 6, 64, 22, 19);
  donkeyTree->setValueForKey(TBKNumberTag::byteTag("Chested", 1));
  donkeyTree->setValueForKey(items("ChestItems", Tags{item("minecraft:wheat", 12, 0), item("minecraft:saddle", 1, 1)}));
  auto cart = entity("minecraft:chest_minecart", minecart, 9, 64, 25);
  cart->setValueForKey(items("Items", Tags{item("minecraft:rail", 32, 4)}));
  auto dropped = [](int64_t id, const std::string& name, float x) {
    auto tree = entity("minecraft:item", id, x, 63, 5);
    auto what = item(name, 3);
    tree->setObjectForKeyedSubscript(what, "Item");
    return tree;
  };

  struct Placed {
    std::shared_ptr<TBKCompoundTag> tree;
    std::string digest;
  };
  std::vector<Placed> placed{
      {wolfTree, digestKey(2, -2)},
      {entity("minecraft:villager_v2", villager, 8, 64, 8, 20), digestKey(0, 0)},
      {named(entity("minecraft:villager_v2", smith, 9, 64, 9, 20), "Smith"), digestKey(0, 0)},
      {entity("minecraft:zombie", zombie, -24, 70, 3, 20), digestKey(-2, 0, 1)},
      {stand, digestKey(0, 1)},
      {donkeyTree, digestKey(0, 1)},
      {cart, digestKey(0, 1)},
      {dropped(apple, "minecraft:apple", 20), digestKey(1, 0)},
      {dropped(stone, "minecraft:cobblestone", 21), digestKey(1, 0)},
      {entity("minecraft:xp_orb", orb, 22, 63, 5), digestKey(1, 0)},
      {named(entity("ymi:cyclops", cyclops, 50, 70, 50, 80), "Polyphemus"), digestKey(3, 3)},
      {entity("minecraft:cow", unlisted, 100, 64, 100, 10), ""},
  };
  std::map<std::string, std::string> digests{{digestKey(1, 0), ""}};
  auto db = gamedatabase::open(worldFolder / "db");
  leveldb::WriteBatch batch;
  for (const auto& [tree, digest] : placed) {
    int64_t id = tree->numberForKey("UniqueID").longLongValue();
    batch.Put(entityKey(id), TBKNBT::serialise(*tree));
    if (!digest.empty()) digests[digest] += bytesOf(id, 8);
  }
  digests[digestKey(1, 0)] += bytesOf(missing, 8);
  for (const auto& [key, ids] : digests) batch.Put(key, ids);
  batch.Put(entityKey(damaged), std::string("\x0a\x00\x00\x08", 4));
  std::string old;
  for (const auto& root : oldFormRoots()) old += root;
  batch.Put(oldFormKey(5, 5), old);
  leveldb::WriteOptions sync;
  sync.sync = true;
  if (!db->Write(sync, &batch).ok()) throw std::runtime_error("the creatures could not be written");
}

}  // namespace creatureworld
