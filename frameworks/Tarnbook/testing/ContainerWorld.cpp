#include "ContainerWorld.h"

#include <xxhash.h>

#include <leveldb/db.h>

#include "GameDatabase.h"
#include "Tarnbook/TBKLevelDB.h"
#include "Tarnbook/TBKListTag.h"
#include "Tarnbook/TBKNBT.h"
#include "Tarnbook/TBKNumberTag.h"
#include "Tarnbook/TBKStringTag.h"
#include "TarnbookTestWorld.h"

namespace tbktest {

namespace {

using Tags = std::vector<std::shared_ptr<TBKTag>>;

std::shared_ptr<TBKCompoundTag> blockEntity(const std::string& id, int x, int y, int z) {
  auto root = std::make_shared<TBKCompoundTag>("");
  root->setValueForKey(std::make_shared<TBKStringTag>("id", id));
  root->setValueForKey(TBKNumberTag::byteTag("isMovable", 1));
  root->setValueForKey(TBKNumberTag::intTag("x", x));
  root->setValueForKey(TBKNumberTag::intTag("y", y));
  root->setValueForKey(TBKNumberTag::intTag("z", z));
  return root;
}

std::shared_ptr<TBKCompoundTag> withItems(std::shared_ptr<TBKCompoundTag> root, Tags items) {
  root->setValueForKey(std::make_shared<TBKListTag>("Items", TBKTagType::Compound, std::move(items)));
  return root;
}

std::shared_ptr<TBKCompoundTag> chestHalf(int x, int pairx, bool lead, Tags items) {
  auto chest = withItems(blockEntity("Chest", x, 64, 2), std::move(items));
  chest->setValueForKey(TBKNumberTag::byteTag("Findable", 0));
  chest->setValueForKey(TBKNumberTag::intTag("pairx", pairx));
  chest->setValueForKey(TBKNumberTag::byteTag("pairlead", lead ? 1 : 0));
  chest->setValueForKey(TBKNumberTag::intTag("pairz", 2));
  return chest;
}

std::shared_ptr<TBKCompoundTag> shulkerBox() {
  auto box = namedItem(2, "minecraft:red_shulker_box", 1);
  auto tag = std::make_shared<TBKCompoundTag>("tag");
  tag->setValueForKey(
      std::make_shared<TBKListTag>("Items", TBKTagType::Compound, Tags{namedItem(0, "minecraft:elytra", 1)}));
  auto display = std::make_shared<TBKCompoundTag>("display");
  display->setValueForKey(std::make_shared<TBKStringTag>("Name", "Wings"));
  tag->setValueForKey(display);
  box->setValueForKey(tag);
  return box;
}

std::shared_ptr<TBKCompoundTag> single(std::shared_ptr<TBKCompoundTag> root, const std::string& key,
                                       std::shared_ptr<TBKCompoundTag> item) {
  item->removeObjectForKey("Slot");
  root->setObjectForKeyedSubscript(item, key);
  return root;
}

}  // namespace

std::string checksumsRecord(const std::vector<std::pair<uint8_t, std::string>>& records) {
  std::string bytes;
  uint32_t count = static_cast<uint32_t>(records.size());
  bytes.append(reinterpret_cast<const char*>(&count), 4);
  for (const auto& [tag, value] : records) {
    bytes += static_cast<char>(tag);
    bytes += '\0';
    uint64_t hash = XXH64(value.data(), value.size(), 0);
    bytes.append(reinterpret_cast<const char*>(&hash), 8);
  }
  return bytes;
}

std::shared_ptr<TBKCompoundTag> namedItem(int slot, const std::string& name, int count) {
  auto entry = std::make_shared<TBKCompoundTag>("");
  entry->setValueForKey(TBKNumberTag::byteTag("Count", static_cast<int8_t>(count)));
  entry->setValueForKey(TBKNumberTag::shortTag("Damage", 0));
  entry->setValueForKey(std::make_shared<TBKStringTag>("Name", name));
  entry->setValueForKey(TBKNumberTag::byteTag("Slot", static_cast<int8_t>(slot)));
  entry->setValueForKey(TBKNumberTag::byteTag("WasPickedUp", 0));
  return entry;
}

TBKChunkKey chunkKey(int32_t x, int32_t z, TBKChunkKey::Dimension dimension, TBKChunkKey::Tag tag) {
  TBKChunkKey key;
  key.x = x;
  key.z = z;
  key.dimension = dimension;
  key.tag = tag;
  return key;
}

std::vector<ContainerChunk> containerChunks() {
  auto sign = blockEntity("Sign", 2, 65, 2);
  sign->setValueForKey(std::make_shared<TBKStringTag>("Text", "Home"));
  auto barrel = withItems(blockEntity("Barrel", 17, 64, 3), Tags{shulkerBox()});
  barrel->setValueForKey(std::make_shared<TBKStringTag>("CustomName", "Loot"));
  auto furnace = withItems(blockEntity("Furnace", 18, 64, 3),
                           Tags{namedItem(0, "minecraft:iron_ore", 4), namedItem(1, "minecraft:coal", 2),
                                namedItem(2, "minecraft:iron_ingot", 1)});
  furnace->setValueForKey(TBKNumberTag::shortTag("BurnTime", 1200));
  furnace->setValueForKey(TBKNumberTag::shortTag("CookTime", 87));
  auto crate = blockEntity("mymod:crate", 35, 64, 1);
  crate->setValueForKey(TBKNumberTag::intTag("mymod:fill", 3));
  auto unopened = blockEntity("Chest", 36, 64, 1);
  unopened->setValueForKey(
      std::make_shared<TBKStringTag>("LootTable", "loot_tables/chests/village/village_weaponsmith.json"));
  unopened->setValueForKey(TBKNumberTag::intTag("LootTableSeed", 1234));
  using Dimension = TBKChunkKey::Dimension;
  return {
      {chunkKey(0, 0),
       {withItems(blockEntity("Chest", 1, 64, 2),
                  Tags{namedItem(0, "minecraft:diamond", 12), namedItem(5, "minecraft:elytra", 1)}),
        chestHalf(3, 4, true, Tags{namedItem(0, "minecraft:apple", 3)}), sign,
        chestHalf(4, 3, false, Tags{namedItem(1, "minecraft:bread", 5)})}},
      {chunkKey(1, 0),
       {barrel, furnace, withItems(blockEntity("Hopper", 19, 64, 3), Tags{namedItem(4, "minecraft:stick", 7)})}},
      {chunkKey(2, 0),
       {single(blockEntity("ItemFrame", 33, 65, 1), "Item", namedItem(0, "minecraft:compass", 1)),
        single(blockEntity("Lectern", 34, 64, 1), "book", namedItem(0, "minecraft:writable_book", 1)), crate,
        unopened}},
      {chunkKey(0, 0, Dimension::Nether),
       {withItems(blockEntity("Chest", 5, 40, 5), Tags{namedItem(3, "minecraft:gold_ingot", 9)})}},
  };
}

void writeContainerWorld(const std::string& folder) {
  writeWorld(folder, "Chests", true);
  {
    TBKLevelDB world(folder, "Chests", "");
    auto player = world.player();
    player->setValueForKey(std::make_shared<TBKListTag>("EnderChestInventory", TBKTagType::Compound,
                                                        Tags{namedItem(7, "minecraft:elytra", 1)}));
    world.setPlayer(player);
  }
  auto db = gamedatabase::open(folder + "/db");
  for (const auto& chunk : containerChunks()) {
    std::string value;
    for (const auto& root : chunk.roots) value += TBKNBT::serialise(*root);
    db->Put(leveldb::WriteOptions(), chunk.key.bytes(), value);
    if (chunk.key.x == 2) {
      std::string version(1, '\x28');
      db->Put(leveldb::WriteOptions(),
              chunkKey(2, 0, TBKChunkKey::Dimension::Overworld, TBKChunkKey::Tag::Version).bytes(), version);
      db->Put(leveldb::WriteOptions(),
              chunkKey(2, 0, TBKChunkKey::Dimension::Overworld, TBKChunkKey::Tag::Checksums).bytes(),
              checksumsRecord({{0x2c, version}, {0x31, value}}));
    }
  }
  db->Put(leveldb::WriteOptions(), chunkKey(3, 0).bytes(), std::string("\x0a\x00\x00\x08", 4));
}

}  // namespace tbktest
