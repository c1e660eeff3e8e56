#include "DemoContainers.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "DemoDatabase.h"
#include "DemoLand.h"
#include "Tarnbook/TBKListTag.h"
#include "Tarnbook/TBKNBT.h"
#include "Tarnbook/TBKNumberTag.h"
#include "Tarnbook/TBKStringTag.h"

namespace democontainers {
namespace {

using Tags = std::vector<std::shared_ptr<TBKTag>>;

std::shared_ptr<TBKCompoundTag> compound(const std::string& name, Tags children) {
  auto tag = std::make_shared<TBKCompoundTag>(name);
  for (auto& child : children) tag->setValueForKey(std::move(child));
  return tag;
}

std::shared_ptr<TBKStringTag> text(const std::string& name, const std::string& value) {
  return std::make_shared<TBKStringTag>(name, value);
}

std::shared_ptr<TBKListTag> list(const std::string& name, Tags entries) {
  return std::make_shared<TBKListTag>(name, TBKTagType::Compound, std::move(entries));
}

// An item as a container keeps it; slot < 0 for a single-item holder's,
// which carries no "Slot".
std::shared_ptr<TBKCompoundTag> item(const std::string& name, int count, int slot = -1) {
  auto entry = compound("", {TBKNumberTag::byteTag("Count", static_cast<int8_t>(count)),
                             TBKNumberTag::shortTag("Damage", 0), text("Name", name)});
  if (slot >= 0) entry->setValueForKey(TBKNumberTag::byteTag("Slot", static_cast<int8_t>(slot)));
  entry->setValueForKey(TBKNumberTag::byteTag("WasPickedUp", 0));
  return entry;
}

// A block entity standing on the house's floor at column (x, z).
std::shared_ptr<TBKCompoundTag> standing(const std::string& id, int x, int z, Tags fields = {}) {
  auto root = compound("", {text("id", id), TBKNumberTag::byteTag("isMovable", 1), TBKNumberTag::intTag("x", x),
                            TBKNumberTag::intTag("y", demoland::landHeight(x, z) + 1), TBKNumberTag::intTag("z", z)});
  for (auto& field : fields) root->setValueForKey(std::move(field));
  return root;
}

// One half of a double chest along z: each names the other.
std::shared_ptr<TBKCompoundTag> chestHalf(int x, int z, int pairz, bool lead, Tags items) {
  return standing(
      "Chest", x, z,
      {TBKNumberTag::byteTag("Findable", 0), list("Items", std::move(items)), TBKNumberTag::intTag("pairx", x),
       TBKNumberTag::byteTag("pairlead", lead ? 1 : 0), TBKNumberTag::intTag("pairz", pairz)});
}

std::shared_ptr<TBKCompoundTag> namedBox() {
  auto box = item("minecraft:purple_shulker_box", 1, 0);
  box->setValueForKey(
      compound("tag", {list("Items", {item("minecraft:diamond_pickaxe", 1, 0), item("minecraft:torch", 64, 1),
                                      item("minecraft:elytra", 1, 4), item("minecraft:firework_rocket", 32, 5)}),
                       compound("display", {text("Name", "Travel Kit")})}));
  return box;
}

std::shared_ptr<TBKCompoundTag> book() {
  auto book = item("minecraft:written_book", 1);
  Tags pages;
  for (const char* page : {"Day 1: built the house by the sea.", "Day 2: the wolf's name is Biscuit."}) {
    pages.push_back(compound("", {text("photoname", ""), text("text", page)}));
  }
  book->setValueForKey(
      compound("tag", {text("author", "Steve"), TBKNumberTag::intTag("generation", 0),
                       std::make_shared<TBKListTag>("pages", TBKTagType::Compound, pages), text("title", "Diary")}));
  return book;
}

}  // namespace

void writeTodaysContainers(const std::filesystem::path& world) {
  struct Placed {
    int32_t dimension;
    std::shared_ptr<TBKCompoundTag> root;
  };
  auto furnace = standing("Furnace", -55, 105,
                          {list("Items", {item("minecraft:raw_iron", 12, 0), item("minecraft:coal", 5, 1),
                                          item("minecraft:iron_ingot", 3, 2)}),
                           TBKNumberTag::shortTag("BurnDuration", 1600), TBKNumberTag::shortTag("BurnTime", 1180),
                           TBKNumberTag::shortTag("CookTime", 120), TBKNumberTag::intTag("StoredXPInt", 2)});
  auto nether =
      compound("", {text("id", "Chest"), TBKNumberTag::byteTag("isMovable", 1), TBKNumberTag::intTag("x", -40),
                    TBKNumberTag::intTag("y", demoland::netherFloor(-40, 100) + 1), TBKNumberTag::intTag("z", 100),
                    TBKNumberTag::byteTag("Findable", 0),
                    list("Items", {item("minecraft:gold_ingot", 9, 0), item("minecraft:quartz", 40, 3),
                                   item("minecraft:obsidian", 10, 13)})});
  const std::vector<Placed> placed{
      {0, standing("Chest", -57, 105,
                   {TBKNumberTag::byteTag("Findable", 0),
                    list("Items", {item("minecraft:bread", 16, 0), item("minecraft:oak_log", 48, 4),
                                   item("minecraft:iron_sword", 1, 13), item("minecraft:cobblestone", 64, 26)})})},
      {0, chestHalf(
              -57, 108, 109, true,
              {item("minecraft:wheat_seeds", 20, 0), item("minecraft:carrot", 12, 1), item("minecraft:bone", 7, 9)})},
      {0, chestHalf(-57, 109, 108, false, {item("minecraft:emerald", 5, 3), item("minecraft:diamond", 3, 26)})},
      {0, standing("Barrel", -53, 105,
                   {list("Items", {namedBox(), item("minecraft:arrow", 48, 1)}), text("CustomName", "Storage")})},
      {0, furnace},
      {0, standing("Hopper", -54, 105,
                   {list("Items", {item("minecraft:coal", 3, 0)}), TBKNumberTag::intTag("TransferCooldown", 0)})},
      {0, standing("ItemFrame", -55, 109,
                   {TBKNumberTag::floatTag("ItemDropChance", 1), TBKNumberTag::floatTag("ItemRotation", 0)})},
      {0, standing("Lectern", -53, 108,
                   {TBKNumberTag::byteTag("hasBook", 1), TBKNumberTag::intTag("page", 0),
                    TBKNumberTag::intTag("totalPages", 2)})},
      {1, nether},
  };
  placed[6].root->setObjectForKeyedSubscript(item("minecraft:clock", 1), "Item");
  placed[7].root->setObjectForKeyedSubscript(book(), "book");

  // Each chunk's block entities are one value: its roots one after another.
  std::map<std::string, std::string> values;
  for (const auto& [dimension, root] : placed) {
    int32_t x = root->numberForKey("x").intValue(), z = root->numberForKey("z").intValue();
    values[demoland::chunkKey(x >> 4, z >> 4, dimension, '\x31')] += TBKNBT::serialise(*root);
  }
  demoland::DemoDatabase db(world);
  for (const auto& [key, value] : values) db.put(key, value);
}

}  // namespace democontainers
