#include "Tarnbook/TBKCompoundTag.h"

#include <algorithm>

#include "Quoted.h"
#include "Tarnbook/TBKException.h"
#include "Tarnbook/TBKListTag.h"
#include "Tarnbook/TBKNumberTag.h"
#include "Tarnbook/TBKStringTag.h"

TBKCompoundTag::TBKCompoundTag(std::string_view name) : TBKTag(name, TBKTagType::Compound) {}

std::shared_ptr<TBKTag> TBKCompoundTag::objectForKeyedSubscript(std::string_view name) const {
  for (const auto& child : children_) {
    if (child->name() == name) return child;
  }
  return nullptr;
}

void TBKCompoundTag::setValueForKey(std::shared_ptr<TBKTag> tag) {
  if (!tag) {
    throw TBKException(TBKException::Kind::Usage,
                       "An empty tag cannot be stored in the compound " + tbk::quoted(name()) + ".");
  }
  for (auto& child : children_) {
    if (child->name() == tag->name()) {
      child = std::move(tag);
      return;
    }
  }
  children_.push_back(std::move(tag));
}

void TBKCompoundTag::setObjectForKeyedSubscript(std::shared_ptr<TBKTag> tag, std::string_view name) {
  if (!tag) {
    removeObjectForKey(name);
    return;
  }
  tag->rename(name);
  setValueForKey(std::move(tag));
}

void TBKCompoundTag::removeObjectForKey(std::string_view name) {
  auto found =
      std::find_if(children_.begin(), children_.end(), [&](const auto& child) { return child->name() == name; });
  if (found != children_.end()) children_.erase(found);
}

void TBKCompoundTag::takeValueOf(TBKCompoundTag& other) {
  if (&other == this) return;
  children_ = std::move(other.children_);
  other.children_.clear();
}

size_t TBKCompoundTag::indexOfKey(std::string_view name) const {
  auto found =
      std::find_if(children_.begin(), children_.end(), [&](const auto& child) { return child->name() == name; });
  return size_t(found - children_.begin());
}

void TBKCompoundTag::insertValueAtIndex(std::shared_ptr<TBKTag> tag, size_t index) {
  if (!tag) {
    throw TBKException(TBKException::Kind::Usage,
                       "An empty tag cannot be stored in the compound " + tbk::quoted(name()) + ".");
  }
  if (index > children_.size()) {
    throw TBKException(TBKException::Kind::Usage, "The compound " + tbk::quoted(name()) + " has no place " +
                                                      std::to_string(index) + " (it has " +
                                                      std::to_string(children_.size()) + " children).");
  }
  if (objectForKeyedSubscript(tag->name())) {
    throw TBKException(TBKException::Kind::Usage, "The compound " + tbk::quoted(name()) +
                                                      " already holds a tag named " + tbk::quoted(tag->name()) + ".");
  }
  children_.insert(children_.begin() + std::ptrdiff_t(index), std::move(tag));
}

void TBKCompoundTag::renameKey(std::string_view from, std::string_view to) {
  size_t index = indexOfKey(from);
  if (index == children_.size()) {
    throw TBKException(TBKException::Kind::Usage,
                       "The compound " + tbk::quoted(name()) + " holds no tag named " + tbk::quoted(from) + ".");
  }
  if (from == to) return;
  if (objectForKeyedSubscript(to)) {
    throw TBKException(TBKException::Kind::Usage,
                       "The compound " + tbk::quoted(name()) + " already holds a tag named " + tbk::quoted(to) + ".");
  }
  children_[index]->rename(to);
}

TBKNumber TBKCompoundTag::numberForKey(std::string_view name) const {
  auto number = std::dynamic_pointer_cast<TBKNumberTag>(objectForKeyedSubscript(name));
  return number ? number->value() : TBKNumber();
}

std::string TBKCompoundTag::stringForKey(std::string_view name) const {
  auto text = std::dynamic_pointer_cast<TBKStringTag>(objectForKeyedSubscript(name));
  return text ? text->value() : std::string();
}

std::shared_ptr<TBKCompoundTag> TBKCompoundTag::compoundForKey(std::string_view name) const {
  return std::dynamic_pointer_cast<TBKCompoundTag>(objectForKeyedSubscript(name));
}

std::shared_ptr<TBKListTag> TBKCompoundTag::listForKey(std::string_view name) const {
  return std::dynamic_pointer_cast<TBKListTag>(objectForKeyedSubscript(name));
}
