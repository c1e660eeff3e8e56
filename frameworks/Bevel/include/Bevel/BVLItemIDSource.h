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
// keyed by (id, damage), and every item and block of today's game, keyed by
// its name ("minecraft:diamond_sword") and damage; each with a title and a
// cell of one of the game's two item pictures. An early thing that today's
// game still has is one entry known both ways.
//
// Items travel as string representations: "id:damage" (decimal, e.g.
// "267:0") for the early game's numbers, and the name itself for today's,
// followed by "#damage" when the damage is not 0 ("minecraft:bed#14").
class BVLItemIDSource {
 public:
  // The one catalogue, built from the table compiled into the library the
  // first time it is asked for.
  static std::shared_ptr<BVLItemIDSource> sharedSource();

  // Parses a table: '#' lines are comments, the first other line names the
  // columns (id, damage, name, picture, x, y, and optionally identifier,
  // identifier_damage, identifier_name), then one row per entry. A row is
  // known by its numbers when id, damage and name are all valid, by its name
  // when identifier and identifier_name are; a row known neither way is
  // skipped, except that the first row with no id, damage, name or identifier
  // at all gives the generic picture (genericItemImage). A repeated key keeps
  // the first row that has it.
  explicit BVLItemIDSource(const std::string& table);

  // Every entry known by its numbers, in table order, as "id:damage".
  std::vector<std::string> allItems() const;
  // Every entry known by its name, in table order, as named representations.
  std::vector<std::string> allNamedItems() const;
  // Either kind of representation. Null for a malformed string or an unknown
  // item, after the fallbacks below.
  std::optional<BVLItemDefinition> itemDefinitionWithStringRepresentation(const std::string& item) const;
  // The exact entry, or else the entry for (id, 0): a worn sword or a
  // variant the table does not list is still that item. The definition
  // returned is the entry found, with its own damage.
  std::optional<BVLItemDefinition> itemDefinitionWithID(uint16_t id, uint16_t damage) const;
  // The entry's 16 x 16 cell of its picture (one point a pixel), or null
  // when the item is unknown or the game's picture cannot be read.
  std::shared_ptr<ui::Image> basicImageForItemWithStringRepresentation(const std::string& item) const;
  std::shared_ptr<ui::Image> basicImageForItemWithID(uint16_t id, uint16_t damage) const;

  // Today's game: the entry of that name and damage, or else of that name and
  // damage 0 (a worn sword is still a sword), as for the numbers; the
  // definition's name is today's title. Null for a name the catalogue does
  // not know (a newer item, an add-on's item).
  std::optional<BVLItemDefinition> itemDefinitionWithName(const std::string& identifier, uint16_t damage = 0) const;
  // Its 16 x 16 cell, or null for an unknown name or an unreadable picture.
  std::shared_ptr<ui::Image> basicImageForItemWithName(const std::string& identifier, uint16_t damage = 0) const;
  // The picture for something the catalogue does not know: a plain glyph,
  // 16 x 16. Null when the table names none or the picture cannot be read.
  std::shared_ptr<ui::Image> genericItemImage() const;

  static std::string stringRepresentation(uint16_t id, uint16_t damage);
  // Null unless `item` is exactly two decimal numbers below 65536 joined by ':'.
  static std::optional<std::pair<uint16_t, uint16_t>> parseStringRepresentation(const std::string& item);
  // "minecraft:bed", 14 -> "minecraft:bed#14"; damage 0 gives the name alone.
  static std::string namedRepresentation(const std::string& identifier, uint16_t damage);
  // Null for text that is a numbered representation, that is empty before
  // its '#', or whose damage after the last '#' is not a decimal below 65536.
  static std::optional<std::pair<std::string, uint16_t>> parseNamedRepresentation(const std::string& item);

 private:
  struct Entry {
    std::string name;
    std::optional<std::pair<uint16_t, uint16_t>> numbers;
    std::string identifier;
    uint16_t identifierDamage = 0;
    std::string identifierName;
    uint16_t durability = 0, stackSize = 0;
    std::string enchantKinds;
    std::string picture;
    ui::Rect cell;
  };
  BVLItemDefinition definitionOf(const Entry& entry, bool byName) const;
  std::shared_ptr<ui::Image> imageOfCell(const std::string& picture, const ui::Rect& cell) const;

  std::vector<Entry> entries_;
  std::map<std::pair<uint16_t, uint16_t>, size_t> index_;
  std::map<std::pair<std::string, uint16_t>, size_t> nameIndex_;
  std::string genericPicture_;
  ui::Rect genericCell_;
  mutable std::map<std::pair<std::string, std::pair<int, int>>, std::shared_ptr<ui::Image>> images_;
};
