#include "Tarnbook/TBKSubChunk.h"

#include "LittleEndian.h"
#include "Tarnbook/TBKBlockTable.h"
#include "Tarnbook/TBKException.h"
#include "Tarnbook/TBKNBT.h"
#include "Tarnbook/TBKStringTag.h"

namespace {

constexpr size_t blockCount = 4096;

[[noreturn]] void damaged(const std::string& what) {
  throw TBKException(TBKException::Kind::Format, "A sub-chunk of the world is damaged: " + what + ".");
}

}  // namespace

// Reads the value front to back; every read checks the bytes left first.
class TBKSubChunk::Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}

  size_t left() const { return bytes_.size() - at_; }
  const uint8_t* take(size_t count, const char* what) {
    if (count > left()) damaged(std::string(what) + " runs past its end");
    const auto* start = reinterpret_cast<const uint8_t*>(bytes_.data() + at_);
    at_ += count;
    return start;
  }
  uint8_t byte(const char* what) { return *take(1, what); }

  // One layer of palette indices: a header byte (bits per block << 1, and
  // a flag for the game's run-time form, which saved worlds never hold),
  // the packed words, then the palette.
  Layer layer() {
    Layer read;
    uint8_t header = byte("a layer's header");
    if (header & 1) damaged("a layer holds the game's run-time palette");
    unsigned bits = header >> 1;
    if (bits == 0) {
      // One block fills the layer: no words, every index 0.
    } else if (bits <= 6 || bits == 8 || bits == 16) {
      // The widths 3, 5 and 6 leave the top bits of each word unused.
      unsigned perWord = 32 / bits;
      size_t words = (blockCount + perWord - 1) / perWord;
      const uint8_t* packed = take(words * 4, "a layer's blocks");
      uint32_t mask = (1u << bits) - 1;
      size_t position = 0;
      for (size_t word = 0; word < words; ++word) {
        uint32_t value = tbk::readLittleEndian<uint32_t>(packed + word * 4);
        for (unsigned slot = 0; slot < perWord && position < blockCount; ++slot, ++position) {
          read.indices[position] = static_cast<uint16_t>((value >> (slot * bits)) & mask);
        }
      }
    } else {
      damaged("a layer has " + std::to_string(bits) + " bits a block");
    }
    int32_t count = tbk::readLittleEndian<int32_t>(take(4, "a palette's length"));
    // The smallest entry, an empty compound, takes four bytes.
    if (count < 1 || size_t(count) > left() / 4) damaged("a palette claims " + std::to_string(count) + " blocks");
    if (bits == 0 && count != 1) damaged("a one-block layer names " + std::to_string(count) + " blocks");
    read.palette.reserve(size_t(count));
    for (int32_t entry = 0; entry < count; ++entry) {
      size_t consumed = 0;
      auto tag = TBKNBT::parse(bytes_.substr(at_), &consumed);
      at_ += consumed;
      auto compound = std::dynamic_pointer_cast<TBKCompoundTag>(tag);
      auto name =
          compound ? std::dynamic_pointer_cast<TBKStringTag>(compound->objectForKeyedSubscript("name")) : nullptr;
      if (!name) damaged("a palette entry has no block name");
      read.palette.push_back(name->value());
    }
    for (uint16_t index : read.indices) {
      if (index >= read.palette.size()) damaged("a block's index lies past its palette");
    }
    return read;
  }

 private:
  std::string_view bytes_;
  size_t at_ = 0;
};

TBKSubChunk TBKSubChunk::decode(std::string_view value) {
  Reader reader(value);
  TBKSubChunk decoded;
  uint8_t version = reader.byte("the version");
  switch (version) {
    case 1:
      decoded.layers_.push_back(reader.layer());
      return decoded;
    case 8:
    case 9: {
      uint8_t count = reader.byte("the layer count");
      if (version == 9) decoded.ownIndex_ = static_cast<int8_t>(reader.byte("the index"));
      // Every layer takes five bytes at least: a header and a palette length.
      if (count > reader.left() / 5) damaged("it claims " + std::to_string(count) + " layers");
      decoded.layers_.reserve(count);
      for (uint8_t layer = 0; layer < count; ++layer) decoded.layers_.push_back(reader.layer());
      return decoded;
    }
    case 0:
    case 2:
    case 3:
    case 4:
    case 5:
    case 6:
    case 7: {
      // Light may follow; the map has no use for it.
      const uint8_t* ids = reader.take(blockCount, "the block numbers");
      const uint8_t* data = reader.take(blockCount / 2, "the data values");
      return numbered(ids, data);
    }
    default:
      damaged("version " + std::to_string(version) + " is not one the game wrote");
  }
}

TBKSubChunk TBKSubChunk::numbered(const uint8_t* ids, const uint8_t* data) {
  const TBKBlockTable& table = TBKBlockTable::shared();
  TBKSubChunk made;
  Layer& layer = made.layers_.emplace_back();
  // The palette grows with each new (id, data) pair met: at most 4096.
  std::array<int16_t, 256 * 16> paletteOf;
  paletteOf.fill(-1);
  for (size_t position = 0; position < blockCount; ++position) {
    uint8_t id = ids[position];
    uint8_t value = (data[position >> 1] >> ((position & 1) * 4)) & 0xf;
    int16_t& index = paletteOf[(id << 4) | value];
    if (index < 0) {
      index = static_cast<int16_t>(layer.palette.size());
      const std::string& name = table.earlyName(id, value);
      layer.palette.push_back(name.empty() ? "minecraft:early_block_" + std::to_string(id) : name);
    }
    layer.indices[position] = static_cast<uint16_t>(index);
  }
  return made;
}
