#pragma once

#include <memory>
#include <string>

#include "ui/Geometry.h"

namespace ui {

class TableView;
class TableViewCell;

// What a table shows. The table holds its data source weakly: the screen that
// owns the table is usually its data source.
class TableViewDataSource {
 public:
  virtual ~TableViewDataSource() = default;

  virtual long numberOfSectionsInTableView(TableView&) { return 1; }
  virtual long numberOfRowsInSection(TableView& tableView, long section) = 0;
  // A cell for a row that is about to show; usually one taken with
  // TableView::dequeueReusableCell and filled. Returning null is a
  // programming error the table raises as an exception.
  virtual std::shared_ptr<TableViewCell> cellForRowAtIndexPath(TableView& tableView, const IndexPath& indexPath) = 0;
  // Shown as the section's header when the delegate gives no header view.
  virtual std::string titleForHeaderInSection(TableView&, long /*section*/) { return {}; }
};

}  // namespace ui
