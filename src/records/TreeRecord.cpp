#include "records/TreeRecord.h"

#include "Tarnbook/TBKNBT.h"

TreeRecord::TreeRecord(std::shared_ptr<TBKCompoundTag> tree, Commit commit)
    : tree_(std::move(tree)), commit_(std::move(commit)) {}

std::shared_ptr<TreeRecord> TreeRecord::level(const std::shared_ptr<TBKLevelDB>& db,
                                              std::shared_ptr<TBKCompoundTag> level) {
  return std::make_shared<TreeRecord>(std::move(level),
                                      [db](const std::shared_ptr<TBKCompoundTag>& tree) { db->setLevelData(tree); });
}

std::shared_ptr<TreeRecord> TreeRecord::player(const std::shared_ptr<TBKLevelDB>& db, const std::string& key,
                                               std::shared_ptr<TBKCompoundTag> player) {
  return std::make_shared<TreeRecord>(
      std::move(player), [db, key](const std::shared_ptr<TBKCompoundTag>& tree) { db->setPlayerForKey(key, tree); });
}

Outcome TreeRecord::change(const Change& change) {
  if (Outcome refused = attempt(change.apply)) return refused;
  Outcome refused = attempt([this] { commit_(tree_); });
  if (refused) change.revert();
  return refused;
}

Outcome TreeRecord::edit(TBKCompoundTag& part, const std::function<bool(TBKCompoundTag&)>& edit) {
  return editPart(part, edit);
}

Outcome TreeRecord::edit(TBKListTag& part, const std::function<bool(TBKListTag&)>& edit) {
  return editPart(part, edit);
}

template <class Part>
Outcome TreeRecord::editPart(Part& part, const std::function<bool(Part&)>& edit) {
  // A copy through the format itself: exactly what the commit would have
  // written, and nothing shared with the part the edit changes.
  std::shared_ptr<Part> before;
  try {
    before = std::dynamic_pointer_cast<Part>(TBKNBT::parse(TBKNBT::serialise(part)));
  } catch (const TBKException& error) {
    return Refusal{error.reason()};
  }
  if (!before) return Refusal{"The data could not be copied before the change, so it was not made."};
  try {
    if (!edit(part)) return std::nullopt;
    commit_(tree_);
  } catch (const TBKException& error) {
    part.takeValueOf(*before);
    return Refusal{error.reason()};
  }
  return std::nullopt;
}
