#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "Tarnbook/TBKChildren.h"
#include "Tarnbook/TBKNumber.h"
#include "Tarnbook/TBKTag.h"

class TBKListTag;

// Named children in the order they were read or added. The order is kept
// exactly, so a tree read from disk and written back unchanged gives back the
// same bytes. Lookups compare names exactly; the first child of a name wins.
class TBKCompoundTag : public TBKTag {
 public:
  explicit TBKCompoundTag(std::string_view name);
  TBKCompoundTag(const TBKReadKey& key, std::string_view name) : TBKTag(key, name, TBKTagType::Compound) {}

  const TBKChildren& value() const { return children_; }
  size_t count() const { return children_.size(); }

  // The child of that name, or nullptr.
  std::shared_ptr<TBKTag> objectForKeyedSubscript(std::string_view name) const;

  // Stores tag under its own name: replaces the child of that name where it
  // stands, or appends. A null tag raises TBKException (UsageFailure).
  void setValueForKey(std::shared_ptr<TBKTag> tag);
  // Stores tag under name (the tag takes that name), replacing or appending
  // as above; a null tag removes the child of that name.
  void setObjectForKeyedSubscript(std::shared_ptr<TBKTag> tag, std::string_view name);
  void removeObjectForKey(std::string_view name);

  // Position-keeping edits, for editors that show the children in order.
  // insertValueAtIndex puts tag before the child at index (index == count()
  // appends); renameKey gives the child `from` the name `to` where it
  // stands. Both raise TBKException (UsageFailure), changing nothing, when
  // the name is taken by another child, the child is absent, the tag is
  // null or index > count().
  void insertValueAtIndex(std::shared_ptr<TBKTag> tag, size_t index);
  void renameKey(std::string_view from, std::string_view to);
  // Every child replaced by those of `other`, which is left empty: how an
  // editor puts a compound back as a copy taken before a change held it,
  // children of one name (a damaged file's) included.
  void takeValueOf(TBKCompoundTag& other);
  // The position of the child of that name, or count() when there is none.
  size_t indexOfKey(std::string_view name) const;

  // Readers that treat an absent child, or one of another type, as the
  // game's code does: 0, empty text, or nullptr.
  TBKNumber numberForKey(std::string_view name) const;
  std::string stringForKey(std::string_view name) const;
  std::shared_ptr<TBKCompoundTag> compoundForKey(std::string_view name) const;
  std::shared_ptr<TBKListTag> listForKey(std::string_view name) const;

 private:
  friend struct TBKTagBuilder;

  TBKChildren children_;
};
