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
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    auto fields = splitTabs(line);
    if (columns.empty()) {
      columns = fields;
      idColumn = column("id"), damageColumn = column("damage"), nameColumn = column("name");
      pictureColumn = column("picture"), xColumn = column("x"), yColumn = column("y");
      if (idColumn < 0 || damageColumn < 0 || nameColumn < 0) return;
      continue;
    }
    auto field = [&](long at) -> std::string { return at >= 0 && at < long(fields.size()) ? fields[at] : ""; };
    auto id = parse16(field(idColumn));
    auto damage = parse16(field(damageColumn));
    std::string name = field(nameColumn);
    if (!id || !damage || name.empty()) continue;
    BVLItemDefinition entry{name, *id, *damage, field(pictureColumn), {}};
    auto x = parseNumber(field(xColumn));
    auto y = parseNumber(field(yColumn));
    if (x && y) entry.cell = ui::Rect(double(*x), double(*y), 16, 16);
    if (index_.emplace(std::make_pair(*id, *damage), entries_.size()).second) entries_.push_back(std::move(entry));
  }
}

std::vector<std::string> BVLItemIDSource::allItems() const {
  std::vector<std::string> items;
  items.reserve(entries_.size());
  for (const auto& entry : entries_) items.push_back(stringRepresentation(entry.id, entry.damage));
  return items;
}

std::optional<BVLItemDefinition> BVLItemIDSource::itemDefinitionWithStringRepresentation(const std::string& item) const {
  auto parsed = parseStringRepresentation(item);
  if (!parsed) return std::nullopt;
  return itemDefinitionWithID(parsed->first, parsed->second);
}

std::optional<BVLItemDefinition> BVLItemIDSource::itemDefinitionWithID(uint16_t id, uint16_t damage) const {
  auto found = index_.find({id, damage});
  if (found == index_.end()) found = index_.find({id, uint16_t(0)});
  if (found == index_.end()) return std::nullopt;
  return entries_[found->second];
}

std::shared_ptr<ui::Image> BVLItemIDSource::basicImageForItemWithStringRepresentation(const std::string& item) const {
  auto parsed = parseStringRepresentation(item);
  if (!parsed) return nullptr;
  return basicImageForItemWithID(parsed->first, parsed->second);
}

std::shared_ptr<ui::Image> BVLItemIDSource::basicImageForItemWithID(uint16_t id, uint16_t damage) const {
  auto definition = itemDefinitionWithID(id, damage);
  if (!definition || definition->picture.empty() || definition->cell.isEmpty()) return nullptr;
  auto key = std::make_pair(bvl_gameBundlePath() + "/" + definition->picture,
                            std::make_pair(int(definition->cell.x()), int(definition->cell.y())));
  auto cached = images_.find(key);
  if (cached != images_.end()) return cached->second;
  auto image = bvl_subImageWithFrame(bvl_imageNamed(definition->picture, "png"), definition->cell);
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
