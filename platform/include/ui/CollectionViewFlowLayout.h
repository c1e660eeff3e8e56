#pragma once

#include <vector>

#include "ui/Geometry.h"

namespace ui {

// Places items in lines that wrap at the view's width, top to bottom, as the
// phone's flow layout does:
//  - a line takes items while x + item width <= width - right inset (the
//    first item of a line always goes in, however wide);
//  - every line but a section's last is justified: its first item at the left
//    inset, its last against the right inset, the space between spread
//    evenly (a line of one item is centred);
//  - a section's last line is left-aligned at the minimum item spacing;
//  - items are centred vertically in their line; lines are the minimum line
//    spacing apart;
//  - a section is: header height, top inset, its lines, bottom inset, footer
//    height.
// Only vertical scrolling is offered.
class CollectionViewFlowLayout {
 public:
  struct Section {
    std::vector<Size> itemSizes;
    double minimumLineSpacing = 10;
    double minimumInteritemSpacing = 10;
    EdgeInsets sectionInset;
    Size headerReferenceSize;
    Size footerReferenceSize;
  };
  struct Result {
    std::vector<std::vector<Rect>> itemFrames;  // by section, then item
    std::vector<Rect> headerFrames;             // full width, possibly empty
    std::vector<Rect> footerFrames;
    Size contentSize;
  };

  // The pure measure step: frames in content coordinates for a view `width`
  // points wide.
  static Result measure(double width, const std::vector<Section>& sections);

  // Values used when the delegate does not give its own, as on the phone.
  Size itemSize() const { return itemSize_; }
  void setItemSize(Size size) { itemSize_ = size; }
  double minimumLineSpacing() const { return minimumLineSpacing_; }
  void setMinimumLineSpacing(double spacing) { minimumLineSpacing_ = spacing; }
  double minimumInteritemSpacing() const { return minimumInteritemSpacing_; }
  void setMinimumInteritemSpacing(double spacing) { minimumInteritemSpacing_ = spacing; }
  EdgeInsets sectionInset() const { return sectionInset_; }
  void setSectionInset(const EdgeInsets& inset) { sectionInset_ = inset; }
  Size headerReferenceSize() const { return headerReferenceSize_; }
  void setHeaderReferenceSize(Size size) { headerReferenceSize_ = size; }
  Size footerReferenceSize() const { return footerReferenceSize_; }
  void setFooterReferenceSize(Size size) { footerReferenceSize_ = size; }

 private:
  Size itemSize_{50, 50};
  double minimumLineSpacing_ = 10;
  double minimumInteritemSpacing_ = 10;
  EdgeInsets sectionInset_;
  Size headerReferenceSize_;
  Size footerReferenceSize_;
};

}  // namespace ui
