#pragma once

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Tarnbook/TBKChunkKey.h"
#include "Tarnbook/TBKEntity.h"

class TBKLevelDB;

// Every entity of a world, in both forms and every dimension, and the
// changes of one. Each change is one TBKLevelDB::writeRecords batch (so the
// session's backup holds the records as they were, and a restore brings a
// removed entity back with its digest) that keeps every other byte of every
// record it touches. A change that cannot be made raises TBKException and
// writes nothing; the entity object is then as it was before the call.
class TBKEntities {
 public:
  struct Listing {
    // In the database's key order. Each entity holds its summary and where
    // it is kept, not its tree (see load).
    std::vector<std::shared_ptr<TBKEntity>> entities;
    // A sentence for each record skipped as damaged and each digest id
    // naming a record the world does not hold, the first maximumProblems
    // of them; the rest are counted, so a world of damaged records costs
    // no more memory than one.
    std::vector<std::string> problems;
    size_t problemsNotTold = 0;
    static constexpr size_t maximumProblems = 10;
    void addProblem(std::string problem);
  };

  // One walk over the world's database. cancelled (if given) is asked at
  // every record; a cancel returns nullopt. progress hears how far the walk
  // is, from 0 to 1. A damaged record is listed in problems and skipped;
  // nothing one record holds makes the listing raise. Only what a row shows
  // is read of each entity, so a listing's memory and time grow with the
  // creatures' number, not with their trees.
  static std::optional<Listing> list(TBKLevelDB& db, const std::function<bool()>& cancelled = nullptr,
                                     const std::function<void(double)>& progress = nullptr);
  // The entity named by idText (see TBKEntity::idText), read afresh; null
  // when the world holds none of that id. Raises for a damaged record.
  static std::shared_ptr<TBKEntity> read(TBKLevelDB& db, const std::string& idText);
  // Reads a listed entity's whole tree (nothing when it has one), and its
  // summary afresh. Raises for a damaged record, and for one gone or, in
  // the old form, changed since the listing.
  static void load(TBKLevelDB& db, TBKEntity& entity);
  // What a list shows of a tree that is not an entity's record (the
  // player's, for one).
  static TBKEntity::Summary summaryOf(const TBKCompoundTag& tree);

  // Stores entity.tree (read by load first): its own record, or its root spliced into the chunk's
  // value between the other roots' bytes.
  static void write(TBKLevelDB& db, TBKEntity& entity);
  // Removes it: its record and its id out of its chunk's digest together,
  // or the chunk's value without its root (the record itself when it was
  // the last).
  static void remove(TBKLevelDB& db, TBKEntity& entity);
  // Removes them all with one batch (thousands of dropped items in one
  // write), each as remove() would.
  static void removeAll(TBKLevelDB& db, const std::vector<std::shared_ptr<TBKEntity>>& entities);
  // Puts it (loaded first) at position in dimension: "Pos" set, and when that is another
  // chunk, its id moved from the old chunk's digest into the new one's
  // (made when there is none), or in the old form its root moved from the
  // old chunk's value to the end of the new chunk's.
  static void move(TBKLevelDB& db, TBKEntity& entity, const std::array<double, 3>& position,
                   TBKChunkKey::Dimension dimension);
};
