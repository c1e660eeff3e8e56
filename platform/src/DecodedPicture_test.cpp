#include "DecodedPicture.h"

#include <gtest/gtest.h>

namespace ui {
namespace {

QImage filled(int width, int height, QRgb colour, QImage::Format format = QImage::Format_ARGB32_Premultiplied) {
  QImage image(width, height, format);
  image.fill(colour);
  return image;
}

// The store is the user's own folder: an entry is taken only whole, within
// bounds, and for the very bytes it was decoded from.
TEST(DecodedPicture, AnEntryIsTakenOnlyWholeAndForTheBytesItWasMadeFrom) {
  const std::string source = "the picture file's bytes";
  const std::string entry = DecodedPicture::encode(filled(3, 2, qRgba(10, 20, 30, 255)), source);
  auto taken = DecodedPicture::decode(entry, source, 6);
  ASSERT_TRUE(taken);
  EXPECT_EQ(taken->size(), QSize(3, 2));
  EXPECT_EQ(taken->format(), QImage::Format_ARGB32_Premultiplied);
  EXPECT_EQ(taken->pixel(2, 1), qRgba(10, 20, 30, 255));
  EXPECT_EQ(
      DecodedPicture::decode(DecodedPicture::encode(filled(1, 1, 0xff00ff00, QImage::Format_RGB32), source), source, 6)
          ->format(),
      QImage::Format_RGB32);

  std::string unknownForm = entry, reservedSet = entry;
  unknownForm[32] = 7;
  reservedSet[39] = 1;
  struct Case {
    const char* what;
    std::string entry, source;
    size_t maximumPixels;
  } refused[] = {
      {"made from other bytes", entry, "the picture file's bytez", 6},
      {"made from a longer file", entry, source + "!", 6},
      {"one byte short", entry.substr(0, entry.size() - 1), source, 6},
      {"one byte over", entry + "!", source, 6},
      {"more pixels than allowed", entry, source, 5},
      {"a form that is not known", unknownForm, source, 6},
      {"its reserved word set", reservedSet, source, 6},
      {"no header", entry.substr(0, 39), source, 6},
      {"not an entry", std::string(entry.size(), 'x'), source, 6},
  };
  for (const auto& c : refused) EXPECT_FALSE(DecodedPicture::decode(c.entry, c.source, c.maximumPixels)) << c.what;
  EXPECT_NE(DecodedPicture::nameFor("/a/gui.png"), DecodedPicture::nameFor("/b/gui.png"));
}

}  // namespace
}  // namespace ui
