#pragma once

#include <QImage>
#include <optional>
#include <string>
#include <string_view>

namespace ui {

// A picture's pixels as they are drawn, kept between starts so that a
// picture seen before is not decoded again: a header naming the size and
// hash of the file it was decoded from, the picture's size and form, then
// its rows. What is read back is untrusted (the store is the user's own
// folder): anything but an entry of the right length, of a bounded size,
// made from exactly these file bytes is no entry.
class DecodedPicture {
 public:
  // The entry for `image` (RGB32 or ARGB32 premultiplied) decoded from
  // `source`.
  static std::string encode(const QImage& image, std::string_view source);
  // The picture `entry` holds if it was made from `source`; its pixels stay
  // in the entry's buffer, which the image takes.
  static std::optional<QImage> decode(std::string entry, std::string_view source, size_t maximumPixels);
  // The name of the entry for the file at `path`: one per path, so a
  // changed file replaces its entry.
  static std::string nameFor(const std::string& path);
};

}  // namespace ui
