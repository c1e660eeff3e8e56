#pragma once

#include "ui/CollectionViewFlowLayout.h"
#include "ui/Geometry.h"

namespace ui {

class CollectionView;

// Taps, and the sizes and spacings of a flow layout per section or item.
// Held weakly by the view. Every operation defaults to the layout's own value.
class CollectionViewDelegateFlowLayout {
 public:
  virtual ~CollectionViewDelegateFlowLayout() = default;

  // False: a touch on the item neither highlights nor selects it.
  virtual bool shouldHighlightItemAtIndexPath(CollectionView&, const IndexPath&) { return true; }
  // After a tap has selected the item (once per tap).
  virtual void didSelectItemAtIndexPath(CollectionView&, const IndexPath&) {}

  virtual Size sizeForItemAtIndexPath(CollectionView&, CollectionViewFlowLayout& layout, const IndexPath&) {
    return layout.itemSize();
  }
  virtual double minimumLineSpacingForSectionAtIndex(CollectionView&, CollectionViewFlowLayout& layout, long) {
    return layout.minimumLineSpacing();
  }
  virtual double minimumInteritemSpacingForSectionAtIndex(CollectionView&, CollectionViewFlowLayout& layout, long) {
    return layout.minimumInteritemSpacing();
  }
  virtual EdgeInsets insetForSectionAtIndex(CollectionView&, CollectionViewFlowLayout& layout, long) {
    return layout.sectionInset();
  }
  virtual Size referenceSizeForHeaderInSection(CollectionView&, CollectionViewFlowLayout& layout, long) {
    return layout.headerReferenceSize();
  }
  virtual Size referenceSizeForFooterInSection(CollectionView&, CollectionViewFlowLayout& layout, long) {
    return layout.footerReferenceSize();
  }
};

}  // namespace ui
