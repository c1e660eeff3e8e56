#pragma once

#include <string>
#include <string_view>
#include <vector>

class TBKLevelDB;

// The structures a world keeps (saved with a structure block or the
// /structure command): each a record "structuretemplate_" + its name
// ("mystructure:house") whose value is the structure as little-endian NBT,
// the very bytes of a .mcstructure file. That is a compound of
// format_version (int 1), size (3 ints), structure {block_indices (two
// lists of ints, one per block of the size: the block and what it is
// waterlogged with, an index into the palette or -1 for none),
// entities (compounds), palette {default {block_palette (compounds),
// block_position_data (a compound, may be missing)}}} and
// structure_world_origin (3 ints). Failures raise TBKException naming the
// structure or the file.
class TBKStructures {
 public:
  static constexpr std::string_view keyPrefix = "structuretemplate_";

  // The names of the world's structures, in the database's order.
  static std::vector<std::string> names(TBKLevelDB& db);

  // Writes the structure's bytes as they are kept to the .mcstructure file
  // at path, atomically, as the real user could, and theirs. A file there
  // is replaced only when `replace`; else that raises (File), as does a
  // structure the world does not hold, and nothing is written.
  static void exportStructure(TBKLevelDB& db, const std::string& name, const std::string& path, bool replace = true);
  // The structure's name as a file name: ":", "/" and control characters
  // become "_", a leading "." too, and ".mcstructure" is added
  // ("mystructure:house" gives "mystructure_house.mcstructure").
  static std::string fileName(const std::string& name);

  // Reads the .mcstructure file at path (as the real user could; at most
  // 64 MB), checks that it has a structure's shape, and stores it under the
  // name given (one without a namespace goes into "mystructure:", as the
  // game's own), replacing a structure of that name; the session's backup
  // holds what was there. Returns the name it was stored under. A file of
  // another shape raises (Format) saying what is wrong; nothing is written.
  static std::string importStructure(TBKLevelDB& db, const std::string& path, const std::string& name);
  // The name a structure given `name` is kept under ("house" gives
  // "mystructure:house"); a name that is empty, longer than 256 bytes or
  // holding control characters raises (Usage) saying so.
  static std::string keptName(const std::string& name);
  // The names of the .mcstructure files (any case) directly in folder, as
  // the real user could list them; only plain files.
  static std::vector<std::string> filesIn(const std::string& folder);

  // Why the bytes are not a structure, or "" when they are one.
  static std::string shapeProblem(std::string_view bytes);
};
