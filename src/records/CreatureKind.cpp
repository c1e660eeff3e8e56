#include "records/CreatureKind.h"

#include <cctype>
#include <map>

namespace {

// Kinds whose names say something other than their identifiers.
const std::map<std::string, std::string, std::less<>> plainNames{
    {"minecraft:item", "Dropped Item"},         {"minecraft:xp_orb", "Experience Orb"},
    {"minecraft:villager_v2", "Villager"},      {"minecraft:zombie_villager_v2", "Zombie Villager"},
    {"minecraft:ender_crystal", "End Crystal"}, {"minecraft:npc", "NPC"},
};

std::string bareName(const std::string& identifier) {
  std::string bare = identifier.substr(identifier.find(':') + 1);
  if (bare.size() > 3 && bare.compare(bare.size() - 3, 3, "_v2") == 0) bare.resize(bare.size() - 3);
  return bare;
}

}  // namespace

std::string CreatureKind::displayName(const std::string& identifier) {
  if (auto plain = plainNames.find(identifier); plain != plainNames.end()) return plain->second;
  std::string bare = bareName(identifier);
  if (bare.empty()) return "Unknown";
  std::string name;
  bool wordStart = true;
  for (char c : bare) {
    if (c == '_') {
      name += ' ';
      wordStart = true;
      continue;
    }
    name += wordStart ? static_cast<char>(std::toupper(static_cast<unsigned char>(c))) : c;
    wordStart = false;
  }
  return name;
}

std::vector<std::string> CreatureKind::pictureItems(const TBKEntity::Summary& entity) {
  const std::string& identifier = entity.identifier;
  std::vector<std::string> items;
  if (!entity.itemName.empty()) items.push_back(entity.itemName);
  if (identifier == "minecraft:xp_orb") items.push_back("minecraft:experience_bottle");
  std::string space =
      identifier.find(':') == std::string::npos ? "minecraft" : identifier.substr(0, identifier.find(':'));
  std::string bare = bareName(identifier);
  if (!bare.empty()) {
    items.push_back(space + ":" + bare + "_spawn_egg");
    items.push_back(space + ":" + bare);
  }
  items.push_back("minecraft:spawn_egg");
  return items;
}
