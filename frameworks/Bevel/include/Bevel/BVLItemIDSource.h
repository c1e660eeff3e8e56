#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Bevel/BVLItemDefinition.h"

namespace ui {
class Image;
}

// The item catalogue: every item and block variant of the game's 0.14 era,
// keyed by (id, damage), each with a name and a cell of one of the game's
// two item pictures. Items travel as their string representation "id:damage"
// (decimal, e.g. "267:0").
class BVLItemIDSource {
 public:
  // The one catalogue, built from the table compiled into the library the
  // first time it is asked for.
  static std::shared_ptr<BVLItemIDSource> sharedSource();

  // Parses a table: '#' lines are comments, the first other line names the
  // columns (id, damage, name, picture, x, y), then one row per entry.
  // Malformed rows are skipped; a repeated (id, damage) keeps the first row.
  explicit BVLItemIDSource(const std::string& table);

  // Every entry in table order, as string representations.
  std::vector<std::string> allItems() const;
  // Null for a malformed string or an unknown item, after the fallback below.
  std::optional<BVLItemDefinition> itemDefinitionWithStringRepresentation(const std::string& item) const;
  // The exact entry, or else the entry for (id, 0): a worn sword or a
  // variant the table does not list is still that item. The definition
  // returned is the entry found, with its own damage.
  std::optional<BVLItemDefinition> itemDefinitionWithID(uint16_t id, uint16_t damage) const;
  // The entry's 16 x 16 cell of its picture (one point a pixel), or null
  // when the item is unknown or the game's picture cannot be read.
  std::shared_ptr<ui::Image> basicImageForItemWithStringRepresentation(const std::string& item) const;
  std::shared_ptr<ui::Image> basicImageForItemWithID(uint16_t id, uint16_t damage) const;

  static std::string stringRepresentation(uint16_t id, uint16_t damage);
  // Null unless `item` is exactly two decimal numbers below 65536 joined by ':'.
  static std::optional<std::pair<uint16_t, uint16_t>> parseStringRepresentation(const std::string& item);

 private:
  std::vector<BVLItemDefinition> entries_;
  std::map<std::pair<uint16_t, uint16_t>, size_t> index_;
  mutable std::map<std::pair<std::string, std::pair<int, int>>, std::shared_ptr<ui::Image>> images_;
};
