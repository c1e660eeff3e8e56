#include "ui/CollectionViewFlowLayout.h"

#include <algorithm>

namespace ui {

CollectionViewFlowLayout::Result CollectionViewFlowLayout::measure(double width, const std::vector<Section>& sections) {
  Result result;
  double y = 0;
  for (const Section& section : sections) {
    if (section.headerReferenceSize.height > 0) {
      result.headerFrames.push_back(Rect(0, y, width, section.headerReferenceSize.height));
      y += section.headerReferenceSize.height;
    } else {
      result.headerFrames.push_back(Rect(0, y, width, 0));
    }
    y += section.sectionInset.top;
    const EdgeInsets& inset = section.sectionInset;
    double left = inset.left, right = width - inset.right;
    std::vector<Rect> frames(section.itemSizes.size());
    size_t count = section.itemSizes.size();
    for (size_t first = 0; first < count;) {
      // Fill one line.
      size_t end = first + 1;
      double x = left + section.itemSizes[first].width;
      while (end < count && x + section.minimumInteritemSpacing + section.itemSizes[end].width <= right) {
        x += section.minimumInteritemSpacing + section.itemSizes[end].width;
        ++end;
      }
      double lineHeight = 0, itemsWidth = 0;
      for (size_t i = first; i < end; ++i) {
        lineHeight = std::max(lineHeight, section.itemSizes[i].height);
        itemsWidth += section.itemSizes[i].width;
      }
      size_t n = end - first;
      bool lastLine = end == count;
      double spacing = section.minimumInteritemSpacing;
      double itemX = left;
      if (!lastLine && n > 1) {
        spacing = (right - left - itemsWidth) / double(n - 1);
      } else if (!lastLine) {
        itemX = left + (right - left - itemsWidth) / 2;
      }
      for (size_t i = first; i < end; ++i) {
        Size s = section.itemSizes[i];
        frames[i] = Rect(itemX, y + (lineHeight - s.height) / 2, s.width, s.height);
        itemX += s.width + spacing;
      }
      y += lineHeight;
      if (!lastLine) y += section.minimumLineSpacing;
      first = end;
    }
    y += inset.bottom;
    result.itemFrames.push_back(std::move(frames));
    result.footerFrames.push_back(Rect(0, y, width, std::max(0.0, section.footerReferenceSize.height)));
    y += std::max(0.0, section.footerReferenceSize.height);
  }
  result.contentSize = Size{width, y};
  return result;
}

}  // namespace ui
