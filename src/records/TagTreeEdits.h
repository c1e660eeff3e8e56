#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "external/Tarnbook.h"
#include "records/Refusal.h"
#include "records/TreeRecord.h"

// The edits the tag tree offers, each one change of a TreeRecord: written
// with one commit, or refused with a reason and nothing left of it in the
// tree. A rule the data breaks (text the type cannot hold, a taken name) is
// refused before anything is written. Compounds and lists keep their
// identity through every edit and every refusal, so a screen's pointers into
// the tree stay good; only a replaced or removed tag leaves it.
class TagTreeEdits {
 public:
  // Where a tag sits: the compound or list holding it and its position
  // there. `parent` must be a compound or list of the record's tree and
  // `index` below its count.
  struct Place {
    TBKTag* parent = nullptr;
    size_t index = 0;
  };

  static const std::shared_ptr<TBKTag>& tagAt(const Place& place);

  // Why the tag at `place` may not be changed or removed at all: a compound
  // from a damaged file may hold two children of one name, and an edit by
  // name could reach the wrong one. Nothing when it may.
  static Outcome refusalToChange(const Place& place);
  // As above, and list entries, which have no names.
  static Outcome refusalToRename(const Place& place);

  // The tag at `place` replaced by one of its type and name holding `text`
  // (read by TagValueText::parse). Text that reads as the value already
  // shown writes nothing, so a float is never re-rounded.
  static Outcome setValue(TreeRecord& record, const Place& place, std::string_view text);
  // The child at `place` named `name` where it stands.
  static Outcome rename(TreeRecord& record, const Place& place, const std::string& name);
  // A new, empty child of `type` named `name`, last in `compound`.
  static Outcome addChild(TreeRecord& record, TBKCompoundTag& compound, TBKTagType type, const std::string& name);
  // A new, empty entry of `type` last in `list`: the list's entries' type,
  // or any type for an empty list, which takes it. Taken back, the list
  // holds again its entries of the type it was read with, so an empty list
  // is written back as read.
  static Outcome addEntry(TreeRecord& record, TBKListTag& list, TBKTagType type);
  // The tag at `place` taken out, with everything in it.
  static Outcome remove(TreeRecord& record, const Place& place);
};
