#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

// The blocks a map knows: a colour for every block name of the game, and the
// name that stands for each numbered block of the early game. Built once from
// the table compiled into the library (data/blocks.tsv); read-only afterwards,
// so any thread may ask it.
class TBKBlockTable {
 public:
  // 0xRRGGBB, with these flags above the colour bits.
  static constexpr uint32_t seeThrough = 1u << 24;  // air and the like: the map looks past it
  static constexpr uint32_t water = 1u << 25;       // drawn by its depth over what lies below
  static constexpr uint32_t unknown = 1u << 26;     // a name the table lacks
  // The one colour every unknown name gets.
  static constexpr uint32_t unknownColour = 0xFF00DC;

  static const TBKBlockTable& shared();

  // The colour and flags of a block name ("minecraft:stone"); unknown names
  // give unknownColour | unknown.
  uint32_t colourOf(std::string_view name) const;
  // The name of the early game's block `id` with data value `data` (only
  // the low four bits count); a data value without a row of its own takes
  // data 0's name. Id 0 and numbers the early game never used give
  // "minecraft:air" and "" respectively.
  const std::string& earlyName(uint8_t id, uint8_t data) const;

 private:
  TBKBlockTable();

  struct NameHash {
    using is_transparent = void;
    size_t operator()(std::string_view text) const { return std::hash<std::string_view>()(text); }
  };
  std::unordered_map<std::string, uint32_t, NameHash, std::equal_to<>> colours_;
  std::string early_[256][16];
};
