#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Today's game's enchantments: numeric id (the "id" short an item's "ench"
// entry holds), name, title, highest level the game gives, the item kind it
// applies to, and the enchantments it cannot share an item with.
struct BVLEnchantment {
  uint16_t id = 0;
  std::string name;
  std::string title;
  int maxLevel = 1;
  std::string kind;
  std::vector<std::string> excludes;

  // Whether an item whose catalogue entry lists `kinds` ("a,b,c") takes it.
  bool appliesTo(const std::string& kinds) const;
  bool conflictsWith(const BVLEnchantment& other) const;
};

class BVLEnchantments {
 public:
  // The one table, compiled into the library.
  static const BVLEnchantments& shared();
  // '#' lines are comments; the first other line names the columns (id,
  // name, title, max_level, kind, excludes); rows without a valid id are
  // skipped.
  explicit BVLEnchantments(const std::string& table);

  // In id order.
  const std::vector<BVLEnchantment>& all() const { return all_; }
  // Null for an id the table does not know.
  const BVLEnchantment* withID(int id) const;

  // A level as the game writes it: roman numerals ("V", "XLII"); 0 and
  // below as the number itself.
  static std::string levelText(int level);

 private:
  std::vector<BVLEnchantment> all_;
};
