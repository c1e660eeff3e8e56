#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "external/Tarnbook.h"

// One row of the tag tree as shown: a tag, where it sits and how deep.
// `tag` and `parent` point into the tree the rows were made from; they are
// good until that tree changes, after which the owner calls rebuild().
struct TagTreeRow {
  const TBKTag* tag = nullptr;
  TBKTag* parent = nullptr;  // the compound or list holding it
  size_t index = 0;          // its position there
  int depth = 0;             // 0 for the root's children
  bool open = false;         // a compound or list showing its entries
};

// The rows a tag tree shows, as a pure computation from the tree, which
// compounds and lists are open, and the search text; tested without a
// window. The root itself is no row: its children are the rows at depth 0.
//
// Opening and closing splice the container's rows in or out, so that
// opening a 20,000-entry compound costs one pass over those entries. While
// the search text is not empty, the rows are the tags whose name or value
// contains it (ignoring the case of ASCII letters) and every compound or
// list on the way down to them, shown open.
class TagTreeRows {
 public:
  explicit TagTreeRows(std::shared_ptr<TBKCompoundTag> root);

  const std::shared_ptr<TBKCompoundTag>& root() const { return root_; }
  const std::vector<TagTreeRow>& rows() const { return rows_; }
  const std::string& search() const { return search_; }
  void setSearch(const std::string& text);

  bool isOpen(const TBKTag* tag) const { return open_.count(tag) != 0; }
  // For the row at `row` (a compound or list; anything else is left alone).
  void setOpen(size_t row, bool open);
  // After the tree changed: rows made afresh, open state kept for the
  // containers still in it.
  void rebuild();

  // The row showing `tag`, or rows().size() when none does.
  size_t rowOf(const TBKTag* tag) const;
  // The row of the compound or list holding the row's tag, or rows().size()
  // for a child of the root.
  size_t parentRow(size_t row) const;

 private:
  void appendChildren(std::vector<TagTreeRow>& out, TBKTag& container, int depth) const;
  bool appendMatches(std::vector<TagTreeRow>& out, TBKTag& container, int depth) const;
  bool matches(const TBKTag& tag) const;

  std::shared_ptr<TBKCompoundTag> root_;
  std::unordered_set<const TBKTag*> open_;
  std::string search_;  // folded to lower case
  std::vector<TagTreeRow> rows_;
};
