#include "ui/PictureCheck.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "ui/Image.h"

namespace ui {

namespace {

// A colour as 0xAARRGGBB, straight alpha, as Image::pixel reports it.
unsigned argb(const Color& color) {
  auto channel = [](double value) { return unsigned(std::lround(std::clamp(value, 0.0, 1.0) * 255)); };
  return channel(color.alpha) << 24 | channel(color.red) << 16 | channel(color.green) << 8 | channel(color.blue);
}

bool close(unsigned actual, unsigned expected, int tolerance) {
  // A fully transparent pixel has no colour to speak of.
  if ((actual >> 24) == 0 && (expected >> 24) == 0) return true;
  for (int shift = 0; shift < 32; shift += 8) {
    int a = int((actual >> shift) & 0xFF), e = int((expected >> shift) & 0xFF);
    if (std::abs(a - e) > tolerance) return false;
  }
  return true;
}

}  // namespace

std::string pictureDifferences(const Image& picture, const ExpectedPicture& expected, int tolerance) {
  std::string first;
  int wrong = 0;
  double scale = picture.scale();
  for (int y = 0; y < picture.pixelHeight(); ++y) {
    for (int x = 0; x < picture.pixelWidth(); ++x) {
      std::optional<Color> want = expected(Point{(x + 0.5) / scale, (y + 0.5) / scale});
      if (!want) continue;
      unsigned actual = picture.pixel(x, y);
      if (close(actual, argb(*want), tolerance)) continue;
      if (++wrong <= 5) {
        char line[96];
        std::snprintf(line, sizeof line, "\n  pixel (%d, %d) is %08X, expected %08X", x, y, actual, argb(*want));
        first += line;
      }
    }
  }
  if (wrong == 0) return "";
  return std::to_string(wrong) + " of " + std::to_string(picture.pixelWidth() * picture.pixelHeight()) +
         " pixels differ" + first;
}

}  // namespace ui
