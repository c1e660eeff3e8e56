#include "ui/FileReader.h"

#include <zlib.h>

#include <QBuffer>
#include <QImage>
#include <future>
#include <map>
#include <mutex>
#include <set>

#include <gtest/gtest.h>

#include "DecodedPicture.h"
#include "ui/Application.h"
#include "ui/Font.h"
#include "ui/Image.h"

namespace ui {
namespace {

// A picture of two pixels of one colour in the given format's bytes.
std::string twoPixels(QRgb colour, const char* format = "PNG") {
  QImage image(2, 1, QImage::Format_ARGB32);
  image.fill(colour);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  EXPECT_TRUE(buffer.open(QIODevice::WriteOnly) && image.save(&buffer, format));
  return std::string(bytes.constData(), size_t(bytes.size()));
}

// Pictures and fonts come through the installed reader, not from the path
// directly: a program acting for another user relies on that.
TEST(FileReader, PicturesAndFontsAreReadThroughTheInstalledReader) {
  Application::ensure();
  std::string png = twoPixels(0xffff0000), bmp = twoPixels(0xffff0000, "BMP");

  std::vector<std::string> asked;
  setFileReader([&](const std::string& path) -> std::optional<std::string> {
    asked.push_back(path);
    if (path == "/nowhere/red@2x.png") return png;
    if (path == "/nowhere/red.png") return bmp;
    return std::nullopt;  // refused, though the file may well exist
  });
  auto image = Image::fromFile("/nowhere/red@2x.png");
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->pixelWidth(), 2);
  EXPECT_EQ(image->size(), (Size{1, 0.5}));
  EXPECT_NE(Image::fromFile("/nowhere/red.png"), nullptr);  // a BMP: the bytes decide, not the name
  std::string font = std::string(GORVANE_SOURCE_DIR) + "/demo/app/minecraft.ttf";
  EXPECT_FALSE(GSFontAddFromFile(font.c_str()));
  EXPECT_EQ(Image::fromFile(std::string(GORVANE_SOURCE_DIR) + "/src/app/desktop/gorvane.png"), nullptr);
  EXPECT_EQ(asked.size(), 4u);

  setFileReader(nullptr);
  EXPECT_NE(Image::fromFile(std::string(GORVANE_SOURCE_DIR) + "/src/app/desktop/gorvane.png"), nullptr);
}

// A start decodes its first pictures on another thread: what it decoded is
// what fromFile gives, once, and a picture asked for again is read again.
TEST(FileReader, APrefetchedPictureIsReadOnceAndTakenOnce) {
  Application::ensure();
  std::string png = twoPixels(0xffff0000);
  std::mutex mutex;
  std::multiset<std::string> asked;
  std::promise<void> firstRead;
  setFileReader([&](const std::string& path) -> std::optional<std::string> {
    std::lock_guard lock(mutex);
    asked.insert(path);
    if (asked.size() == 1) firstRead.set_value();
    if (path == "/nowhere/red.png") return png;
    return std::nullopt;
  });
  Image::prefetch({"/nowhere/red.png", "/nowhere/missing.png", "/nowhere/red.png"});
  firstRead.get_future().wait();  // the worker has started on the first picture
  auto image = Image::fromFile("/nowhere/red.png");
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->pixel(1, 0), 0xffff0000u);
  EXPECT_EQ(Image::fromFile("/nowhere/missing.png"), nullptr);
  EXPECT_EQ(asked, (std::multiset<std::string>{"/nowhere/red.png", "/nowhere/missing.png"}));
  EXPECT_NE(Image::fromFile("/nowhere/red.png"), nullptr);
  EXPECT_EQ(asked.count("/nowhere/red.png"), 2u);
  setFileReader(nullptr);
}

// What one start decodes the next takes from the store, as long as the
// file's bytes are the same.
TEST(FileReader, APictureDecodedAtOneStartIsTakenFromTheStoreAtTheNext) {
  Application::ensure();
  std::string file = twoPixels(0xffff0000);
  setFileReader([&](const std::string&) { return std::optional(file); });
  std::map<std::string, std::string> kept;
  setDecodedPictureStore({[&](const std::string& name) -> std::optional<std::string> {
                            auto found = kept.find(name);
                            return found == kept.end() ? std::nullopt : std::optional(found->second);
                          },
                          [&](const std::string& name, const std::string& entry) { kept[name] = entry; }});
  auto start = [] {
    Image::prefetch({"/nowhere/title.png"});
    auto image = Image::fromFile("/nowhere/title.png");
    return image ? image->pixel(1, 0) : 0u;
  };
  EXPECT_EQ(start(), 0xffff0000u);
  ASSERT_EQ(kept.size(), 1u);
  // An entry of other pixels for the same bytes shows that the next start
  // took it rather than decoding the file.
  QImage green(2, 1, QImage::Format_ARGB32_Premultiplied);
  green.fill(0xff00ff00);
  kept.begin()->second = DecodedPicture::encode(green, file);
  EXPECT_EQ(start(), 0xff00ff00u);
  file = twoPixels(0xff0000ff);  // the game's picture changed
  EXPECT_EQ(start(), 0xff0000ffu);
  EXPECT_EQ(start(), 0xff0000ffu);
  EXPECT_EQ(kept.size(), 1u);
  setDecodedPictureStore({});
  setFileReader(nullptr);
}

TEST(FileReader, PicturesOfMoreThan2048By2048PixelsAreRefusedBeforeTheyAreDecoded) {
  Application::ensure();
  for (auto [width, height, read] :
       {std::tuple{2048, 2048, true}, {8192, 512, true}, {2049, 2048, false}, {5600, 5600, false}}) {
    QImage black(width, height, QImage::Format_Mono);  // a PNG of a few kilobytes
    black.fill(0);
    QByteArray png;
    QBuffer buffer(&png);
    ASSERT_TRUE(buffer.open(QIODevice::WriteOnly) && black.save(&buffer, "PNG"));
    setFileReader([&](const std::string&) { return std::optional(std::string(png.constData(), size_t(png.size()))); });
    auto image = Image::fromFile("/nowhere/big.png");
    EXPECT_EQ(image ? image->pixelWidth() : 0, read ? width : 0) << width << " x " << height;
  }
  setFileReader(nullptr);
}

}  // namespace
}  // namespace ui
