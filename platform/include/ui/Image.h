#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ui/Geometry.h"

namespace ui {

class ImageData;  // the pixels; defined inside the platform

// An immutable bitmap with a scale (pixels per point). Images are shared:
// every operation returns a new image and leaves this one as it was.
class Image {
 public:
  // The most pixels a picture read from a file may have: 2048 x 2048, 16 MB
  // decoded. The game's largest pictures (its block atlas, the title
  // panorama) are well within it.
  static constexpr size_t maximumPicturePixels = size_t(2048) * 2048;

  // Reads a PNG file; null when the file is missing, not a picture, or a
  // picture of more than maximumPicturePixels, found before it is decoded.
  static std::shared_ptr<Image> fromFile(const std::string& path);
  // The application's own pictures, by file name ("menu_view_title.png");
  // null when there is none.
  static std::shared_ptr<Image> named(const std::string& name);
  // Where named() looks for `name`, in its order.
  static std::vector<std::string> pathsNamed(const std::string& name);
  // Starts reading and decoding these files on another thread, so that a
  // start's first pictures are ready when fromFile asks for them while this
  // thread does other work. Each is taken by the first fromFile of its path,
  // which waits for one being decoded and decodes one not yet started
  // itself; a path already waiting is not read twice. With a store of
  // decoded pictures installed (FileReader.h), a picture decoded from the
  // same file bytes at an earlier start is taken from it instead, and one
  // decoded now is kept there.
  static void prefetch(const std::vector<std::string>& paths);

  // A picture of width x height pixels given row by row as 0xAARRGGBB,
  // straight alpha; any thread may make one. Null for an empty size.
  static std::shared_ptr<Image> fromPixels(int width, int height, const uint32_t* pixels);

  explicit Image(std::shared_ptr<const ImageData> data, double scale = 1.0, EdgeInsets capInsets = {},
                 bool resizable = false);

  Size size() const;  // in points
  double scale() const { return scale_; }
  int pixelWidth() const;
  int pixelHeight() const;

  // The pixels of `pixelRect`, clipped to the picture; null if nothing is left.
  std::shared_ptr<Image> subImage(const Rect& pixelRect) const;
  // Scaled to `points` at the main screen's scale, nearest neighbour (pixel
  // art stays crisp).
  std::shared_ptr<Image> resized(Size points) const;
  // Drawn with its `capInsets` (points) kept as they are and the middle tiled.
  std::shared_ptr<Image> resizable(EdgeInsets capInsets) const;
  bool isResizable() const { return resizable_; }
  EdgeInsets capInsets() const { return capInsets_; }

  // 0xAARRGGBB, straight alpha, of the pixel at (x, y).
  unsigned pixel(int x, int y) const;
  bool writePNG(const std::string& path) const;

  const ImageData& data() const { return *data_; }

 private:
  std::shared_ptr<const ImageData> data_;
  double scale_;
  EdgeInsets capInsets_;
  bool resizable_;
};

// Where Image::named looks: a folder of the application's pictures.
void setApplicationResourceDirectory(const std::string& path);

}  // namespace ui
