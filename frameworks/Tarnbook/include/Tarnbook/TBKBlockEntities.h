#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "Tarnbook/TBKChunkKey.h"
#include "Tarnbook/TBKCompoundTag.h"

class TBKLevelDB;

// One block entity of a world (a chest, a furnace, a sign, an add-on's
// block...): the chunk whose block-entities record holds it (tag
// BlockEntities, its dimension included), which root of that record's
// value it is, and its tree.
struct TBKBlockEntity {
  TBKChunkKey chunk;
  size_t index = 0;
  std::shared_ptr<TBKCompoundTag> root;
};

// The block entities of a world's chunks: each chunk keeps them as NBT
// roots one after another in one record (x, z, [dimension], 0x31).
class TBKBlockEntities {
 public:
  // A chunk's record that could not be read, and why, as a sentence
  // that names it.
  struct Damage {
    TBKChunkKey chunk;
    std::string reason;
  };

  // Every block entity of the world, in key order, all three dimensions,
  // over one walk of the database; only block-entity records are parsed.
  // A damaged record goes to `damaged` (if given) and the walk goes on.
  // visit returns false to stop; cancelled (if given) is asked every few
  // hundred keys, block entities or not, so that a walk over a world with
  // few of them stops soon too. Returns whether the walk reached the end.
  // progress as TBKLevelDB::forEachRecord.
  static bool forEach(TBKLevelDB& db, const std::function<bool(const TBKBlockEntity&)>& visit,
                      const std::function<void(const Damage&)>& damaged = nullptr,
                      const std::function<void(double)>& progress = nullptr,
                      const std::function<bool()>& cancelled = nullptr);

  // The roots of one chunk's record (key's tag is taken as BlockEntities);
  // none when it has no record. Raises TBKException (Format) for a damaged
  // one, with the chunk named.
  static std::vector<std::shared_ptr<TBKCompoundTag>> read(TBKLevelDB& db, TBKChunkKey chunk);

  // One root to replace: the chunk, the root's index, the bytes it had
  // when read (a root changed since then is not overwritten) and its tree.
  struct Replacement {
    TBKChunkKey chunk;
    size_t index = 0;
    std::string before;
    std::shared_ptr<TBKCompoundTag> root;
  };
  // Stores every replacement with one TBKLevelDB::writeRecords batch: each
  // chunk's value with its roots replaced and every other byte kept, and
  // where the chunk has a checksums record, that record with the new
  // value's checksum. Raises TBKException, writing nothing, for a record
  // now damaged, a root not there or not as read, a checksums record that
  // cannot be updated, and what writeRecords raises.
  static void write(TBKLevelDB& db, const std::vector<Replacement>& replacements);

  // value with root `index` replaced by root and every other byte kept;
  // raises TBKException (Format) when value is damaged or has no such root
  // or (when before is given) that root's bytes are not before.
  static std::string replaced(std::string_view value, size_t index, const TBKCompoundTag& root,
                              const std::string* before = nullptr);
};
