#pragma once

#include <memory>

#include "ui/Geometry.h"

namespace ui {

class CollectionView;
class CollectionViewCell;

// What a collection view shows; held weakly by the view. An item's number is
// the `row` of its IndexPath.
class CollectionViewDataSource {
 public:
  virtual ~CollectionViewDataSource() = default;

  virtual long numberOfSectionsInCollectionView(CollectionView&) { return 1; }
  virtual long numberOfItemsInSection(CollectionView& collectionView, long section) = 0;
  // Usually a cell taken with CollectionView::dequeueReusableCell and filled.
  // Returning null is a programming error the view raises as an exception.
  virtual std::shared_ptr<CollectionViewCell> cellForItemAtIndexPath(CollectionView& collectionView,
                                                                     const IndexPath& indexPath) = 0;
};

}  // namespace ui
