#include "TableLayout.h"

#include <algorithm>

namespace ui {

TableLayout::TableLayout(double top, const std::vector<SectionHeights>& sections) {
  double y = top;
  sections_.reserve(sections.size());
  for (const auto& heights : sections) {
    Section s;
    s.top = y;
    s.header = std::max(0.0, heights.header);
    s.rowStarts.reserve(heights.rows.size() + 1);
    y += s.header;
    s.rowStarts.push_back(y);
    for (double h : heights.rows) {
      y += std::max(0.0, h);
      s.rowStarts.push_back(y);
    }
    s.footer = std::max(0.0, heights.footer);
    y += s.footer;
    sections_.push_back(std::move(s));
  }
  contentHeight_ = y;
}

long TableLayout::numberOfRows(long section) const {
  if (section < 0 || section >= numberOfSections()) return 0;
  return long(sections_[size_t(section)].rowStarts.size()) - 1;
}

bool TableLayout::contains(const IndexPath& path) const {
  return path.row >= 0 && path.row < numberOfRows(path.section);
}

TableLayout::Span TableLayout::header(long section) const {
  if (section < 0 || section >= numberOfSections()) return {};
  const Section& s = sections_[size_t(section)];
  return {s.top, s.header};
}

TableLayout::Span TableLayout::row(const IndexPath& path) const {
  if (!contains(path)) return {};
  const auto& starts = sections_[size_t(path.section)].rowStarts;
  double y = starts[size_t(path.row)];
  return {y, starts[size_t(path.row) + 1] - y};
}

TableLayout::Span TableLayout::section(long section) const {
  if (section < 0 || section >= numberOfSections()) return {};
  const Section& s = sections_[size_t(section)];
  return {s.top, s.end() - s.top};
}

long TableLayout::firstSectionEndingAfter(double y) const {
  auto it = std::upper_bound(sections_.begin(), sections_.end(), y,
                             [](double value, const Section& s) { return value < s.end(); });
  return long(it - sections_.begin());
}

std::vector<IndexPath> TableLayout::rowsBetween(double top, double bottom) const {
  std::vector<IndexPath> rows;
  for (long s = firstSectionEndingAfter(top); s < numberOfSections(); ++s) {
    const auto& starts = sections_[size_t(s)].rowStarts;
    if (starts.front() >= bottom) break;
    // The first row whose end lies below `top`.
    auto first = std::upper_bound(starts.begin() + 1, starts.end(), top);
    for (auto it = first; it != starts.end() && *(it - 1) < bottom; ++it) {
      if (*it > *(it - 1)) rows.push_back(IndexPath{s, long(it - starts.begin()) - 1});
    }
  }
  return rows;
}

std::vector<long> TableLayout::sectionsBetween(double top, double bottom) const {
  std::vector<long> out;
  for (long s = firstSectionEndingAfter(top); s < numberOfSections() && sections_[size_t(s)].top < bottom; ++s) {
    out.push_back(s);
  }
  return out;
}

IndexPath TableLayout::rowAt(double y) const {
  for (const IndexPath& path : rowsBetween(y, y + 1e-9)) {
    Span r = row(path);
    if (y >= r.y && y < r.maxY()) return path;
  }
  return IndexPath{-1, -1};
}

double TableLayout::pinnedHeaderY(long section, double top) const {
  if (section < 0 || section >= numberOfSections()) return 0;
  const Section& s = sections_[size_t(section)];
  double y = std::max(s.top, top);
  return std::min(y, s.end() - s.header);
}

}  // namespace ui
