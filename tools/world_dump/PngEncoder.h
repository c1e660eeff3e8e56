#pragma once

#include <zlib.h>

#include <cstdint>
#include <string>

// A PNG picture (8-bit RGBA, no interlace) made row by row, so a large map
// never needs its whole picture in memory: only the compressed bytes.
// Throws std::runtime_error when zlib fails.
class PngEncoder {
 public:
  PngEncoder(uint32_t width, uint32_t height);
  ~PngEncoder();
  PngEncoder(const PngEncoder&) = delete;
  PngEncoder& operator=(const PngEncoder&) = delete;

  // The next row, top first: width pixels of 0xAARRGGBB.
  void addRow(const uint32_t* pixels);
  // The whole file; call once, after the last row.
  std::string finish();

 private:
  void deflateSome(const uint8_t* bytes, size_t size, int flush);

  uint32_t width_;
  uint32_t height_;
  uint32_t rows_ = 0;
  z_stream stream_{};
  std::string compressed_;
  std::string row_;
};
