#pragma once

#include <memory>
#include <string_view>

#include "Tarnbook/TBKCompoundTag.h"
#include "Tarnbook/TBKListTag.h"

// The reader's way in: appends children as read, without the lookups and
// type checks the public setters make, so duplicate names and the exact
// order on disk survive a round trip.
struct TBKReadKey {
 private:
  TBKReadKey() = default;
  friend struct TBKTagBuilder;
};

struct TBKTagBuilder {
  static const TBKReadKey& key() {
    static const TBKReadKey key;
    return key;
  }
  static void append(TBKCompoundTag& compound, std::shared_ptr<TBKTag> child) {
    compound.children_.push_back(std::move(child));
  }
  static void reserve(TBKCompoundTag& compound, size_t count) { compound.children_.reserve(count); }
  static void reserve(TBKListTag& list, size_t count) { list.entries_.reserve(count); }
  static void append(TBKListTag& list, std::shared_ptr<TBKTag> entry) { list.entries_.push_back(std::move(entry)); }
};
