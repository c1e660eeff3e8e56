#include "ui/Image.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <map>
#include <mutex>
#include <thread>

#include "DecodedPicture.h"
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

// Qt's limit is one process-wide number: set once, before any thread reads
// it, so a prefetch's decoding never races a setting of it.
void limitDecodedSize() {
  static std::once_flag once;
  std::call_once(once, [] { QImageReader::setAllocationLimit(int((Image::maximumPicturePixels * 16) >> 20)); });
}

// A "@2x" picture holds two pixels per point, as on the phone.
double scaleOf(const std::string& path) { return QFileInfo(toQt(path)).completeBaseName().endsWith("@2x") ? 2 : 1; }

QImage decodeBytes(const std::string& bytes) {
  // A picture of a few kilobytes may claim thousands of pixels each way:
  // its size is looked at before anything is decoded, and Qt's own limit
  // (looser: it weighs the decoded form, which may be wider) stands behind
  // that for a format that does not tell its size up front.
  QByteArray data = QByteArray::fromRawData(bytes.data(), qsizetype(bytes.size()));
  QBuffer buffer(&data);
  buffer.open(QIODevice::ReadOnly);
  // A PNG (every picture the game ships) goes straight to the built-in
  // decoder: asked to find one, Qt loads every image-format plugin
  // installed first, the largest part of reading a small picture. What the
  // bytes are decides, never the file's name.
  static constexpr char pngSignature[] = "\x89PNG\r\n\x1a\n";
  bool png = bytes.compare(0, 8, pngSignature, 8) == 0;
  QImageReader reader(&buffer, png ? QByteArray("png") : QByteArray());
  reader.setAutoDetectImageFormat(!png);
  QSize claimed = reader.size();
  if (claimed.isValid() && qint64(claimed.width()) * claimed.height() > qint64(Image::maximumPicturePixels)) {
    return {};
  }
  QImage image;
  if (!reader.read(&image)) return {};
  return image;
}

std::shared_ptr<Image> decodeFile(const std::string& path) {
  auto bytes = readFile(path);
  if (!bytes) return nullptr;
  return fromQImage(decodeBytes(*bytes), scaleOf(path));
}

// As decodeFile, through the store of decoded pictures: an entry made from
// these very bytes is taken as it is, else the picture is decoded and kept.
std::shared_ptr<Image> decodeFileThroughStore(const std::string& path) {
  const DecodedPictureStore& store = decodedPictureStore();
  if (!store.read || !store.write) return decodeFile(path);
  auto bytes = readFile(path);
  if (!bytes) return nullptr;
  std::string name = DecodedPicture::nameFor(path);
  if (auto entry = store.read(name)) {
    if (auto kept = DecodedPicture::decode(std::move(*entry), *bytes, Image::maximumPicturePixels)) {
      return fromQImage(std::move(*kept), scaleOf(path));
    }
  }
  auto image = fromQImage(decodeBytes(*bytes), scaleOf(path));
  if (image) store.write(name, DecodedPicture::encode(image->data().image, *bytes));
  return image;
}

// Pictures being decoded ahead on another thread, each taken by the first
// fromFile that asks for its path. At exit the workers are waited for
// before the table goes.
struct Prefetched {
  struct Picture {
    bool started = false;  // by the worker: fromFile then waits for it
    bool decoded = false;
    std::shared_ptr<Image> image;
  };
  std::mutex mutex;
  std::condition_variable decoded;
  std::map<std::string, Picture> pictures;
  std::vector<std::thread> workers;
  ~Prefetched() {
    for (auto& worker : workers) worker.join();
  }
};

Prefetched& prefetched() {
  static Prefetched table;
  return table;
}

std::vector<std::string> namedCandidates(const std::string& name) {
  if (!resourceDirectory().empty()) return {resourceDirectory() + "/" + name};
  // Beside the program in a build, in share/gorvane once installed.
  std::string programFolder = fromQt(QCoreApplication::applicationDirPath());
  return {programFolder + "/resources/" + name, programFolder + "/../share/gorvane/resources/" + name};
}

}  // namespace

void setApplicationResourceDirectory(const std::string& path) { resourceDirectory() = path; }

Image::Image(std::shared_ptr<const ImageData> data, double scale, EdgeInsets capInsets, bool resizable)
    : data_(std::move(data)), scale_(scale > 0 ? scale : 1), capInsets_(capInsets), resizable_(resizable) {}

std::shared_ptr<Image> Image::fromFile(const std::string& path) {
  limitDecodedSize();
  Prefetched& table = prefetched();
  {
    std::unique_lock lock(table.mutex);
    auto found = table.pictures.find(path);
    if (found != table.pictures.end()) {
      // On a busy machine the worker may not have run yet: a picture it has
      // not started is decoded here rather than waited for.
      if (found->second.started) {
        table.decoded.wait(lock, [&] { return found->second.decoded; });
        auto image = std::move(found->second.image);
        table.pictures.erase(found);
        return image;
      }
      table.pictures.erase(found);
      lock.unlock();
      return decodeFileThroughStore(path);
    }
  }
  return decodeFile(path);
}

void Image::prefetch(const std::vector<std::string>& paths) {
  limitDecodedSize();
  Prefetched& table = prefetched();
  std::vector<std::string> taken;
  {
    std::lock_guard lock(table.mutex);
    for (const auto& path : paths) {
      if (table.pictures.emplace(path, Prefetched::Picture{}).second) taken.push_back(path);
    }
  }
  if (taken.empty()) return;
  std::thread worker([&table, taken = std::move(taken)] {
    for (const auto& path : taken) {
      {
        std::lock_guard lock(table.mutex);
        auto found = table.pictures.find(path);
        // Taken and decoded by fromFile, or being decoded by the worker of an
        // earlier prefetch of the same path: a second decode would outlive
        // the fromFile that waits for the first, and leave its picture behind.
        if (found == table.pictures.end() || found->second.started) continue;
        found->second.started = true;
      }
      auto image = decodeFileThroughStore(path);
      std::lock_guard lock(table.mutex);
      auto& picture = table.pictures[path];
      picture.image = std::move(image);
      picture.decoded = true;
      table.decoded.notify_all();
    }
  });
  std::lock_guard lock(table.mutex);
  table.workers.push_back(std::move(worker));
}

std::vector<std::string> Image::pathsNamed(const std::string& name) { return namedCandidates(name); }

std::shared_ptr<Image> Image::fromPixels(int width, int height, const uint32_t* pixels) {
  if (width <= 0 || height <= 0) return nullptr;
  QImage image(width, height, QImage::Format_ARGB32);
  for (int y = 0; y < height; ++y) {
    std::memcpy(image.scanLine(y), pixels + size_t(y) * size_t(width), size_t(width) * 4);
  }
  return fromQImage(std::move(image), 1);
}

std::shared_ptr<Image> Image::named(const std::string& name) {
  for (const auto& path : namedCandidates(name)) {
    if (auto image = fromFile(path)) return image;
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
