#include "Bevel/BVLEnchantments.h"

#include <algorithm>
#include <sstream>

#include "ItemTable.h"

namespace {

std::vector<std::string> split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::string part;
  std::istringstream in(text);
  while (std::getline(in, part, separator)) parts.push_back(part);
  if (!text.empty() && text.back() == separator) parts.emplace_back();
  return parts;
}

}  // namespace

bool BVLEnchantment::appliesTo(const std::string& kinds) const {
  auto listed = split(kinds, ',');
  return std::find(listed.begin(), listed.end(), kind) != listed.end();
}

bool BVLEnchantment::conflictsWith(const BVLEnchantment& other) const {
  return std::find(excludes.begin(), excludes.end(), other.name) != excludes.end();
}

const BVLEnchantments& BVLEnchantments::shared() {
  static const BVLEnchantments table(bevel::enchantmentTable());
  return table;
}

BVLEnchantments::BVLEnchantments(const std::string& table) {
  std::istringstream lines(table);
  std::string line;
  std::vector<std::string> columns;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    auto fields = split(line, '\t');
    if (columns.empty()) {
      columns = fields;
      continue;
    }
    auto field = [&](const char* name) -> std::string {
      auto at = std::find(columns.begin(), columns.end(), name) - columns.begin();
      return size_t(at) < fields.size() ? fields[size_t(at)] : "";
    };
    BVLEnchantment e;
    try {
      int id = std::stoi(field("id"));
      if (id < 0 || id > 0x7fff) continue;
      e.id = static_cast<uint16_t>(id);
      e.maxLevel = std::max(1, std::stoi(field("max_level")));
    } catch (const std::exception&) {
      continue;
    }
    e.name = field("name");
    e.title = field("title");
    e.kind = field("kind");
    std::string excludes = field("excludes");
    if (!excludes.empty()) e.excludes = split(excludes, ',');
    all_.push_back(std::move(e));
  }
  std::stable_sort(all_.begin(), all_.end(), [](const auto& a, const auto& b) { return a.id < b.id; });
}

const BVLEnchantment* BVLEnchantments::withID(int id) const {
  for (const auto& e : all_) {
    if (e.id == id) return &e;
  }
  return nullptr;
}

std::string BVLEnchantments::levelText(int level) {
  if (level <= 0) return std::to_string(level);
  static const std::pair<int, const char*> numerals[] = {{1000, "M"}, {900, "CM"}, {500, "D"}, {400, "CD"}, {100, "C"},
                                                         {90, "XC"},  {50, "L"},   {40, "XL"}, {10, "X"},   {9, "IX"},
                                                         {5, "V"},    {4, "IV"},   {1, "I"}};
  std::string text;
  for (const auto& [value, letters] : numerals) {
    for (; level >= value; level -= value) text += letters;
  }
  return text;
}
