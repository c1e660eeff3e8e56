#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/ReuseQueue.h"
#include "ui/ScrollView.h"
#include "ui/TableViewCell.h"
#include "ui/TableViewDataSource.h"
#include "ui/TableViewDelegate.h"

namespace ui {

class TableLayout;

enum class TableViewStyle { Plain = 0, Grouped = 1 };
enum class TableViewCellSeparatorStyle { None = 0, SingleLine = 1 };

// A vertical list of rows in sections, drawn from a data source.
//
// Only rows on screen have cells. A cell that scrolls out goes back to the
// reuse queue of its identifier; dequeueReusableCell hands it out again,
// sized to its new row, for the data source to fill. Plain tables keep the
// header of the section at the top of the visible area pinned there; grouped
// tables draw each section's rows as an inset rounded group on light grey.
//
// The data comes in on the first layout in a window and on every reloadData;
// the table keeps the counts and heights of the last load until the next.
class TableView : public ScrollView {
 public:
  using CellFactory = std::function<std::shared_ptr<TableViewCell>(TableViewCellStyle, const std::string&)>;

  explicit TableView(const Rect& frame = {}, TableViewStyle style = TableViewStyle::Plain);
  ~TableView() override;

  TableViewStyle style() const { return style_; }
  std::shared_ptr<TableViewDataSource> dataSource() const { return dataSource_.lock(); }
  void setDataSource(const std::shared_ptr<TableViewDataSource>& dataSource);
  std::shared_ptr<TableViewDelegate> delegate() const { return delegate_.lock(); }
  void setDelegate(const std::shared_ptr<TableViewDelegate>& delegate);

  // Cells for `identifier` are made by `factory` (style Default) when the
  // queue is empty.
  void registerClass(const std::string& identifier, CellFactory factory);
  template <class Cell>
  void registerClass(const std::string& identifier) {
    registerClass(identifier, [](TableViewCellStyle style, const std::string& id) -> std::shared_ptr<TableViewCell> {
      return std::make_shared<Cell>(style, id);
    });
  }
  // A queued cell (after prepareForReuse) or a new one, already sized to the
  // row. Raises an exception for an identifier nobody registered.
  std::shared_ptr<TableViewCell> dequeueReusableCell(const std::string& identifier, const IndexPath& indexPath);

  // Asks the data source and delegate again for everything, refills the rows
  // on screen and clears the selection.
  void reloadData();
  long numberOfSections() const;
  long numberOfRowsInSection(long section) const;

  double rowHeight() const { return rowHeight_; }
  void setRowHeight(double height);
  // Above the first section, as wide as the table, with its own height.
  std::shared_ptr<View> tableHeaderView() const { return tableHeaderView_; }
  void setTableHeaderView(std::shared_ptr<View> view);
  TableViewCellSeparatorStyle separatorStyle() const { return separatorStyle_; }
  void setSeparatorStyle(TableViewCellSeparatorStyle style);
  Color separatorColor() const { return separatorColor_; }
  void setSeparatorColor(const Color& color);

  std::optional<IndexPath> indexPathForSelectedRow() const { return selected_; }
  // Selects without telling the delegate, as the phone's toolkit does.
  void selectRowAtIndexPath(const IndexPath& indexPath, bool animated);
  void deselectRowAtIndexPath(const IndexPath& indexPath, bool animated);

  // Content coordinates.
  Rect rectForRowAtIndexPath(const IndexPath& indexPath) const;
  // Where the header shows now (pinned, in plain tables).
  Rect rectForHeaderInSection(long section) const;
  std::optional<IndexPath> indexPathForRowAtPoint(Point point) const;
  void scrollToRowAtIndexPath(const IndexPath& indexPath, bool animated);

  std::vector<IndexPath> indexPathsForVisibleRows() const;
  std::vector<std::shared_ptr<TableViewCell>> visibleCells() const;
  // The cell showing the row, or null when the row is not on screen.
  std::shared_ptr<TableViewCell> cellForRowAtIndexPath(const IndexPath& indexPath) const;
  // The header view showing for the section, or null.
  std::shared_ptr<View> headerViewForSection(long section) const;

  void layoutSubviews() override;
  void didMoveToWindow() override;
  void draw(GraphicsContext& context, const Rect& dirty) override;

 protected:
  void didScroll() override;
  void touchDownAt(Point point) override;
  void tapAt(Point point) override;
  void touchAbandoned() override;

 private:
  void measure();
  // Puts cells and headers where the visible area needs them; recycles the rest.
  void tile();
  void showRow(const IndexPath& path);
  std::shared_ptr<View> makeHeaderView(long section);
  void configureSeparator(TableViewCell& cell, const IndexPath& path) const;
  void unhighlight();
  double groupInset() const;

  TableViewStyle style_;
  std::weak_ptr<TableViewDataSource> dataSource_;
  std::weak_ptr<TableViewDelegate> delegate_;
  ReuseQueue<TableViewCell> cells_;
  std::map<long, std::shared_ptr<View>> headerViews_;
  std::unique_ptr<TableLayout> layout_;
  bool loaded_ = false;
  double rowHeight_ = 44;
  std::shared_ptr<View> tableHeaderView_;
  TableViewCellSeparatorStyle separatorStyle_ = TableViewCellSeparatorStyle::SingleLine;
  Color separatorColor_ = Color::rgba(0.78, 0.78, 0.8);
  std::optional<IndexPath> selected_;
  std::optional<IndexPath> highlighted_;
};

}  // namespace ui
