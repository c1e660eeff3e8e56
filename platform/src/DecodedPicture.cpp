#include "DecodedPicture.h"

#include <cstdint>
#include <cstring>

namespace ui {
namespace {

constexpr char magic[8] = {'G', 'V', 'P', 'I', 'C', 'T', '1', '\0'};

// magic, source size, source hash, width, height, form (0 opaque, 1 with
// alpha); the rows follow, 4 bytes a pixel, 8-byte aligned in the buffer.
struct Header {
  char magic[8];
  uint64_t sourceSize;
  uint64_t sourceHash;
  uint32_t width;
  uint32_t height;
  uint32_t form;
  uint32_t reserved;
};
static_assert(sizeof(Header) == 40);

// FNV-1a: stable across runs and machines, and a few instructions a byte.
uint64_t hashOf(std::string_view bytes) {
  uint64_t hash = 14695981039346656037ull;
  for (unsigned char c : bytes) hash = (hash ^ c) * 1099511628211ull;
  return hash;
}

}  // namespace

std::string DecodedPicture::encode(const QImage& image, std::string_view source) {
  Header header{};
  std::memcpy(header.magic, magic, sizeof magic);
  header.sourceSize = source.size();
  header.sourceHash = hashOf(source);
  header.width = uint32_t(image.width());
  header.height = uint32_t(image.height());
  header.form = image.format() == QImage::Format_RGB32 ? 0 : 1;
  size_t row = size_t(image.width()) * 4;
  std::string entry(sizeof header + row * size_t(image.height()), '\0');
  std::memcpy(entry.data(), &header, sizeof header);
  for (int y = 0; y < image.height(); ++y) {
    std::memcpy(entry.data() + sizeof header + row * size_t(y), image.constScanLine(y), row);
  }
  return entry;
}

std::optional<QImage> DecodedPicture::decode(std::string entry, std::string_view source, size_t maximumPixels) {
  Header header;
  if (entry.size() < sizeof header) return std::nullopt;
  std::memcpy(&header, entry.data(), sizeof header);
  // A reserved word set is a later form of entry, not this one.
  if (std::memcmp(header.magic, magic, sizeof magic) != 0 || header.form > 1 || header.reserved != 0) {
    return std::nullopt;
  }
  if (header.sourceSize != source.size() || header.sourceHash != hashOf(source)) return std::nullopt;
  uint64_t pixels = uint64_t(header.width) * header.height;
  if (header.width == 0 || header.height == 0 || pixels > maximumPixels) return std::nullopt;
  if (entry.size() != sizeof header + pixels * 4) return std::nullopt;
  auto* kept = new std::string(std::move(entry));
  auto* rows = reinterpret_cast<uchar*>(kept->data() + sizeof header);
  return QImage(
      rows, int(header.width), int(header.height), qsizetype(header.width) * 4,
      header.form == 0 ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied,
      [](void* buffer) { delete static_cast<std::string*>(buffer); }, kept);
}

std::string DecodedPicture::nameFor(const std::string& path) {
  static constexpr char digits[] = "0123456789abcdef";
  uint64_t hash = hashOf(path);
  std::string name(16, '0');
  for (int i = 15; i >= 0; --i, hash >>= 4) name[size_t(i)] = digits[hash & 15];
  return name + ".picture";
}

}  // namespace ui
