#pragma once

#include <vector>

#include "ui/Geometry.h"

namespace ui {

// Where a table's section headers, rows and footers lie on the vertical axis,
// measured once per reload from the heights the delegate gives. Content
// coordinates: 0 is the top of the table's content, below nothing.
class TableLayout {
 public:
  struct SectionHeights {
    double header = 0;
    std::vector<double> rows;
    double footer = 0;
  };
  struct Span {
    double y = 0;
    double height = 0;
    double maxY() const { return y + height; }
    bool operator==(const Span&) const = default;
  };

  TableLayout() = default;
  // `top` is the space taken above the first section (the table header view).
  TableLayout(double top, const std::vector<SectionHeights>& sections);

  double contentHeight() const { return contentHeight_; }
  long numberOfSections() const { return long(sections_.size()); }
  long numberOfRows(long section) const;
  bool contains(const IndexPath& path) const;

  Span header(long section) const;
  Span row(const IndexPath& path) const;
  // From the top of the header to the bottom of the footer.
  Span section(long section) const;

  // Rows that overlap [top, bottom), in order.
  std::vector<IndexPath> rowsBetween(double top, double bottom) const;
  // Sections whose header, rows or footer overlap [top, bottom), in order.
  std::vector<long> sectionsBetween(double top, double bottom) const;
  // The row under `y`, or {-1, -1} when `y` is on a header, footer or nothing.
  IndexPath rowAt(double y) const;
  // Where a plain table shows a section's header when the visible area starts
  // at `top`: at its place, or held at `top` while its section passes under
  // it, and pushed up by the end of the section.
  double pinnedHeaderY(long section, double top) const;

 private:
  struct Section {
    double top = 0;
    double header = 0;
    std::vector<double> rowStarts;  // one more than rows: the last is where the rows end
    double footer = 0;
    double end() const { return rowStarts.back() + footer; }
  };
  long firstSectionEndingAfter(double y) const;

  std::vector<Section> sections_;
  double contentHeight_ = 0;
};

}  // namespace ui
