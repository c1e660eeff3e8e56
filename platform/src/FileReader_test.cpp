#include "ui/FileReader.h"

#include <zlib.h>

#include <QBuffer>
#include <QImage>

#include <gtest/gtest.h>

#include "ui/Application.h"
#include "ui/Font.h"
#include "ui/Image.h"

namespace ui {
namespace {

// Pictures and fonts come through the installed reader, not from the path
// directly: a program acting for another user relies on that.
TEST(FileReader, PicturesAndFontsAreReadThroughTheInstalledReader) {
  Application::ensure();
  QImage red(2, 1, QImage::Format_ARGB32);
  red.fill(Qt::red);
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  ASSERT_TRUE(red.save(&buffer, "PNG"));

  std::vector<std::string> asked;
  setFileReader([&](const std::string& path) -> std::optional<std::string> {
    asked.push_back(path);
    if (path == "/nowhere/red@2x.png") return std::string(png.constData(), size_t(png.size()));
    return std::nullopt;  // refused, though the file may well exist
  });
  auto image = Image::fromFile("/nowhere/red@2x.png");
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->pixelWidth(), 2);
  EXPECT_EQ(image->size(), (Size{1, 0.5}));
  std::string font = std::string(GORVANE_SOURCE_DIR) + "/demo/app/minecraft.ttf";
  EXPECT_FALSE(GSFontAddFromFile(font.c_str()));
  EXPECT_EQ(Image::fromFile(std::string(GORVANE_SOURCE_DIR) + "/src/app/desktop/gorvane.png"), nullptr);
  EXPECT_EQ(asked.size(), 3u);

  setFileReader(nullptr);
  EXPECT_NE(Image::fromFile(std::string(GORVANE_SOURCE_DIR) + "/src/app/desktop/gorvane.png"), nullptr);
}

// A picture of one bit a pixel, all black, as a few kilobytes of PNG.
std::string blackPNG(uint32_t width, uint32_t height) {
  auto big = [](uint32_t v) { return std::string{char(v >> 24), char(v >> 16), char(v >> 8), char(v)}; };
  auto chunk = [&](const char* type, const std::string& data) {
    std::string typed = type + data;
    uint32_t crc = uint32_t(crc32(0, reinterpret_cast<const Bytef*>(typed.data()), uInt(typed.size())));
    return big(uint32_t(data.size())) + typed + big(crc);
  };
  std::string rows(size_t(height) * ((width + 7) / 8 + 1), '\0');
  std::string packed(compressBound(uLong(rows.size())), '\0');
  uLongf length = uLongf(packed.size());
  compress(reinterpret_cast<Bytef*>(packed.data()), &length, reinterpret_cast<const Bytef*>(rows.data()), rows.size());
  packed.resize(length);
  return "\x89PNG\r\n\x1a\n" + chunk("IHDR", big(width) + big(height) + std::string("\x01\x00\x00\x00\x00", 5)) +
         chunk("IDAT", packed) + chunk("IEND", "");
}

TEST(FileReader, PicturesOfMoreThan2048By2048PixelsAreRefusedBeforeTheyAreDecoded) {
  Application::ensure();
  const struct {
    uint32_t width, height;
    bool read;
  } cases[] = {{2048, 2048, true}, {8192, 512, true}, {2049, 2048, false}, {5600, 5600, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
    std::string png = blackPNG(c.width, c.height);
    setFileReader([&](const std::string&) -> std::optional<std::string> { return png; });
    auto image = Image::fromFile("/nowhere/big.png");
    EXPECT_EQ(image != nullptr, c.read);
    if (image) {
      EXPECT_EQ(image->pixelWidth(), int(c.width));
    }
  }
  setFileReader(nullptr);
}

}  // namespace
}  // namespace ui
