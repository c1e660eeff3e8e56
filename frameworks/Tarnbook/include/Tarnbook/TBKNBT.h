#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "Tarnbook/TBKCompoundTag.h"

// Little-endian NBT, as the game writes it in level.dat and in its database.
// Reading is bounded: a length that runs past the bytes left, a negative
// length, an unknown tag type, nesting deeper than maximumDepth or more
// than maximumTags tags raises a TBKException (FormatFailure) that says what
// is wrong and at which byte; nothing is allocated beyond what the input can
// fill, and a parse holds at most some hundred bytes a tag.
class TBKNBT {
 public:
  // Compounds and lists inside one another, the root counting as 1.
  static constexpr int maximumDepth = 512;
  // Tags in one parse, the root counting as 1. The game's largest records
  // (a large world's level.dat, a player with full containers, a chunk's
  // block entities, a sub-chunk's palette) hold tens of thousands at most.
  static constexpr size_t maximumTags = size_t(1) << 20;

  // Reads one named tag from the front of bytes; *consumed (if given) is the
  // number of bytes it took.
  static std::shared_ptr<TBKTag> parse(std::string_view bytes, size_t* consumed = nullptr);
  // Reads a record that must be exactly one compound: a root of another
  // type or bytes after the compound raise as damage.
  static std::shared_ptr<TBKCompoundTag> parseCompound(std::string_view bytes);
  // Reads a record that holds compounds one after another (a chunk's block
  // entities): none for no bytes; a root of another type or a root cut
  // short raises as damage, naming the root. ends (if given) receives where
  // each root ends, so a writer can keep the others' bytes as they are.
  static std::vector<std::shared_ptr<TBKCompoundTag>> parseRoots(std::string_view bytes,
                                                                 std::vector<size_t>* ends = nullptr);

  // Writes tag with its name. Raises TBKException (UsageFailure) for what
  // the format cannot hold: text over 65535 bytes, nesting deeper than
  // maximumDepth (a compound holding itself, for one).
  static std::string serialise(const TBKTag& tag);
  static void serialise(const TBKTag& tag, std::string& out);

  // One tag a line, indented two spaces a level, types shown:
  //   TAG_Short "id": 276
  static std::string describe(const TBKTag& tag);
};
