#include "NineSlice.h"

#include <gtest/gtest.h>

namespace ui {
namespace {

TEST(NineSlice, CornersStayAsDrawnAndTheMiddleIsTiled) {
  // A 28-point picture with 6-point caps, 2 pixels a point, into 60 x 40.
  auto pieces = nineSlicePieces(Size{28, 28}, 2, EdgeInsets{6, 6, 6, 6}, Rect(10, 20, 60, 40));
  // Middle 16 points wide: 48 / 16 = 3 repeats across, 28 / 16 = 1 and a 12-point rest down.
  ASSERT_EQ(pieces.size(), 5u * 4u);
  EXPECT_EQ(pieces.front(), (ImagePiece{Rect(0, 0, 12, 12), Rect(10, 20, 6, 6)}));
  EXPECT_EQ(pieces[4], (ImagePiece{Rect(44, 0, 12, 12), Rect(64, 20, 6, 6)}));
  EXPECT_EQ(pieces.back(), (ImagePiece{Rect(44, 44, 12, 12), Rect(64, 54, 6, 6)}));
  // The middle repeats at its natural size; the last one down is cut short.
  EXPECT_EQ(pieces[5 + 1], (ImagePiece{Rect(12, 12, 32, 32), Rect(16, 26, 16, 16)}));
  EXPECT_EQ(pieces[5 + 2], (ImagePiece{Rect(12, 12, 32, 32), Rect(32, 26, 16, 16)}));
  EXPECT_EQ(pieces[10 + 3], (ImagePiece{Rect(12, 12, 32, 24), Rect(48, 42, 16, 12)}));
  // Every destination point is covered exactly once.
  double area = 0;
  for (auto& p : pieces) area += p.dest.width() * p.dest.height();
  EXPECT_DOUBLE_EQ(area, 60 * 40);
}

TEST(NineSlice, CapsLargerThanTheTargetShrinkInProportion) {
  auto pieces = nineSlicePieces(Size{16, 16}, 1, EdgeInsets{4, 4, 4, 4}, Rect(0, 0, 4, 16));
  ASSERT_FALSE(pieces.empty());
  EXPECT_EQ(pieces.front().dest, Rect(0, 0, 2, 4));
  for (auto& p : pieces) EXPECT_LE(p.dest.maxX(), 4.0);
}

}  // namespace
}  // namespace ui
