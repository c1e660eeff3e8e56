#include "TableLayout.h"

#include <gtest/gtest.h>

namespace ui {
namespace {

// Two sections under a 50-point table header: a 20-point header, rows of 10,
// 30 and 0 points and a 5-point footer; then a header-less section of two
// 40-point rows.
TableLayout sample() { return TableLayout(50, {{20, {10, 30, 0}, 5}, {0, {40, 40}, 0}}); }

TEST(TableLayoutMeasure, PlacesHeadersRowsAndFootersInOrder) {
  TableLayout layout = sample();
  using Span = TableLayout::Span;
  EXPECT_EQ(layout.header(0), (Span{50, 20}));
  EXPECT_EQ(layout.row({0, 0}), (Span{70, 10}));
  EXPECT_EQ(layout.row({0, 1}), (Span{80, 30}));
  EXPECT_EQ(layout.row({0, 2}), (Span{110, 0}));
  EXPECT_EQ(layout.section(0), (Span{50, 65}));
  EXPECT_EQ(layout.header(1), (Span{115, 0}));
  EXPECT_EQ(layout.row({1, 1}), (Span{155, 40}));
  EXPECT_EQ(layout.contentHeight(), 195);
  EXPECT_EQ(layout.row({0, 3}), (Span{}));  // out of range reads as nothing
  EXPECT_EQ(layout.row({2, 0}), (Span{}));
}

TEST(TableLayoutQueries, FindTheRowsAndSectionsInAnArea) {
  TableLayout layout = sample();
  struct Case {
    double top, bottom;
    std::vector<IndexPath> rows;
    std::vector<long> sections;
  };
  std::vector<Case> cases = {
      {0, 50, {}, {}},          // only the table header
      {0, 71, {{0, 0}}, {0}},   // one point into the first row
      {70, 80, {{0, 0}}, {0}},  // far edges are open
      {79.5, 80.5, {{0, 0}, {0, 1}}, {0}},
      {109, 116, {{0, 1}, {1, 0}}, {0, 1}},  // the empty row never shows
      {111, 114, {}, {0}},                   // the footer alone
      {150, 1000, {{1, 0}, {1, 1}}, {1}},
      {195, 300, {}, {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(layout.rowsBetween(c.top, c.bottom), c.rows) << c.top << "..." << c.bottom;
    EXPECT_EQ(layout.sectionsBetween(c.top, c.bottom), c.sections) << c.top << "..." << c.bottom;
  }
  EXPECT_EQ(layout.rowAt(60), (IndexPath{-1, -1}));   // a header
  EXPECT_EQ(layout.rowAt(112), (IndexPath{-1, -1}));  // a footer
  EXPECT_EQ(layout.rowAt(80), (IndexPath{0, 1}));
  EXPECT_EQ(layout.rowAt(194.9), (IndexPath{1, 1}));
}

TEST(TableLayoutQueries, HeadersPinToTheTopUntilTheirSectionEnds) {
  // Three sections of a 26-point header and 10 rows of 44 (466 points each).
  std::vector<TableLayout::SectionHeights> sections(3, {26, std::vector<double>(10, 44), 0});
  TableLayout layout(0, sections);
  struct Case {
    long section;
    double top;
    double expected;
  };
  std::vector<Case> cases = {
      {0, 0, 0},                                    // at its place
      {0, 200, 200},                                // held at the top while its rows pass
      {0, 440, 440},                                // the last moment it fits above the next header
      {0, 450, 440},                                // pushed up by the next section
      {1, 450, 466},                                // the next header keeps its place
      {1, 466, 466}, {1, 700, 700}, {2, 100, 932},  // a later section's header is not pulled up
  };
  for (const auto& c : cases) {
    EXPECT_EQ(layout.pinnedHeaderY(c.section, c.top), c.expected) << c.section << " at " << c.top;
  }
}

}  // namespace
}  // namespace ui
