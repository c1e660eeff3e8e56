#pragma once

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ui/Exception.h"
#include "ui/Geometry.h"
#include "ui/SelectableCell.h"

namespace ui {

// The cells of a scrolling list (a table's rows, a collection view's items):
// those on screen, by index path, and those scrolled out, queued by reuse
// identifier until they are handed out again. The list places the cells; the
// queue only keeps them. Cell is a SelectableCell.
template <class Cell>
class ReuseQueue {
 public:
  // Makes a new cell for a registered identifier, for a place of `frame`.
  using Factory = std::function<std::shared_ptr<Cell>(const std::string& identifier, const Rect& frame)>;

  void registerFactory(const std::string& identifier, Factory factory) { factories_[identifier] = std::move(factory); }

  // A queued cell (after its prepareForReuse) or a new one, either with
  // `frame` and the identifier. For an identifier nobody registered it raises
  // NSInternalInconsistencyException, the reason starting with `refusal`.
  std::shared_ptr<Cell> dequeue(const std::string& identifier, const Rect& frame, const std::string& refusal) {
    std::shared_ptr<Cell> cell;
    auto& queue = queues_[identifier];
    if (!queue.empty()) {
      cell = std::move(queue.back());
      queue.pop_back();
      cell->prepareForReuse();
    } else {
      auto factory = factories_.find(identifier);
      if (factory == factories_.end()) {
        raise("NSInternalInconsistencyException",
              refusal + " with identifier " + identifier + " - a class must be registered for the identifier");
      }
      cell = factory->second(identifier, frame);
      cell->reuseIdentifier_ = identifier;
    }
    cell->setFrame(frame);
    return cell;
  }

  // The cells on screen, by the place each shows.
  const std::map<IndexPath, std::shared_ptr<Cell>>& visible() const { return visible_; }
  std::shared_ptr<Cell> visibleCell(const IndexPath& path) const {
    auto it = visible_.find(path);
    return it == visible_.end() ? nullptr : it->second;
  }
  bool isVisible(const IndexPath& path) const { return visible_.count(path) != 0; }
  std::vector<IndexPath> visiblePaths() const {
    std::vector<IndexPath> paths;
    for (const auto& [path, cell] : visible_) paths.push_back(path);
    return paths;
  }
  std::vector<std::shared_ptr<Cell>> visibleCells() const {
    std::vector<std::shared_ptr<Cell>> cells;
    for (const auto& [path, cell] : visible_) cells.push_back(cell);
    return cells;
  }
  void show(const IndexPath& path, std::shared_ptr<Cell> cell) { visible_[path] = std::move(cell); }

  // Takes every cell on screen whose place is not in `kept` (sorted) out of
  // the list and back into its queue; `leaving` hears of each place first.
  void recycleAllExcept(const std::vector<IndexPath>& kept, const std::function<void(const IndexPath&)>& leaving) {
    for (auto it = visible_.begin(); it != visible_.end();) {
      if (std::binary_search(kept.begin(), kept.end(), it->first)) {
        ++it;
        continue;
      }
      leaving(it->first);
      recycle(std::move(it->second));
      it = visible_.erase(it);
    }
  }
  void recycleAll() {
    for (auto& [path, cell] : visible_) recycle(std::move(cell));
    visible_.clear();
  }

 private:
  void recycle(std::shared_ptr<Cell> cell) {
    cell->removeFromSuperview();
    queues_[cell->reuseIdentifier()].push_back(std::move(cell));
  }

  std::map<std::string, Factory> factories_;
  std::map<std::string, std::vector<std::shared_ptr<Cell>>> queues_;
  std::map<IndexPath, std::shared_ptr<Cell>> visible_;
};

}  // namespace ui
