#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Tarnbook/TBKEntity.h"
#include "external/Tarnbook.h"
#include "records/EquipmentRecord.h"
#include "records/TreeRecord.h"

// One entity of a world as its screen changes it: a TreeRecord over its
// compound whose commit writes the entity (its record, or its root of the
// chunk's old-form value) and nothing else, so every other byte stays. An
// add-on's creature is read like any other and written only when changed.
// Every change returns an Outcome and raises nothing; a refused one leaves
// the tree and the disk as they were.
class CreatureRecord {
 public:
  // A list of items the entity holds, as its grid shows it.
  struct ItemList {
    std::string key;    // "Armor", "Mainhand", "Offhand", "ChestItems", "Items", "Inventory"
    std::string title;  // "Armor", "Chest", ...
    size_t capacity;    // slots of a container (0: the list itself)
  };

  // Reads the entity's whole tree when a listing left it out; raises
  // TBKException for a record damaged, gone or changed since the listing.
  CreatureRecord(std::shared_ptr<TBKLevelDB> db, std::shared_ptr<TBKEntity> entity);

  const std::shared_ptr<TBKEntity>& entity() const { return entity_; }
  const std::shared_ptr<TBKCompoundTag>& tree() const { return entity_->tree; }
  // The tree and its one write, for the tag tree screen.
  const std::shared_ptr<TreeRecord>& treeRecord() const { return record_; }
  // The same record as the item screens edit it.
  const std::shared_ptr<EquipmentRecord>& equipment() const { return equipment_; }

  std::string kind() const;  // "Wolf"
  std::string name() const;  // "CustomName"; "" for none
  // The "minecraft:health" attribute's "Current" and "Max"; none when the
  // entity has no health (a dropped item, a minecart).
  std::optional<float> health() const;
  std::optional<float> maxHealth() const;
  bool stays() const;  // "Persistent": the game never despawns it
  bool tamed() const { return tamedOf(entity_->summary); }
  // "OwnerNew" names an owner (not -1).
  static bool tamedOf(const TBKEntity::Summary& summary);
  // The lists of items it holds, in the order above; only those it has.
  std::vector<ItemList> itemLists() const { return itemListsOf(*tree()); }
  static std::vector<ItemList> itemListsOf(const TBKCompoundTag& tree);

  // Empty removes the name (and whether it is always shown).
  Outcome setName(const std::string& name);
  // Kept between 1 and the maximum; an entity without health refuses.
  Outcome setHealth(float health);
  Outcome setStays(bool stays);
  // To the player's "Pos" in the player's "DimensionId": its id moves to
  // that chunk's digest (see TBKEntities::move).
  Outcome bringTo(const TBKCompoundTag& player);
  // The same, to the world's local player.
  Outcome bringToThePlayer();
  Outcome remove();
  // Removes every one of them with one batch (a clear-out of dropped items).
  static Outcome removeAll(TBKLevelDB& db, const std::vector<std::shared_ptr<TBKEntity>>& entities);

  // The entry of "Attributes" named "minecraft:health"; null for none.
  static std::shared_ptr<TBKCompoundTag> healthAttributeOf(const TBKCompoundTag& tree);

 private:
  std::shared_ptr<TBKCompoundTag> healthAttribute() const { return healthAttributeOf(*tree()); }

  std::shared_ptr<TBKLevelDB> db_;
  std::shared_ptr<TBKEntity> entity_;
  std::shared_ptr<TreeRecord> record_;
  std::shared_ptr<EquipmentRecord> equipment_;
};
