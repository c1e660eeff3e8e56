#include "MapBytes.h"

#include <algorithm>
#include <stdexcept>

namespace mapbytes {
namespace {

void appendInt(std::string& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xff);
}

void appendText(std::string& out, const std::string& text) {
  appendInt(out, uint32_t(text.size()), 2);
  out += text;
}

// {name: "<name>", states: {}, version: 18100737}, unnamed, as the game
// writes a palette entry.
std::string paletteEntry(const std::string& name) {
  std::string out = "\x0a";
  appendText(out, "");
  out += '\x08';
  appendText(out, "name");
  appendText(out, name);
  out += '\x0a';
  appendText(out, "states");
  out += '\x00';
  out += '\x03';
  appendText(out, "version");
  appendInt(out, 18100737, 4);
  out += '\x00';
  return out;
}

}  // namespace

std::string layer(int bits, const std::string& fill, const std::vector<Block>& blocks) {
  std::vector<std::string> palette{fill};
  std::array<uint32_t, 4096> indices{};
  for (const Block& block : blocks) {
    auto found = std::find(palette.begin(), palette.end(), block.name);
    if (found == palette.end()) found = palette.insert(palette.end(), block.name);
    indices[(block.x << 8) | (block.z << 4) | block.y] = uint32_t(found - palette.begin());
  }
  std::string out(1, static_cast<char>(bits << 1));
  if (bits > 0) {
    int perWord = 32 / bits;
    for (int first = 0; first < 4096; first += perWord) {
      uint32_t word = 0;
      for (int slot = 0; slot < perWord && first + slot < 4096; ++slot) word |= indices[first + slot] << (slot * bits);
      appendInt(out, word, 4);
    }
  }
  appendInt(out, uint32_t(palette.size()), 4);
  for (const std::string& name : palette) out += paletteEntry(name);
  return out;
}

std::string subChunk(int version, const std::vector<std::string>& layers, int8_t index) {
  std::string out(1, static_cast<char>(version));
  if (version == 1) return out + layers.at(0);
  out += static_cast<char>(layers.size());
  if (version == 9) out += static_cast<char>(index);
  for (const std::string& one : layers) out += one;
  return out;
}

namespace {

std::string numbered(size_t blockCount, int yBits, const std::vector<NumberedBlock>& blocks) {
  std::string ids(blockCount, '\0');
  std::string data(blockCount / 2, '\0');
  for (const NumberedBlock& block : blocks) {
    size_t at = (size_t(block.x) << (yBits + 4)) | (size_t(block.z) << yBits) | size_t(block.y);
    ids[at] = static_cast<char>(block.id);
    data[at / 2] = static_cast<char>(data[at / 2] | (block.data << (at % 2 * 4)));
  }
  return ids + data;
}

}  // namespace

std::string numberedSubChunk(int version, const std::vector<NumberedBlock>& blocks, bool withLight) {
  std::string out = std::string(1, static_cast<char>(version)) + numbered(4096, 4, blocks);
  if (withLight) out += std::string(4096, '\xff');
  return out;
}

std::string legacyTerrain(const std::vector<NumberedBlock>& blocks) {
  // Then sky light, block light, 256 heights and 256 biome colours.
  return numbered(32768, 7, blocks) + std::string(16384 * 2 + 256 + 1024, '\0');
}

std::string chunkKey(int32_t x, int32_t z, int32_t dimension, char tag, int8_t index) {
  std::string bytes;
  appendInt(bytes, uint32_t(x), 4);
  appendInt(bytes, uint32_t(z), 4);
  if (dimension != 0) appendInt(bytes, uint32_t(dimension), 4);
  bytes += tag;
  if (tag == '\x2f') bytes += static_cast<char>(index);
  return bytes;
}

}  // namespace mapbytes
