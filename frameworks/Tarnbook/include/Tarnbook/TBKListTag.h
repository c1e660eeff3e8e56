#pragma once

#include <iterator>
#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

#include "Tarnbook/TBKChildren.h"
#include "Tarnbook/TBKTag.h"

class TBKCompoundTag;

// An ordered list of unnamed tags of one type (the player's "Inventory" and
// "Armor" are lists of compounds). Entries are shared: changing an entry
// compound in place changes it in the list.
class TBKListTag : public TBKTag {
 public:
  // entries must all be of elementType (else TBKException, UsageFailure).
  // An empty list keeps elementType as given, so it is written back as read.
  TBKListTag(std::string_view name, TBKTagType elementType, TBKChildren entries = {});
  // From entries held otherwise (a std::vector of tags), taken over when
  // they are given up.
  template <typename Entries>
  requires(!std::is_same_v<std::remove_cvref_t<Entries>, TBKChildren>)
      TBKListTag(std::string_view name, TBKTagType elementType, Entries&& entries)
      : TBKListTag(name, elementType, childrenFrom(std::forward<Entries>(entries))) {}
  TBKListTag(const TBKReadKey& key, std::string_view name, TBKTagType elementType)
      : TBKTag(key, name, TBKTagType::List), elementType_(elementType) {}

  TBKTagType elementType() const { return elementType_; }
  const TBKChildren& value() const { return entries_; }
  size_t count() const { return entries_.size(); }

  // Raises TBKException (UsageFailure) when index >= count().
  std::shared_ptr<TBKTag> objectAtIndexedSubscript(size_t index) const;
  // The entry as a compound; nullptr when it is another type. Raises as above.
  std::shared_ptr<TBKCompoundTag> compoundAtIndex(size_t index) const;

  // Replaces the entry at index, or appends when index == count(). Raises
  // TBKException (UsageFailure) when index > count(), when tag is null, or
  // when tag's type differs from the other entries' (an empty list, or a
  // list whose only entry is being replaced, takes the new tag's type).
  void setObjectAtIndexedSubscript(std::shared_ptr<TBKTag> tag, size_t index);
  // Puts tag before the entry at index (index == count() appends), and
  // takes the entry at index out; the others keep their order. Raise as
  // above. An emptied list keeps its element type.
  void insertObjectAtIndex(std::shared_ptr<TBKTag> tag, size_t index);
  void removeObjectAtIndex(size_t index);
  // Every entry and the element type replaced by those of `other`, which is
  // left empty: how an editor puts a list back as a copy taken before a
  // change held it.
  void takeValueOf(TBKListTag& other);

 private:
  friend struct TBKTagBuilder;

  template <typename Entries>
  static TBKChildren childrenFrom(Entries&& entries) {
    if constexpr (std::is_lvalue_reference_v<Entries>) {
      return TBKChildren(entries.begin(), entries.end());
    } else {
      return TBKChildren(std::make_move_iterator(entries.begin()), std::make_move_iterator(entries.end()));
    }
  }

  TBKTagType elementType_;
  TBKChildren entries_;
};
