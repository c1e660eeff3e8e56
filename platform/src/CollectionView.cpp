#include "ui/CollectionView.h"

#include <algorithm>

#include "ui/Exception.h"

namespace ui {

CollectionView::CollectionView(const Rect& frame, std::shared_ptr<CollectionViewFlowLayout> layout)
    : ScrollView(frame), layout_(layout ? std::move(layout) : std::make_shared<CollectionViewFlowLayout>()) {
  setBackgroundColor(Color::black());
  setShowsHorizontalScrollIndicator(false);
}

CollectionView::~CollectionView() = default;

void CollectionView::setDataSource(const std::shared_ptr<CollectionViewDataSource>& dataSource) {
  dataSource_ = dataSource;
  loaded_ = false;
  if (window()) reloadData();
}

void CollectionView::setDelegate(const std::shared_ptr<CollectionViewDelegateFlowLayout>& delegate) {
  delegate_ = delegate;
  loaded_ = false;
  if (window()) reloadData();
}

void CollectionView::registerClass(const std::string& identifier, CellFactory factory) {
  cells_.registerFactory(
      identifier, [factory = std::move(factory)](const std::string&, const Rect& frame) { return factory(frame); });
}

std::shared_ptr<CollectionViewCell> CollectionView::dequeueReusableCell(const std::string& identifier,
                                                                        const IndexPath& indexPath) {
  Rect frame = frameForItemAtIndexPath(indexPath);
  if (frame.isEmpty()) frame = Rect(Point{}, layout_->itemSize());
  return cells_.dequeue(identifier, frame, "could not dequeue a view of kind cell");
}

long CollectionView::numberOfSections() const { return long(frames_.itemFrames.size()); }

long CollectionView::numberOfItemsInSection(long section) const {
  if (section < 0 || section >= numberOfSections()) return 0;
  return long(frames_.itemFrames[size_t(section)].size());
}

Rect CollectionView::frameForItemAtIndexPath(const IndexPath& path) const {
  if (path.row < 0 || path.row >= numberOfItemsInSection(path.section)) return Rect();
  return frames_.itemFrames[size_t(path.section)][size_t(path.row)];
}

std::optional<IndexPath> CollectionView::indexPathForItemAtPoint(Point point) const {
  for (long s = 0; s < numberOfSections(); ++s) {
    const auto& frames = frames_.itemFrames[size_t(s)];
    for (size_t i = 0; i < frames.size(); ++i) {
      if (frames[i].contains(point)) return IndexPath{s, long(i)};
    }
  }
  return std::nullopt;
}

std::vector<IndexPath> CollectionView::indexPathsForVisibleItems() const { return cells_.visiblePaths(); }

std::vector<std::shared_ptr<CollectionViewCell>> CollectionView::visibleCells() const { return cells_.visibleCells(); }

std::shared_ptr<CollectionViewCell> CollectionView::cellForItemAtIndexPath(const IndexPath& path) const {
  return cells_.visibleCell(path);
}

void CollectionView::measure() {
  auto dataSource = dataSource_.lock();
  auto delegate = delegate_.lock();
  CollectionViewFlowLayout& layout = *layout_;
  std::vector<CollectionViewFlowLayout::Section> sections;
  long count = dataSource ? std::max(0L, dataSource->numberOfSectionsInCollectionView(*this)) : 0;
  for (long s = 0; s < count; ++s) {
    CollectionViewFlowLayout::Section section;
    long items = std::max(0L, dataSource->numberOfItemsInSection(*this, s));
    section.itemSizes.assign(size_t(items), layout.itemSize());
    section.minimumLineSpacing = layout.minimumLineSpacing();
    section.minimumInteritemSpacing = layout.minimumInteritemSpacing();
    section.sectionInset = layout.sectionInset();
    section.headerReferenceSize = layout.headerReferenceSize();
    section.footerReferenceSize = layout.footerReferenceSize();
    if (delegate) {
      for (long i = 0; i < items; ++i) {
        section.itemSizes[size_t(i)] = delegate->sizeForItemAtIndexPath(*this, layout, IndexPath{s, i});
      }
      section.minimumLineSpacing = delegate->minimumLineSpacingForSectionAtIndex(*this, layout, s);
      section.minimumInteritemSpacing = delegate->minimumInteritemSpacingForSectionAtIndex(*this, layout, s);
      section.sectionInset = delegate->insetForSectionAtIndex(*this, layout, s);
      section.headerReferenceSize = delegate->referenceSizeForHeaderInSection(*this, layout, s);
      section.footerReferenceSize = delegate->referenceSizeForFooterInSection(*this, layout, s);
    }
    sections.push_back(std::move(section));
  }
  measuredWidth_ = bounds().width();
  frames_ = CollectionViewFlowLayout::measure(measuredWidth_, sections);
}

void CollectionView::reloadData() {
  unhighlight();
  selected_.reset();
  cells_.recycleAll();
  measure();
  loaded_ = true;
  setContentSize(frames_.contentSize);
  tile();
}

void CollectionView::tile() {
  if (!loaded_) return;
  Rect b = bounds();
  // Grids here hold a few hundred items at most: a scan is cheap enough.
  std::vector<IndexPath> needed;
  for (long s = 0; s < numberOfSections(); ++s) {
    const auto& frames = frames_.itemFrames[size_t(s)];
    for (size_t i = 0; i < frames.size(); ++i) {
      const Rect& f = frames[i];
      if (f.maxY() > b.y() && f.y() < b.maxY() && f.maxX() > b.x() && f.x() < b.maxX()) {
        needed.push_back(IndexPath{s, long(i)});
      }
    }
  }
  cells_.recycleAllExcept(needed, [this](const IndexPath& path) {
    if (highlighted_ == path) unhighlight();
  });
  for (auto& [path, cell] : cells_.visible()) cell->setFrame(frameForItemAtIndexPath(path));
  auto dataSource = dataSource_.lock();
  if (!dataSource) return;
  for (const IndexPath& path : needed) {
    if (cells_.isVisible(path)) continue;
    auto cell = dataSource->cellForItemAtIndexPath(*this, path);
    if (!cell) {
      raise("NSInternalInconsistencyException", "the collection view's data source gave no cell for section " +
                                                    std::to_string(path.section) + " item " + std::to_string(path.row));
    }
    cell->setFrame(frameForItemAtIndexPath(path));
    if (cell->isSelected() != (selected_ == path)) cell->setSelected(selected_ == path);
    insertSubview(cell, 0);
    cells_.show(path, cell);
  }
}

void CollectionView::layoutSubviews() {
  if (!loaded_) {
    if (window()) reloadData();
    return;
  }
  if (bounds().width() != measuredWidth_) {
    measure();
    setContentSize(frames_.contentSize);
  }
  tile();
}

void CollectionView::didMoveToWindow() {
  if (window() && !loaded_) reloadData();
}

void CollectionView::didScroll() { tile(); }

void CollectionView::unhighlight() {
  if (!highlighted_) return;
  if (auto cell = cellForItemAtIndexPath(*highlighted_)) cell->setHighlighted(false);
  highlighted_.reset();
}

void CollectionView::touchDownAt(Point point) {
  unhighlight();
  auto path = indexPathForItemAtPoint(point);
  if (!path) return;
  auto delegate = delegate_.lock();
  if (delegate && !delegate->shouldHighlightItemAtIndexPath(*this, *path)) return;
  highlighted_ = path;
  if (auto cell = cellForItemAtIndexPath(*path)) cell->setHighlighted(true);
}

void CollectionView::touchAbandoned() { unhighlight(); }

void CollectionView::tapAt(Point point) {
  auto path = highlighted_;
  unhighlight();
  if (!path || indexPathForItemAtPoint(point) != path) return;
  auto keep = weak_from_this().lock();  // the delegate may drop the owning screen
  selectItemAtIndexPath(*path, false);
  if (auto delegate = delegate_.lock()) delegate->didSelectItemAtIndexPath(*this, *path);
}

void CollectionView::selectItemAtIndexPath(const IndexPath& path, bool animated) {
  if (frameForItemAtIndexPath(path).isEmpty()) return;
  if (selected_ && *selected_ != path) deselectItemAtIndexPath(*selected_, animated);
  selected_ = path;
  if (auto cell = cellForItemAtIndexPath(path)) cell->setSelected(true);
}

void CollectionView::deselectItemAtIndexPath(const IndexPath& path, bool) {
  if (selected_ == path) selected_.reset();
  if (auto cell = cellForItemAtIndexPath(path)) cell->setSelected(false);
}

}  // namespace ui
