#include "Tarnbook/TBKListTag.h"

#include "Quoted.h"
#include "Tarnbook/TBKCompoundTag.h"
#include "Tarnbook/TBKException.h"

namespace {

[[noreturn]] void outOfRange(const TBKListTag& list, size_t index, size_t limit) {
  throw TBKException(TBKException::Kind::Usage, "Entry " + std::to_string(index) + " of the list " +
                                                    tbk::quoted(list.name()) + " does not exist (it has " +
                                                    std::to_string(limit) + " entries).");
}

}  // namespace

TBKListTag::TBKListTag(std::string_view name, TBKTagType elementType, TBKChildren entries)
    : TBKTag(name, TBKTagType::List), elementType_(elementType), entries_(std::move(entries)) {
  for (const auto& entry : entries_) {
    if (!entry || entry->type() != elementType_) {
      throw TBKException(TBKException::Kind::Usage, "The list " + tbk::quoted(this->name()) + " can only hold " +
                                                        TBKTagTypeName(elementType_) + " entries.");
    }
  }
}

std::shared_ptr<TBKTag> TBKListTag::objectAtIndexedSubscript(size_t index) const {
  if (index >= entries_.size()) outOfRange(*this, index, entries_.size());
  return entries_[index];
}

std::shared_ptr<TBKCompoundTag> TBKListTag::compoundAtIndex(size_t index) const {
  return std::dynamic_pointer_cast<TBKCompoundTag>(objectAtIndexedSubscript(index));
}

void TBKListTag::setObjectAtIndexedSubscript(std::shared_ptr<TBKTag> tag, size_t index) {
  if (index > entries_.size()) outOfRange(*this, index, entries_.size());
  if (!tag) {
    throw TBKException(TBKException::Kind::Usage,
                       "An empty entry cannot be stored in the list " + tbk::quoted(name()) + ".");
  }
  bool onlyEntry = entries_.empty() || (entries_.size() == 1 && index == 0);
  if (tag->type() != elementType_) {
    if (!onlyEntry) {
      throw TBKException(TBKException::Kind::Usage, std::string("A ") + TBKTagTypeName(tag->type()) +
                                                        " cannot be stored in the list " + tbk::quoted(name()) +
                                                        " of " + TBKTagTypeName(elementType_) + " entries.");
    }
    elementType_ = tag->type();
  }
  if (index == entries_.size()) {
    entries_.push_back(std::move(tag));
  } else {
    entries_[index] = std::move(tag);
  }
}

void TBKListTag::insertObjectAtIndex(std::shared_ptr<TBKTag> tag, size_t index) {
  if (index == entries_.size()) {
    setObjectAtIndexedSubscript(std::move(tag), index);
    return;
  }
  if (index > entries_.size()) outOfRange(*this, index, entries_.size());
  if (!tag || tag->type() != elementType_) {
    throw TBKException(TBKException::Kind::Usage, "The list " + tbk::quoted(name()) + " can only hold " +
                                                      TBKTagTypeName(elementType_) + " entries.");
  }
  entries_.insert(entries_.begin() + std::ptrdiff_t(index), std::move(tag));
}

void TBKListTag::removeObjectAtIndex(size_t index) {
  if (index >= entries_.size()) outOfRange(*this, index, entries_.size());
  entries_.erase(entries_.begin() + std::ptrdiff_t(index));
}

void TBKListTag::takeValueOf(TBKListTag& other) {
  if (&other == this) return;
  elementType_ = other.elementType_;
  entries_ = std::move(other.entries_);
  other.entries_.clear();
}
