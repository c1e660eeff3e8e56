#include "Tarnbook/TBKBlockTable.h"

#include <charconv>

#include "BlockTableData.h"

namespace {

std::string_view nextField(std::string_view& line) {
  size_t tab = line.find('\t');
  std::string_view field = line.substr(0, tab);
  line = tab == std::string_view::npos ? std::string_view() : line.substr(tab + 1);
  return field;
}

unsigned number(std::string_view text, int base) {
  unsigned value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value, base);
  return value;
}

// The colours of the blocks below the depth of water and the land it
// shows through are worked out when drawing; these names are water itself.
bool isWater(std::string_view name) { return name == "minecraft:water" || name == "minecraft:flowing_water"; }

}  // namespace

const TBKBlockTable& TBKBlockTable::shared() {
  static const TBKBlockTable table;
  return table;
}

TBKBlockTable::TBKBlockTable() {
  std::string_view rest = tbk::blockTableData();
  while (!rest.empty()) {
    size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    if (line.empty() || line[0] == '#') continue;
    std::string_view first = nextField(line);
    std::string_view second = nextField(line);
    if (line.empty()) {
      uint32_t colour = second == "-" ? seeThrough : number(second, 16);
      if (isWater(first)) colour |= water;
      colours_.emplace(std::string(first), colour);
    } else {
      early_[number(first, 10) & 0xff][number(second, 10) & 0xf] = std::string(line);
    }
  }
  early_[0][0] = "minecraft:air";
}

uint32_t TBKBlockTable::colourOf(std::string_view name) const {
  auto found = colours_.find(name);
  return found == colours_.end() ? unknownColour | unknown : found->second;
}

const std::string& TBKBlockTable::earlyName(uint8_t id, uint8_t data) const {
  const std::string& named = early_[id][data & 0xf];
  return named.empty() ? early_[id][0] : named;
}
