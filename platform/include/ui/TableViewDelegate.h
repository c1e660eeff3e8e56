#pragma once

#include <memory>

#include "ui/Geometry.h"

namespace ui {

class TableView;
class View;

// A height that lets the table decide: the table's row height for rows; for
// headers 22 points in plain tables and 38 in grouped ones when the section
// has a title, else 0 (plain) or 18 (grouped).
constexpr double TableViewAutomaticDimension = -1;

// How a table looks and what a tap does. Held weakly by the table. Every
// operation has the toolkit's default.
class TableViewDelegate {
 public:
  virtual ~TableViewDelegate() = default;

  virtual double heightForRowAtIndexPath(TableView&, const IndexPath&) { return TableViewAutomaticDimension; }
  virtual double heightForHeaderInSection(TableView&, long /*section*/) { return TableViewAutomaticDimension; }
  // A view for the section's header, sized by the table to the header's
  // height and the table's width. Null: the data source's title, if any.
  virtual std::shared_ptr<View> viewForHeaderInSection(TableView&, long /*section*/) { return nullptr; }
  // False: a touch on the row neither highlights nor selects it.
  virtual bool shouldHighlightRowAtIndexPath(TableView&, const IndexPath&) { return true; }
  // After a tap has selected the row (once per tap).
  virtual void didSelectRowAtIndexPath(TableView&, const IndexPath&) {}
};

}  // namespace ui
