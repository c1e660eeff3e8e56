#include "ui/Image.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <cmath>
#include <cstring>

#include "ImageData.h"
#include "QtConversions.h"
#include "ui/FileReader.h"
#include "ui/Screen.h"

namespace ui {
namespace {

std::string& resourceDirectory() {
  static std::string directory;
  return directory;
}

// Pictures without any transparent pixel are kept opaque: drawing them is
// then a copy of pixels rather than a blend.
bool isOpaque(const QImage& image) {
  if (!image.hasAlphaChannel()) return true;
  if (image.format() != QImage::Format_ARGB32 && image.format() != QImage::Format_ARGB32_Premultiplied) return false;
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      if (qAlpha(line[x]) != 255) return false;
    }
  }
  return true;
}

std::shared_ptr<Image> fromQImage(QImage image, double scale) {
  if (image.isNull()) return nullptr;
  if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32_Premultiplied) {
    image = image.convertToFormat(isOpaque(image) ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
  }
  return std::make_shared<Image>(std::make_shared<ImageData>(std::move(image)), scale);
}

}  // namespace

void setApplicationResourceDirectory(const std::string& path) { resourceDirectory() = path; }

Image::Image(std::shared_ptr<const ImageData> data, double scale, EdgeInsets capInsets, bool resizable)
    : data_(std::move(data)), scale_(scale > 0 ? scale : 1), capInsets_(capInsets), resizable_(resizable) {}

std::shared_ptr<Image> Image::fromFile(const std::string& path) {
  auto bytes = readFile(path);
  if (!bytes) return nullptr;
  // A picture of a few kilobytes may claim thousands of pixels each way:
  // its size is looked at before anything is decoded, and Qt's own limit
  // (looser: it weighs the decoded form, which may be wider) stands behind
  // that for a format that does not tell its size up front.
  QImageReader::setAllocationLimit(int((maximumPicturePixels * 16) >> 20));
  QByteArray data = QByteArray::fromRawData(bytes->data(), qsizetype(bytes->size()));
  QBuffer buffer(&data);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer);
  QSize claimed = reader.size();
  if (claimed.isValid() && qint64(claimed.width()) * claimed.height() > qint64(maximumPicturePixels)) return nullptr;
  QImage image;
  if (!reader.read(&image)) return nullptr;
  // A "@2x" picture holds two pixels per point, as on the phone.
  double scale = QFileInfo(toQt(path)).completeBaseName().endsWith("@2x") ? 2 : 1;
  return fromQImage(std::move(image), scale);
}

std::shared_ptr<Image> Image::fromPixels(int width, int height, const uint32_t* pixels) {
  if (width <= 0 || height <= 0) return nullptr;
  QImage image(width, height, QImage::Format_ARGB32);
  for (int y = 0; y < height; ++y) {
    std::memcpy(image.scanLine(y), pixels + size_t(y) * size_t(width), size_t(width) * 4);
  }
  return fromQImage(std::move(image), 1);
}

std::shared_ptr<Image> Image::named(const std::string& name) {
  if (!resourceDirectory().empty()) return fromFile(resourceDirectory() + "/" + name);
  // Beside the program in a build, in share/gorvane once installed.
  std::string programFolder = fromQt(QCoreApplication::applicationDirPath());
  for (const char* folder : {"/resources/", "/../share/gorvane/resources/"}) {
    if (auto image = fromFile(programFolder + folder + name)) return image;
  }
  return nullptr;
}

Size Image::size() const { return Size{pixelWidth() / scale_, pixelHeight() / scale_}; }
int Image::pixelWidth() const { return data_->image.width(); }
int Image::pixelHeight() const { return data_->image.height(); }

std::shared_ptr<Image> Image::subImage(const Rect& pixelRect) const {
  QRect wanted(int(std::lround(pixelRect.x())), int(std::lround(pixelRect.y())), int(std::lround(pixelRect.width())),
               int(std::lround(pixelRect.height())));
  QRect clipped = wanted.intersected(data_->image.rect());
  if (clipped.isEmpty()) return nullptr;
  return fromQImage(data_->image.copy(clipped), scale_);
}

std::shared_ptr<Image> Image::resized(Size points) const {
  double scale = Screen::main().scale();
  int w = std::max(1, int(std::lround(points.width * scale)));
  int h = std::max(1, int(std::lround(points.height * scale)));
  if (points.width <= 0 || points.height <= 0) return nullptr;
  return fromQImage(data_->image.scaled(w, h, Qt::IgnoreAspectRatio, Qt::FastTransformation), scale);
}

std::shared_ptr<Image> Image::resizable(EdgeInsets capInsets) const {
  return std::make_shared<Image>(data_, scale_, capInsets, true);
}

unsigned Image::pixel(int x, int y) const {
  if (!data_->image.rect().contains(x, y)) return 0;
  QColor c = data_->image.pixelColor(x, y);  // straight alpha
  return (unsigned(c.alpha()) << 24) | (unsigned(c.red()) << 16) | (unsigned(c.green()) << 8) | unsigned(c.blue());
}

bool Image::writePNG(const std::string& path) const { return data_->image.save(toQt(path), "PNG"); }

}  // namespace ui
