#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/CollectionViewCell.h"
#include "ui/CollectionViewDataSource.h"
#include "ui/CollectionViewDelegateFlowLayout.h"
#include "ui/CollectionViewFlowLayout.h"
#include "ui/ReuseQueue.h"
#include "ui/ScrollView.h"

namespace ui {

// A vertically scrolling grid of items placed by a flow layout.
//
// As with tables, only items on screen have cells; a cell that scrolls out
// goes back to its identifier's queue. The data and the sizes come in on the
// first layout in a window, on every reloadData and (sizes only) when the
// view's width changes.
class CollectionView : public ScrollView {
 public:
  using CellFactory = std::function<std::shared_ptr<CollectionViewCell>(const Rect& frame)>;

  CollectionView(const Rect& frame, std::shared_ptr<CollectionViewFlowLayout> layout);
  ~CollectionView() override;

  std::shared_ptr<CollectionViewFlowLayout> collectionViewLayout() const { return layout_; }
  std::shared_ptr<CollectionViewDataSource> dataSource() const { return dataSource_.lock(); }
  void setDataSource(const std::shared_ptr<CollectionViewDataSource>& dataSource);
  std::shared_ptr<CollectionViewDelegateFlowLayout> delegate() const { return delegate_.lock(); }
  void setDelegate(const std::shared_ptr<CollectionViewDelegateFlowLayout>& delegate);

  // New cells for `identifier` are made by `factory` with their item's frame.
  void registerClass(const std::string& identifier, CellFactory factory);
  template <class Cell>
  void registerClass(const std::string& identifier) {
    registerClass(identifier, [](const Rect& frame) -> std::shared_ptr<CollectionViewCell> {
      return std::make_shared<Cell>(frame);
    });
  }
  // A queued cell (after prepareForReuse) or a new one, with the item's
  // frame. Raises an exception for an identifier nobody registered.
  std::shared_ptr<CollectionViewCell> dequeueReusableCell(const std::string& identifier, const IndexPath& indexPath);

  // Asks for everything again, refills the items on screen, clears the selection.
  void reloadData();
  long numberOfSections() const;
  long numberOfItemsInSection(long section) const;

  // Content coordinates; empty for an item that does not exist.
  Rect frameForItemAtIndexPath(const IndexPath& indexPath) const;
  std::optional<IndexPath> indexPathForItemAtPoint(Point point) const;
  std::vector<IndexPath> indexPathsForVisibleItems() const;
  std::vector<std::shared_ptr<CollectionViewCell>> visibleCells() const;
  std::shared_ptr<CollectionViewCell> cellForItemAtIndexPath(const IndexPath& indexPath) const;

  std::optional<IndexPath> indexPathForSelectedItem() const { return selected_; }
  void selectItemAtIndexPath(const IndexPath& indexPath, bool animated);
  void deselectItemAtIndexPath(const IndexPath& indexPath, bool animated);

  void layoutSubviews() override;
  void didMoveToWindow() override;

 protected:
  void didScroll() override;
  void touchDownAt(Point point) override;
  void tapAt(Point point) override;
  void touchAbandoned() override;

 private:
  void measure();
  void tile();
  void unhighlight();

  std::shared_ptr<CollectionViewFlowLayout> layout_;
  std::weak_ptr<CollectionViewDataSource> dataSource_;
  std::weak_ptr<CollectionViewDelegateFlowLayout> delegate_;
  ReuseQueue<CollectionViewCell> cells_;
  CollectionViewFlowLayout::Result frames_;
  double measuredWidth_ = -1;
  bool loaded_ = false;
  std::optional<IndexPath> selected_;
  std::optional<IndexPath> highlighted_;
};

}  // namespace ui
