#pragma once

#include <functional>
#include <memory>
#include <string>

#include "external/Tarnbook.h"
#include "records/Change.h"
#include "records/Refusal.h"

// One tree of a world as it is stored (level.dat's level tree, a player
// record) and the one way to change it: the change is applied to the tree in
// place, the whole tree committed with one write, and on a refusal the change
// is taken back out of the tree, so the tree in memory is always the one on
// disk. Screens hold subtrees of tree() and may keep them across changes: a
// change taken back leaves the part it changed the same object, so a screen
// should hold the part it edits (or look it up again), not what is inside it.
class TreeRecord {
 public:
  // Stores the tree; raises TBKException when it is not stored.
  using Commit = std::function<void(const std::shared_ptr<TBKCompoundTag>&)>;

  TreeRecord(std::shared_ptr<TBKCompoundTag> tree, Commit commit);

  // The level tree, committed with the world's level write.
  static std::shared_ptr<TreeRecord> level(const std::shared_ptr<TBKLevelDB>& db,
                                           std::shared_ptr<TBKCompoundTag> level);
  // The player record under key, committed with the world's write of that
  // record (after the session's backup of it).
  static std::shared_ptr<TreeRecord> player(const std::shared_ptr<TBKLevelDB>& db, const std::string& key,
                                            std::shared_ptr<TBKCompoundTag> player);

  const std::shared_ptr<TBKCompoundTag>& tree() const { return tree_; }

  // Applies, commits once, and on a refusal (of apply or of the commit)
  // reverts and returns the reason. Raises nothing.
  Outcome change(const Change& change);

  // A change of one compound of the tree by `edit`, which returns whether it
  // changed anything (nothing is then written). Taken back, the compound
  // (the same object) holds again exactly the children it held, as copies
  // of them. Raises nothing.
  Outcome edit(TBKCompoundTag& part, const std::function<bool(TBKCompoundTag&)>& edit);
  // The same for a list of the tree: taken back, it holds again exactly its
  // entries (copies), of the type it had.
  Outcome edit(TBKListTag& part, const std::function<bool(TBKListTag&)>& edit);

 private:
  template <class Part>
  Outcome editPart(Part& part, const std::function<bool(Part&)>& edit);

  std::shared_ptr<TBKCompoundTag> tree_;
  Commit commit_;
};
