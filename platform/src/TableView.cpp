#include "ui/TableView.h"

#include <algorithm>

#include "TableLayout.h"
#include "ui/Exception.h"
#include "ui/GraphicsContext.h"
#include "ui/Label.h"

namespace ui {
namespace {

constexpr double plainHeaderHeight = 22;
constexpr double groupedTitledHeaderHeight = 38;
constexpr double groupedHeaderHeight = 18;
constexpr double groupedFooterHeight = 8;
constexpr double groupedInset = 10;
constexpr double groupCornerRadius = 8;
const Color groupedBackground = Color::rgba(0.937, 0.937, 0.957);

std::string describe(const IndexPath& path) {
  return "section " + std::to_string(path.section) + " row " + std::to_string(path.row);
}

}  // namespace

TableView::TableView(const Rect& frame, TableViewStyle style)
    : ScrollView(frame), style_(style), layout_(std::make_unique<TableLayout>()) {
  setBackgroundColor(style == TableViewStyle::Grouped ? groupedBackground : Color::white(1));
  setShowsHorizontalScrollIndicator(false);
}

TableView::~TableView() = default;

void TableView::setDataSource(const std::shared_ptr<TableViewDataSource>& dataSource) {
  dataSource_ = dataSource;
  loaded_ = false;
  if (window()) reloadData();
}

void TableView::setDelegate(const std::shared_ptr<TableViewDelegate>& delegate) {
  delegate_ = delegate;
  loaded_ = false;
  if (window()) reloadData();
}

void TableView::registerClass(const std::string& identifier, CellFactory factory) {
  cells_.registerFactory(identifier, [factory = std::move(factory)](const std::string& id, const Rect&) {
    return factory(TableViewCellStyle::Default, id);
  });
}

std::shared_ptr<TableViewCell> TableView::dequeueReusableCell(const std::string& identifier,
                                                              const IndexPath& indexPath) {
  // Cells read their own width while the data source fills them.
  Rect row = rectForRowAtIndexPath(indexPath);
  if (row.isEmpty()) row = Rect(0, 0, bounds().width(), rowHeight_);
  return cells_.dequeue(identifier, row, "unable to dequeue a cell");
}

long TableView::numberOfSections() const { return layout_->numberOfSections(); }
long TableView::numberOfRowsInSection(long section) const { return layout_->numberOfRows(section); }

void TableView::setRowHeight(double height) {
  rowHeight_ = height;
  if (loaded_) reloadData();
}

void TableView::setTableHeaderView(std::shared_ptr<View> view) {
  if (tableHeaderView_ && tableHeaderView_->superview().get() == this) tableHeaderView_->removeFromSuperview();
  tableHeaderView_ = std::move(view);
  if (tableHeaderView_) {
    Rect f = tableHeaderView_->frame();
    tableHeaderView_->setFrame(Rect(0, 0, bounds().width(), f.height()));
    insertSubview(tableHeaderView_, 0);
  }
  if (loaded_) reloadData();
}

void TableView::setSeparatorStyle(TableViewCellSeparatorStyle style) {
  separatorStyle_ = style;
  for (auto& [path, cell] : cells_.visible()) configureSeparator(*cell, path);
}

void TableView::setSeparatorColor(const Color& color) {
  separatorColor_ = color;
  for (auto& [path, cell] : cells_.visible()) configureSeparator(*cell, path);
}

void TableView::measure() {
  auto dataSource = dataSource_.lock();
  auto delegate = delegate_.lock();
  std::vector<TableLayout::SectionHeights> sections;
  long count = dataSource ? std::max(0L, dataSource->numberOfSectionsInTableView(*this)) : 0;
  sections.resize(size_t(count));
  bool grouped = style_ == TableViewStyle::Grouped;
  for (long s = 0; s < count; ++s) {
    auto& heights = sections[size_t(s)];
    double header = delegate ? delegate->heightForHeaderInSection(*this, s) : TableViewAutomaticDimension;
    if (header < 0) {
      bool titled = !dataSource->titleForHeaderInSection(*this, s).empty();
      header = grouped ? (titled ? groupedTitledHeaderHeight : groupedHeaderHeight) : (titled ? plainHeaderHeight : 0);
    }
    heights.header = header;
    long rows = std::max(0L, dataSource->numberOfRowsInSection(*this, s));
    heights.rows.resize(size_t(rows), rowHeight_);
    if (delegate) {
      for (long r = 0; r < rows; ++r) {
        double h = delegate->heightForRowAtIndexPath(*this, IndexPath{s, r});
        if (h >= 0) heights.rows[size_t(r)] = h;
      }
    }
    heights.footer = grouped ? groupedFooterHeight : 0;
  }
  double top = tableHeaderView_ ? tableHeaderView_->frame().height() : 0;
  layout_ = std::make_unique<TableLayout>(top, sections);
}

void TableView::reloadData() {
  unhighlight();
  selected_.reset();
  cells_.recycleAll();
  for (auto& [section, header] : headerViews_) header->removeFromSuperview();
  headerViews_.clear();
  measure();
  loaded_ = true;
  setContentSize(Size{bounds().width(), layout_->contentHeight()});
  tile();
  setNeedsDisplay();
}

double TableView::groupInset() const { return style_ == TableViewStyle::Grouped ? groupedInset : 0; }

Rect TableView::rectForRowAtIndexPath(const IndexPath& indexPath) const {
  if (!layout_->contains(indexPath)) return Rect();
  auto span = layout_->row(indexPath);
  double inset = groupInset();
  return Rect(inset, span.y, bounds().width() - 2 * inset, span.height);
}

Rect TableView::rectForHeaderInSection(long section) const {
  auto span = layout_->header(section);
  double y =
      style_ == TableViewStyle::Plain ? layout_->pinnedHeaderY(section, bounds().y() + contentInset().top) : span.y;
  return Rect(0, y, bounds().width(), span.height);
}

std::optional<IndexPath> TableView::indexPathForRowAtPoint(Point point) const {
  IndexPath path = layout_->rowAt(point.y);
  if (path.section < 0) return std::nullopt;
  return path;
}

void TableView::scrollToRowAtIndexPath(const IndexPath& indexPath, bool animated) {
  if (layout_->contains(indexPath)) scrollRectToVisible(rectForRowAtIndexPath(indexPath), animated);
}

std::vector<IndexPath> TableView::indexPathsForVisibleRows() const { return cells_.visiblePaths(); }

std::vector<std::shared_ptr<TableViewCell>> TableView::visibleCells() const { return cells_.visibleCells(); }

std::shared_ptr<TableViewCell> TableView::cellForRowAtIndexPath(const IndexPath& indexPath) const {
  return cells_.visibleCell(indexPath);
}

std::shared_ptr<View> TableView::headerViewForSection(long section) const {
  auto it = headerViews_.find(section);
  return it == headerViews_.end() ? nullptr : it->second;
}

void TableView::configureSeparator(TableViewCell& cell, const IndexPath& path) const {
  bool shown = separatorStyle_ == TableViewCellSeparatorStyle::SingleLine;
  // A group's border closes its last row.
  if (style_ == TableViewStyle::Grouped && path.row == layout_->numberOfRows(path.section) - 1) shown = false;
  cell.setSeparator(shown, separatorColor_, style_ == TableViewStyle::Grouped ? 0 : 15);
}

void TableView::showRow(const IndexPath& path) {
  auto dataSource = dataSource_.lock();
  if (!dataSource) return;
  auto cell = dataSource->cellForRowAtIndexPath(*this, path);
  if (!cell) raise("NSInternalInconsistencyException", "the table's data source gave no cell for " + describe(path));
  cell->setFrame(rectForRowAtIndexPath(path));
  configureSeparator(*cell, path);
  bool selected = selected_ == path;
  if (cell->isSelected() != selected) cell->setSelected(selected, false);
  // The group draws the white behind grouped rows, with its rounded corners.
  if (style_ == TableViewStyle::Grouped && cell->backgroundColor() == Color::white(1)) {
    cell->setBackgroundColor(Color::clear());
  }
  cell->layoutSubviews();
  insertSubview(cell, tableHeaderView_ ? 1 : 0);  // below the section headers
  cells_.show(path, cell);
}

std::shared_ptr<View> TableView::makeHeaderView(long section) {
  auto delegate = delegate_.lock();
  if (delegate) {
    if (auto view = delegate->viewForHeaderInSection(*this, section)) return view;
  }
  auto dataSource = dataSource_.lock();
  std::string title = dataSource ? dataSource->titleForHeaderInSection(*this, section) : std::string();
  if (title.empty()) return nullptr;
  auto header = std::make_shared<View>();
  auto label = std::make_shared<Label>();
  label->setText(title);
  double height = layout_->header(section).height;
  if (style_ == TableViewStyle::Grouped) {
    label->setFont(Font::system(17));
    label->setTextColor(Color::rgba(0.3, 0.34, 0.42));
    label->setShadowColor(Color::white(1));
    label->setShadowOffset(Size{0, 1});
    label->setFrame(Rect(groupedInset + 10, height - 30, bounds().width() - 2 * groupedInset - 20, 24));
  } else {
    header->setBackgroundColor(Color::rgba(0.97, 0.97, 0.97, 0.95));
    label->setFont(Font::system(15));
    label->setFrame(Rect(15, 0, bounds().width() - 30, height));
  }
  header->addSubview(label);
  return header;
}

void TableView::tile() {
  if (!loaded_) return;
  Rect b = bounds();
  double top = b.y(), bottom = b.maxY();
  std::vector<IndexPath> needed = b.isEmpty() ? std::vector<IndexPath>{} : layout_->rowsBetween(top, bottom);

  cells_.recycleAllExcept(needed, [this](const IndexPath& path) {
    if (highlighted_ == path) unhighlight();
  });
  for (const IndexPath& path : needed) {
    if (!cells_.isVisible(path)) showRow(path);
  }

  std::vector<long> sections = b.isEmpty() ? std::vector<long>{} : layout_->sectionsBetween(top, bottom);
  for (auto it = headerViews_.begin(); it != headerViews_.end();) {
    if (std::binary_search(sections.begin(), sections.end(), it->first)) {
      ++it;
    } else {
      it->second->removeFromSuperview();
      it = headerViews_.erase(it);
    }
  }
  for (long section : sections) {
    Rect frame = rectForHeaderInSection(section);
    if (frame.isEmpty() || frame.maxY() <= top || frame.y() >= bottom) continue;
    auto it = headerViews_.find(section);
    if (it == headerViews_.end()) {
      auto header = makeHeaderView(section);
      if (!header) continue;
      it = headerViews_.emplace(section, header).first;
      addSubview(header);
    }
    it->second->setFrame(frame);
  }
}

void TableView::layoutSubviews() {
  if (!loaded_) {
    if (window()) reloadData();
    return;
  }
  Rect b = bounds();
  if (tableHeaderView_) {
    tableHeaderView_->setFrame(Rect(0, 0, b.width(), tableHeaderView_->frame().height()));
  }
  setContentSize(Size{b.width(), layout_->contentHeight()});
  for (auto& [path, cell] : cells_.visible()) cell->setFrame(rectForRowAtIndexPath(path));
  tile();
}

void TableView::didMoveToWindow() {
  if (window() && !loaded_) reloadData();
}

void TableView::didScroll() { tile(); }

void TableView::draw(GraphicsContext& context, const Rect&) {
  if (style_ != TableViewStyle::Grouped || !loaded_) return;
  Rect b = bounds();
  for (long s : layout_->sectionsBetween(b.y(), b.maxY())) {
    long rows = layout_->numberOfRows(s);
    if (rows == 0) continue;
    Rect first = rectForRowAtIndexPath(IndexPath{s, 0});
    Rect last = rectForRowAtIndexPath(IndexPath{s, rows - 1});
    Rect group(first.x(), first.y(), first.width(), last.maxY() - first.y());
    context.fillRoundedRect(group, groupCornerRadius, Color::white(1));
    context.strokeRoundedRect(group, groupCornerRadius, Color::white(0.67));
  }
}

void TableView::unhighlight() {
  if (!highlighted_) return;
  if (auto cell = cellForRowAtIndexPath(*highlighted_)) cell->setHighlighted(false, false);
  highlighted_.reset();
}

void TableView::touchDownAt(Point point) {
  unhighlight();
  for (const auto& [section, header] : headerViews_) {
    if (header->frame().contains(point)) return;
  }
  auto path = indexPathForRowAtPoint(point);
  if (!path) return;
  auto delegate = delegate_.lock();
  if (delegate && !delegate->shouldHighlightRowAtIndexPath(*this, *path)) return;
  highlighted_ = path;
  if (auto cell = cellForRowAtIndexPath(*path)) cell->setHighlighted(true, false);
}

void TableView::touchAbandoned() { unhighlight(); }

void TableView::tapAt(Point point) {
  auto path = highlighted_;
  unhighlight();
  if (!path || indexPathForRowAtPoint(point) != path) return;
  // The delegate may drop the screen that owns this table.
  auto keep = weak_from_this().lock();
  selectRowAtIndexPath(*path, false);
  if (auto delegate = delegate_.lock()) delegate->didSelectRowAtIndexPath(*this, *path);
}

void TableView::selectRowAtIndexPath(const IndexPath& indexPath, bool animated) {
  if (!layout_->contains(indexPath)) return;
  if (selected_ && *selected_ != indexPath) deselectRowAtIndexPath(*selected_, animated);
  selected_ = indexPath;
  if (auto cell = cellForRowAtIndexPath(indexPath)) cell->setSelected(true, animated);
}

void TableView::deselectRowAtIndexPath(const IndexPath& indexPath, bool animated) {
  if (selected_ == indexPath) selected_.reset();
  if (auto cell = cellForRowAtIndexPath(indexPath)) cell->setSelected(false, animated);
}

}  // namespace ui
