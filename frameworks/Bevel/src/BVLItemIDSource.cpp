#include "Bevel/BVLItemIDSource.h"

#include <charconv>
#include <sstream>

#include "Bevel/BVLImage.h"
#include "ItemTable.h"
#include "ui/Image.h"

namespace {

std::vector<std::string> splitTabs(const std::string& line) {
  std::vector<std::string> fields;
  size_t start = 0;
  while (true) {
    size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
    if (tab == std::string::npos) return fields;
    start = tab + 1;
  }
}

std::optional<long> parseNumber(const std::string& text) {
  long value = 0;
  const char* end = text.data() + text.size();
  auto [at, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc() || at != end || text.empty()) return std::nullopt;
  return value;
}

std::optional<uint16_t> parse16(const std::string& text) {
  auto value = parseNumber(text);
  if (!value || *value < 0 || *value > 0xffff) return std::nullopt;
  return uint16_t(*value);
}

}  // namespace

std::shared_ptr<BVLItemIDSource> BVLItemIDSource::sharedSource() {
  static std::shared_ptr<BVLItemIDSource> shared = std::make_shared<BVLItemIDSource>(bevel::itemTable());
  return shared;
}

BVLItemIDSource::BVLItemIDSource(const std::string& table) {
  std::istringstream lines(table);
  std::string line;
  std::vector<std::string> columns;
  auto column = [&](const char* name) -> long {
    for (size_t i = 0; i < columns.size(); ++i) {
      if (columns[i] == name) return long(i);
    }
    return -1;
  };
  long idColumn = -1, damageColumn = -1, nameColumn = -1, pictureColumn = -1, xColumn = -1, yColumn = -1;
  long identifierColumn = -1, identifierDamageColumn = -1, identifierNameColumn = -1;
  long durabilityColumn = -1, stackColumn = -1, kindsColumn = -1;
  bool genericFound = false;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    auto fields = splitTabs(line);
    if (columns.empty()) {
      columns = fields;
      idColumn = column("id"), damageColumn = column("damage"), nameColumn = column("name");
      pictureColumn = column("picture"), xColumn = column("x"), yColumn = column("y");
      identifierColumn = column("identifier"), identifierDamageColumn = column("identifier_damage");
      identifierNameColumn = column("identifier_name");
      durabilityColumn = column("durability"), stackColumn = column("stack_size"),
      kindsColumn = column("enchant_kinds");
      if (idColumn < 0 || damageColumn < 0 || nameColumn < 0) return;
      continue;
    }
    auto field = [&](long at) -> std::string { return at >= 0 && at < long(fields.size()) ? fields[at] : ""; };
    Entry entry;
    entry.picture = field(pictureColumn);
    auto x = parseNumber(field(xColumn));
    auto y = parseNumber(field(yColumn));
    if (x && y) entry.cell = ui::Rect(double(*x), double(*y), 16, 16);

    auto id = parse16(field(idColumn));
    auto damage = parse16(field(damageColumn));
    entry.name = field(nameColumn);
    bool numbered = id && damage && !entry.name.empty() && !index_.count({*id, *damage});
    if (numbered) entry.numbers = std::make_pair(*id, *damage);

    entry.identifier = field(identifierColumn);
    entry.identifierName = field(identifierNameColumn);
    std::string identifierDamage = field(identifierDamageColumn);
    auto namedDamage = identifierDamage.empty() ? std::optional<uint16_t>(0) : parse16(identifierDamage);
    bool named = !entry.identifier.empty() && !entry.identifierName.empty() && namedDamage &&
                 !parseStringRepresentation(entry.identifier) && entry.identifier.find('#') == std::string::npos &&
                 !nameIndex_.count({entry.identifier, *namedDamage});
    if (named) {
      entry.identifierDamage = *namedDamage;
      entry.durability = parse16(field(durabilityColumn)).value_or(0);
      entry.stackSize = parse16(field(stackColumn)).value_or(0);
      entry.enchantKinds = field(kindsColumn);
    } else {
      entry.identifier.clear();
    }

    if (!numbered && !named) {
      bool blank = field(idColumn).empty() && field(damageColumn).empty() && entry.name.empty() &&
                   field(identifierColumn).empty();
      if (blank && !genericFound && !entry.picture.empty() && !entry.cell.isEmpty()) {
        genericFound = true;
        genericPicture_ = entry.picture;
        genericCell_ = entry.cell;
      }
      continue;
    }
    if (numbered) index_.emplace(*entry.numbers, entries_.size());
    if (named) nameIndex_.emplace(std::make_pair(entry.identifier, entry.identifierDamage), entries_.size());
    entries_.push_back(std::move(entry));
  }
}

BVLItemDefinition BVLItemIDSource::definitionOf(const Entry& entry, bool byName) const {
  BVLItemDefinition definition;
  definition.name = byName ? entry.identifierName : entry.name;
  if (entry.numbers) {
    definition.numbered = true;
    definition.id = entry.numbers->first;
    definition.damage = entry.numbers->second;
  }
  definition.picture = entry.picture;
  definition.cell = entry.cell;
  definition.identifier = entry.identifier;
  definition.identifierDamage = entry.identifierDamage;
  definition.durability = entry.durability;
  definition.stackSize = entry.stackSize;
  definition.enchantKinds = entry.enchantKinds;
  return definition;
}

std::vector<std::string> BVLItemIDSource::allItems() const {
  std::vector<std::string> items;
  items.reserve(index_.size());
  for (const auto& entry : entries_) {
    if (entry.numbers) items.push_back(stringRepresentation(entry.numbers->first, entry.numbers->second));
  }
  return items;
}

std::vector<std::string> BVLItemIDSource::allNamedItems() const {
  std::vector<std::string> items;
  items.reserve(nameIndex_.size());
  for (const auto& entry : entries_) {
    if (!entry.identifier.empty()) items.push_back(namedRepresentation(entry.identifier, entry.identifierDamage));
  }
  return items;
}

std::optional<BVLItemDefinition> BVLItemIDSource::itemDefinitionWithStringRepresentation(
    const std::string& item) const {
  if (auto parsed = parseStringRepresentation(item)) return itemDefinitionWithID(parsed->first, parsed->second);
  if (auto named = parseNamedRepresentation(item)) return itemDefinitionWithName(named->first, named->second);
  return std::nullopt;
}

std::optional<BVLItemDefinition> BVLItemIDSource::itemDefinitionWithID(uint16_t id, uint16_t damage) const {
  auto found = index_.find({id, damage});
  if (found == index_.end()) found = index_.find({id, uint16_t(0)});
  if (found == index_.end()) return std::nullopt;
  return definitionOf(entries_[found->second], false);
}

std::optional<BVLItemDefinition> BVLItemIDSource::itemDefinitionWithName(const std::string& identifier,
                                                                         uint16_t damage) const {
  auto found = nameIndex_.find({identifier, damage});
  if (found == nameIndex_.end()) found = nameIndex_.find({identifier, uint16_t(0)});
  if (found == nameIndex_.end()) return std::nullopt;
  return definitionOf(entries_[found->second], true);
}

std::shared_ptr<ui::Image> BVLItemIDSource::basicImageForItemWithStringRepresentation(const std::string& item) const {
  auto definition = itemDefinitionWithStringRepresentation(item);
  return definition ? imageOfCell(definition->picture, definition->cell) : nullptr;
}

std::shared_ptr<ui::Image> BVLItemIDSource::basicImageForItemWithID(uint16_t id, uint16_t damage) const {
  auto definition = itemDefinitionWithID(id, damage);
  return definition ? imageOfCell(definition->picture, definition->cell) : nullptr;
}

std::shared_ptr<ui::Image> BVLItemIDSource::basicImageForItemWithName(const std::string& identifier,
                                                                      uint16_t damage) const {
  auto definition = itemDefinitionWithName(identifier, damage);
  return definition ? imageOfCell(definition->picture, definition->cell) : nullptr;
}

std::shared_ptr<ui::Image> BVLItemIDSource::genericItemImage() const {
  return imageOfCell(genericPicture_, genericCell_);
}

std::shared_ptr<ui::Image> BVLItemIDSource::imageOfCell(const std::string& picture, const ui::Rect& cell) const {
  if (picture.empty() || cell.isEmpty()) return nullptr;
  auto key = std::make_pair(bvl_gameBundlePath() + "/" + picture, std::make_pair(int(cell.x()), int(cell.y())));
  auto cached = images_.find(key);
  if (cached != images_.end()) return cached->second;
  auto image = bvl_subImageWithFrame(bvl_imageNamed(picture, "png"), cell);
  // A picture that cannot be read now may be readable later: keep only hits.
  if (image) images_[key] = image;
  return image;
}

std::string BVLItemIDSource::stringRepresentation(uint16_t id, uint16_t damage) {
  return std::to_string(id) + ":" + std::to_string(damage);
}

std::optional<std::pair<uint16_t, uint16_t>> BVLItemIDSource::parseStringRepresentation(const std::string& item) {
  size_t colon = item.find(':');
  if (colon == std::string::npos) return std::nullopt;
  auto id = parse16(item.substr(0, colon));
  auto damage = parse16(item.substr(colon + 1));
  if (!id || !damage) return std::nullopt;
  return std::make_pair(*id, *damage);
}

std::string BVLItemIDSource::namedRepresentation(const std::string& identifier, uint16_t damage) {
  return damage ? identifier + "#" + std::to_string(damage) : identifier;
}

std::optional<std::pair<std::string, uint16_t>> BVLItemIDSource::parseNamedRepresentation(const std::string& item) {
  if (parseStringRepresentation(item)) return std::nullopt;
  size_t hash = item.rfind('#');
  std::string identifier = item.substr(0, hash);
  if (identifier.empty()) return std::nullopt;
  if (hash == std::string::npos) return std::make_pair(identifier, uint16_t(0));
  auto damage = parse16(item.substr(hash + 1));
  if (!damage || identifier.find('#') != std::string::npos) return std::nullopt;
  return std::make_pair(identifier, *damage);
}
