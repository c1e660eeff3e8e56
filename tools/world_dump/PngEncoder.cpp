#include "PngEncoder.h"

#include <stdexcept>

namespace {

void appendBigEndian(std::string& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((value >> shift) & 0xff);
}

void appendChunk(std::string& out, const char* type, const std::string& data) {
  appendBigEndian(out, uint32_t(data.size()));
  std::string typed = std::string(type, 4) + data;
  out += typed;
  appendBigEndian(out, uint32_t(crc32(0, reinterpret_cast<const Bytef*>(typed.data()), uInt(typed.size()))));
}

}  // namespace

PngEncoder::PngEncoder(uint32_t width, uint32_t height) : width_(width), height_(height) {
  if (deflateInit(&stream_, Z_DEFAULT_COMPRESSION) != Z_OK) throw std::runtime_error("zlib could not start");
  row_.resize(1 + size_t(width) * 4);
}

PngEncoder::~PngEncoder() { deflateEnd(&stream_); }

void PngEncoder::deflateSome(const uint8_t* bytes, size_t size, int flush) {
  stream_.next_in = const_cast<Bytef*>(bytes);
  stream_.avail_in = uInt(size);
  char buffer[1 << 16];
  int status;
  do {
    stream_.next_out = reinterpret_cast<Bytef*>(buffer);
    stream_.avail_out = sizeof buffer;
    status = deflate(&stream_, flush);
    if (status == Z_STREAM_ERROR) throw std::runtime_error("zlib could not compress the picture");
    compressed_.append(buffer, sizeof buffer - stream_.avail_out);
  } while (stream_.avail_out == 0 || (flush == Z_FINISH && status != Z_STREAM_END));
}

void PngEncoder::addRow(const uint32_t* pixels) {
  row_[0] = 0;  // no filter
  for (uint32_t x = 0; x < width_; ++x) {
    uint32_t pixel = pixels[x];
    char* out = &row_[1 + size_t(x) * 4];
    out[0] = static_cast<char>(pixel >> 16);
    out[1] = static_cast<char>(pixel >> 8);
    out[2] = static_cast<char>(pixel);
    out[3] = static_cast<char>(pixel >> 24);
  }
  deflateSome(reinterpret_cast<const uint8_t*>(row_.data()), row_.size(), Z_NO_FLUSH);
  ++rows_;
}

std::string PngEncoder::finish() {
  if (rows_ != height_) throw std::logic_error("a picture finished before its last row");
  deflateSome(nullptr, 0, Z_FINISH);
  std::string file = "\x89PNG\r\n\x1a\n";
  std::string header;
  appendBigEndian(header, width_);
  appendBigEndian(header, height_);
  header += std::string("\x08\x06\x00\x00\x00", 5);  // 8 bits, RGBA, deflate, adaptive filters, no interlace
  appendChunk(file, "IHDR", header);
  appendChunk(file, "IDAT", compressed_);
  appendChunk(file, "IEND", "");
  return file;
}
