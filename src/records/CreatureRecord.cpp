#include "records/CreatureRecord.h"

#include <algorithm>

#include "Tarnbook/TBKEntities.h"
#include "records/CreatureKind.h"

namespace {

constexpr const char* healthName = "minecraft:health";
constexpr int64_t noOwner = -1;

// Slots of a kind's chest or hold, where the kind says.
size_t capacityOf(const TBKCompoundTag& tree, const std::string& key) {
  std::string identifier = tree.stringForKey("identifier");
  if (key == "Items") {
    if (identifier == "minecraft:chest_minecart") return 27;
    if (identifier == "minecraft:hopper_minecart") return 5;
    return 0;
  }
  if (key == "ChestItems") {
    // A llama carries three slots per point of strength.
    if (identifier == "minecraft:llama" || identifier == "minecraft:trader_llama") {
      return 3 * static_cast<size_t>(std::clamp(tree.numberForKey("Strength").intValue(), 1, 5));
    }
    return 15;
  }
  return 0;
}

}  // namespace

CreatureRecord::CreatureRecord(std::shared_ptr<TBKLevelDB> db, std::shared_ptr<TBKEntity> entity)
    : db_(std::move(db)), entity_(std::move(entity)) {
  TBKEntities::load(*db_, *entity_);
  // The tree record and the entity live as long as this object; the commit
  // holds the database and the entity it writes.
  record_ = std::make_shared<TreeRecord>(
      entity_->tree, [db = db_, entity = entity_](const auto&) { TBKEntities::write(*db, *entity); });
  equipment_ = std::make_shared<EquipmentRecord>(record_, entity_->idText());
}

std::string CreatureRecord::kind() const { return CreatureKind::displayName(entity_->identifier()); }

std::string CreatureRecord::name() const { return tree()->stringForKey("CustomName"); }

std::shared_ptr<TBKCompoundTag> CreatureRecord::healthAttributeOf(const TBKCompoundTag& tree) {
  auto attributes = tree.listForKey("Attributes");
  for (size_t i = 0; attributes && i < attributes->count(); ++i) {
    auto attribute = attributes->compoundAtIndex(i);
    if (attribute && attribute->stringForKey("Name") == healthName) return attribute;
  }
  return nullptr;
}

std::optional<float> CreatureRecord::health() const {
  auto attribute = healthAttribute();
  return attribute ? std::optional(attribute->numberForKey("Current").floatValue()) : std::nullopt;
}

std::optional<float> CreatureRecord::maxHealth() const {
  auto attribute = healthAttribute();
  return attribute ? std::optional(attribute->numberForKey("Max").floatValue()) : std::nullopt;
}

bool CreatureRecord::stays() const { return tree()->numberForKey("Persistent").boolValue(); }

bool CreatureRecord::tamedOf(const TBKEntity::Summary& summary) {
  return summary.owner && summary.owner->longLongValue() != noOwner;
}

std::vector<CreatureRecord::ItemList> CreatureRecord::itemListsOf(const TBKCompoundTag& tree) {
  struct Known {
    const char* key;
    const char* title;
  };
  static const Known known[] = {{"Armor", "Armor"},      {"Mainhand", "Main Hand"}, {"Offhand", "Off Hand"},
                                {"ChestItems", "Chest"}, {"Items", "Items"},        {"Inventory", "Inventory"}};
  std::vector<ItemList> lists;
  for (const auto& [key, title] : known) {
    auto list = tree.listForKey(key);
    // A list of something other than item entries is not an inventory.
    if (!list || (list->count() > 0 && list->elementType() != TBKTagType::Compound)) continue;
    lists.push_back({key, title, capacityOf(tree, key)});
  }
  return lists;
}

Outcome CreatureRecord::setName(const std::string& name) {
  return record_->edit(*tree(), [&](TBKCompoundTag& entity) {
    if (name == this->name() && (!name.empty() || !entity.objectForKeyedSubscript("CustomName"))) return false;
    if (name.empty()) {
      entity.removeObjectForKey("CustomName");
      entity.removeObjectForKey("CustomNameVisible");
    } else {
      entity.setValueForKey(std::make_shared<TBKStringTag>("CustomName", name));
    }
    return true;
  });
}

Outcome CreatureRecord::setHealth(float health) {
  auto attribute = healthAttribute();
  if (!attribute) return Refusal{"This " + kind() + " has no health to change."};
  float kept = std::clamp(health, 1.0f, std::max(1.0f, attribute->numberForKey("Max").floatValue()));
  return record_->edit(*attribute, [&](TBKCompoundTag& entry) {
    if (entry.numberForKey("Current").floatValue() == kept) return false;
    entry.setValueForKey(TBKNumberTag::floatTag("Current", kept));
    return true;
  });
}

Outcome CreatureRecord::setStays(bool stays) {
  return record_->edit(*tree(), [&](TBKCompoundTag& entity) {
    if (this->stays() == stays && entity.objectForKeyedSubscript("Persistent")) return false;
    entity.setValueForKey(TBKNumberTag::byteTag("Persistent", stays ? 1 : 0));
    return true;
  });
}

Outcome CreatureRecord::bringTo(const TBKCompoundTag& player) {
  auto pos = player.listForKey("Pos");
  if (!pos || pos->count() < 3) return Refusal{"The player has no position to bring the " + kind() + " to."};
  std::array<double, 3> position{};
  for (size_t i = 0; i < 3; ++i) {
    auto number = std::dynamic_pointer_cast<TBKNumberTag>(pos->objectAtIndexedSubscript(i));
    if (!number) return Refusal{"The player's position is not a list of numbers."};
    // The player's height is kept as it is: the creature may drop a little,
    // but is never put inside the ground.
    position[i] = number->value().doubleValue();
  }
  int32_t dimension = player.numberForKey("DimensionId").intValue();
  if (dimension < 0 || dimension > 2) return Refusal{"The player is in a dimension this editor does not know."};
  return attempt([&] { TBKEntities::move(*db_, *entity_, position, static_cast<TBKChunkKey::Dimension>(dimension)); });
}

Outcome CreatureRecord::bringToThePlayer() {
  std::shared_ptr<TBKCompoundTag> player;
  if (Outcome unread = attempt([&] { player = db_->player(); })) return unread;
  return bringTo(*player);
}

Outcome CreatureRecord::remove() {
  return attempt([&] { TBKEntities::remove(*db_, *entity_); });
}

Outcome CreatureRecord::removeAll(TBKLevelDB& db, const std::vector<std::shared_ptr<TBKEntity>>& entities) {
  if (entities.empty()) return std::nullopt;
  return attempt([&] { TBKEntities::removeAll(db, entities); });
}
