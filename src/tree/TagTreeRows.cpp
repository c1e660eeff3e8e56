#include "tree/TagTreeRows.h"

#include <algorithm>

#include "records/TagValueText.h"

namespace {

const TBKChildren* childrenOf(const TBKTag& tag) {
  if (tag.type() == TBKTagType::Compound) return &static_cast<const TBKCompoundTag&>(tag).value();
  if (tag.type() == TBKTagType::List) return &static_cast<const TBKListTag&>(tag).value();
  return nullptr;
}

char folded(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

bool containsFolded(std::string_view text, const std::string& lowerNeedle) {
  auto found = std::search(text.begin(), text.end(), lowerNeedle.begin(), lowerNeedle.end(),
                           [](char a, char b) { return folded(a) == b; });
  return found != text.end();
}

}  // namespace

TagTreeRows::TagTreeRows(std::shared_ptr<TBKCompoundTag> root) : root_(std::move(root)) { rebuild(); }

void TagTreeRows::setSearch(const std::string& text) {
  std::string lower = text;
  std::transform(lower.begin(), lower.end(), lower.begin(), folded);
  if (lower == search_) return;
  search_ = lower;
  rebuild();
}

void TagTreeRows::appendChildren(std::vector<TagTreeRow>& out, TBKTag& container, int depth) const {
  const auto* children = childrenOf(container);
  for (size_t i = 0; i < children->size(); ++i) {
    const TBKTag* child = (*children)[i].get();
    bool open = childrenOf(*child) && isOpen(child);
    out.push_back({.tag = child, .parent = &container, .index = i, .depth = depth, .open = open});
    if (open) appendChildren(out, *const_cast<TBKTag*>(child), depth + 1);
  }
}

bool TagTreeRows::matches(const TBKTag& tag) const {
  if (containsFolded(tag.name(), search_)) return true;
  return !childrenOf(tag) && containsFolded(TagValueText::valueText(tag), search_);
}

// Appends the rows under `container` that lead to a match; true when any did.
bool TagTreeRows::appendMatches(std::vector<TagTreeRow>& out, TBKTag& container, int depth) const {
  const auto* children = childrenOf(container);
  bool any = false;
  for (size_t i = 0; i < children->size(); ++i) {
    auto* child = const_cast<TBKTag*>((*children)[i].get());
    size_t at = out.size();
    out.push_back({.tag = child, .parent = &container, .index = i, .depth = depth});
    if (matches(*child)) {
      any = true;
      // A matching container shows as it would without the search.
      if (childrenOf(*child) && isOpen(child)) {
        out[at].open = true;
        appendChildren(out, *child, depth + 1);
      }
    } else if (childrenOf(*child) && appendMatches(out, *child, depth + 1)) {
      any = true;
      out[at].open = true;
    } else {
      out.resize(at);
    }
  }
  return any;
}

void TagTreeRows::rebuild() {
  std::vector<TagTreeRow> rows;
  if (search_.empty()) {
    appendChildren(rows, *root_, 0);
  } else {
    appendMatches(rows, *root_, 0);
  }
  rows_ = std::move(rows);
  // Forget containers that left the tree, so a new tag at a reused address
  // does not open by itself.
  if (open_.empty()) return;
  std::unordered_set<const TBKTag*> stillOpen;
  std::vector<const TBKTag*> pending = {root_.get()};
  while (!pending.empty()) {
    const TBKTag* tag = pending.back();
    pending.pop_back();
    for (const auto& child : *childrenOf(*tag)) {
      if (!childrenOf(*child)) continue;
      if (isOpen(child.get())) stillOpen.insert(child.get());
      pending.push_back(child.get());
    }
  }
  open_ = std::move(stillOpen);
}

void TagTreeRows::setOpen(size_t row, bool open) {
  if (row >= rows_.size() || !childrenOf(*rows_[row].tag)) return;
  const TBKTag* tag = rows_[row].tag;
  if (open) {
    open_.insert(tag);
  } else {
    open_.erase(tag);
  }
  if (!search_.empty()) {
    rebuild();
    return;
  }
  if (rows_[row].open == open) return;
  rows_[row].open = open;
  auto after = rows_.begin() + std::ptrdiff_t(row) + 1;
  if (open) {
    std::vector<TagTreeRow> children;
    appendChildren(children, *const_cast<TBKTag*>(tag), rows_[row].depth + 1);
    rows_.insert(after, children.begin(), children.end());
  } else {
    auto end = std::find_if(after, rows_.end(), [&](const TagTreeRow& r) { return r.depth <= rows_[row].depth; });
    rows_.erase(after, end);
  }
}

size_t TagTreeRows::rowOf(const TBKTag* tag) const {
  auto found = std::find_if(rows_.begin(), rows_.end(), [&](const TagTreeRow& r) { return r.tag == tag; });
  return size_t(found - rows_.begin());
}

size_t TagTreeRows::parentRow(size_t row) const {
  if (row >= rows_.size()) return rows_.size();
  return rowOf(rows_[row].parent);
}
