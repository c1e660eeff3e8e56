#include "DemoCreatures.h"

#include <cmath>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "DemoDatabase.h"
#include "DemoLand.h"
#include "Tarnbook/TBKEntity.h"
#include "Tarnbook/TBKListTag.h"
#include "Tarnbook/TBKNBT.h"
#include "Tarnbook/TBKNumberTag.h"
#include "Tarnbook/TBKStringTag.h"

namespace democreatures {
namespace {

using Tags = std::vector<std::shared_ptr<TBKTag>>;
using demoland::appendInt;

// The local player's UniqueID in today's demo world: the owner of its pets.
constexpr int64_t playerId = -4294967295LL;

std::shared_ptr<TBKCompoundTag> compound(const std::string& name, Tags children) {
  auto tag = std::make_shared<TBKCompoundTag>(name);
  for (auto& child : children) tag->setValueForKey(std::move(child));
  return tag;
}

std::shared_ptr<TBKStringTag> text(const std::string& name, const std::string& value) {
  return std::make_shared<TBKStringTag>(name, value);
}

std::shared_ptr<TBKListTag> floats(const std::string& name, std::initializer_list<float> values) {
  Tags entries;
  for (float value : values) entries.push_back(TBKNumberTag::floatTag("", value));
  return std::make_shared<TBKListTag>(name, TBKTagType::Float, std::move(entries));
}

// An item as today's game keeps it in a creature's lists; slot < 0 for the
// lists that carry no "Slot" (armor, hands).
std::shared_ptr<TBKCompoundTag> item(const std::string& name, int count, int slot = -1) {
  Tags fields{TBKNumberTag::byteTag("Count", static_cast<int8_t>(count)), TBKNumberTag::shortTag("Damage", 0),
              text("Name", name)};
  if (slot >= 0) fields.push_back(TBKNumberTag::byteTag("Slot", static_cast<int8_t>(slot)));
  fields.push_back(TBKNumberTag::byteTag("WasPickedUp", 0));
  return compound("", std::move(fields));
}

std::shared_ptr<TBKListTag> items(const std::string& name, Tags entries) {
  return std::make_shared<TBKListTag>(name, TBKTagType::Compound, std::move(entries));
}

struct Creature {
  std::string identifier;
  int64_t id;
  float x, y, z;
  float health, maxHealth;  // no health attribute when maxHealth is 0
};

// The fields every entity of today's game carries, then its health.
std::shared_ptr<TBKCompoundTag> entity(const Creature& c) {
  auto tree = compound(
      "", {TBKNumberTag::byteTag("Invulnerable", 0), floats("Motion", {0, 0, 0}), TBKNumberTag::byteTag("OnGround", 1),
           TBKNumberTag::byteTag("Persistent", 0), floats("Pos", {c.x, c.y, c.z}), floats("Rotation", {90, 0}),
           TBKNumberTag::longTag("UniqueID", c.id), text("identifier", c.identifier)});
  if (c.maxHealth > 0) {
    tree->setValueForKey(
        items("Attributes",
              {compound("", {TBKNumberTag::floatTag("Base", c.maxHealth), TBKNumberTag::floatTag("Current", c.health),
                             TBKNumberTag::floatTag("Max", c.maxHealth), TBKNumberTag::floatTag("Min", 0),
                             text("Name", "minecraft:health")})}));
  }
  return tree;
}

// Standing on the hills at block column (x, z).
float onLand(float x, float z) { return float(demoland::landHeight(int(std::floor(x)), int(std::floor(z))) + 1); }

// The "digp" digest of the chunk holding block column (x, z).
std::string digestKey(float x, float z, int32_t dimension) {
  std::string key = "digp";
  appendInt(key, uint32_t(int32_t(std::floor(x / 16))), 4);
  appendInt(key, uint32_t(int32_t(std::floor(z / 16))), 4);
  if (dimension != 0) appendInt(key, uint32_t(dimension), 4);
  return key;
}

std::shared_ptr<TBKCompoundTag> tamed(std::shared_ptr<TBKCompoundTag> tree, const std::string& name) {
  tree->setValueForKey(text("CustomName", name));
  tree->setValueForKey(TBKNumberTag::longTag("OwnerNew", playerId));
  tree->setValueForKey(TBKNumberTag::byteTag("Persistent", 1));
  return tree;
}

std::shared_ptr<TBKCompoundTag> dropped(int64_t id, float x, float z, const std::string& name, int count) {
  // A dropped item's health is a number of its own, not an attribute.
  auto tree = entity({"minecraft:item", id, x, onLand(x, z), z, 0, 0});
  tree->setValueForKey(TBKNumberTag::shortTag("Health", 5));
  tree->setObjectForKeyedSubscript(item(name, count), "Item");
  return tree;
}

}  // namespace

void writeTodaysCreatures(const std::filesystem::path& world) {
  // Ids as the game hands them out: small counters in the high half.
  auto id = [](int64_t n) { return -(n << 32) + 1; };

  auto wolf = tamed(entity({"minecraft:wolf", id(2), -62.5f, onLand(-62.5f, 113.5f), 113.5f, 32, 40}), "Biscuit");
  wolf->setValueForKey(TBKNumberTag::byteTag("Sitting", 1));
  // Two villagers stand inside the house, on its floor.
  auto mason = entity({"minecraft:villager_v2", id(3), -55.5f, onLand(-55.5f, 107.5f), 107.5f, 20, 20});
  mason->setValueForKey(text("CustomName", "Mason"));
  auto stand = entity({"minecraft:armor_stand", id(6), -60.5f, onLand(-60.5f, 118.5f), 118.5f, 6, 6});
  stand->setValueForKey(items("Armor", {item("minecraft:iron_helmet", 1), item("minecraft:diamond_chestplate", 1),
                                        item("minecraft:iron_leggings", 1), item("minecraft:golden_boots", 1)}));
  stand->setValueForKey(items("Mainhand", {item("minecraft:iron_sword", 1)}));
  stand->setValueForKey(items("Offhand", {item("minecraft:shield", 1)}));
  auto donkey = tamed(entity({"minecraft:donkey", id(7), -70.5f, onLand(-70.5f, 120.5f), 120.5f, 24, 24}), "Pack");
  donkey->setValueForKey(TBKNumberTag::byteTag("Chested", 1));
  donkey->setValueForKey(items("ChestItems", {item("minecraft:wheat", 24, 0), item("minecraft:saddle", 1, 1),
                                              item("minecraft:oak_log", 32, 2), item("minecraft:bread", 6, 5)}));
  auto cart = entity({"minecraft:chest_minecart", id(8), -75.5f, onLand(-75.5f, 105.5f), 105.5f, 0, 0});
  cart->setValueForKey(items("Items", {item("minecraft:rail", 64, 0), item("minecraft:powered_rail", 12, 1),
                                       item("minecraft:redstone_torch", 8, 2), item("minecraft:coal", 20, 13)}));

  struct Placed {
    std::shared_ptr<TBKCompoundTag> tree;
    int32_t dimension;
  };
  std::vector<Placed> placed{
      {wolf, 0},
      {mason, 0},
      {entity({"minecraft:villager_v2", id(4), -53.5f, onLand(-53.5f, 105.5f), 105.5f, 20, 20}), 0},
      {entity({"minecraft:villager_v2", id(5), -49.5f, onLand(-49.5f, 101.5f), 101.5f, 20, 20}), 0},
      {stand, 0},
      {donkey, 0},
      {cart, 0},
      {dropped(id(9), -66.5f, 109.5f, "minecraft:rotten_flesh", 3), 0},
      {dropped(id(10), -67.5f, 110.5f, "minecraft:bone", 2), 0},
      {dropped(id(11), -66.5f, 111.5f, "minecraft:arrow", 5), 0},
      {entity({"minecraft:xp_orb", id(12), -65.5f, onLand(-65.5f, 110.5f), 110.5f, 0, 0}), 0},
      {entity({"minecraft:zombie_pigman", id(13), -40.5f, 60, 100.5f, 20, 20}), 1},
  };
  std::map<std::string, std::string> digests;
  demoland::DemoDatabase db(world);
  for (const auto& [tree, dimension] : placed) {
    int64_t unique = tree->numberForKey("UniqueID").longLongValue();
    std::string idBytes;
    appendInt(idBytes, uint64_t(unique), 8);
    TBKEntity placedEntity;
    placedEntity.tree = tree;
    auto [x, y, z] = placedEntity.position();
    tree->setValueForKey(TBKNumberTag::intTag("DimensionId", dimension));
    db.put("actorprefix" + idBytes, TBKNBT::serialise(*tree));
    digests[digestKey(float(x), float(z), dimension)] += idBytes;
  }
  for (const auto& [key, ids] : digests) db.put(key, ids);
}

void writeOldFormSheep(const std::filesystem::path& world, int x, int y, int z) {
  auto sheep = entity({"minecraft:sheep", 1, float(x) + 0.5f, float(y), float(z) + 0.5f, 8, 8});
  sheep->setValueForKey(TBKNumberTag::byteTag("Color", 14));
  sheep->setValueForKey(TBKNumberTag::byteTag("Sheared", 0));
  demoland::DemoDatabase db(world);
  db.put(demoland::chunkKey(x >> 4, z >> 4, 0, '\x32'), TBKNBT::serialise(*sheep));
}

}  // namespace democreatures
