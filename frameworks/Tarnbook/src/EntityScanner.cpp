#include "EntityScanner.h"

#include <string>

#include "LittleEndian.h"
#include "TagPayload.h"
#include "Tarnbook/TBKException.h"
#include "Tarnbook/TBKNBT.h"

namespace {

using tbk::smallestPayload;

bool isNumber(TBKTagType type) {
  return type == TBKTagType::Byte || type == TBKTagType::Short || type == TBKTagType::Int || type == TBKTagType::Long ||
         type == TBKTagType::Float || type == TBKTagType::Double;
}

class Scanner {
 public:
  explicit Scanner(std::string_view bytes)
      : begin_(bytes.data()), next_(bytes.data()), end_(bytes.data() + bytes.size()) {}

  size_t offset() const { return static_cast<size_t>(next_ - begin_); }

  TBKEntity::Summary scanRoot() {
    if (readType() != TBKTagType::Compound) fail("its root is not a TAG_Compound");
    readText();
    countTag();
    TBKEntity::Summary summary;
    // The first tag of each name counts, as a lookup in the tree finds it.
    unsigned seen = 0;
    auto first = [&](unsigned bit) { return !(seen & bit) && (seen |= bit); };
    for (;;) {
      TBKTagType type = readType();
      if (type == TBKTagType::End) return summary;
      std::string_view name = readText();
      if (name == "identifier" && first(1u)) {
        if (type == TBKTagType::String) {
          summary.identifier = std::string(readText());
          countTag();
          continue;
        }
      } else if (name == "CustomName" && first(2u)) {
        if (type == TBKTagType::String) {
          summary.name = std::string(readText());
          countTag();
          continue;
        }
      } else if (name == "Pos" && first(4u)) {
        if (type == TBKTagType::List) {
          scanPosition(summary);
          continue;
        }
      } else if (name == "OwnerNew" && first(8u)) {
        if (isNumber(type)) {
          summary.owner = readNumber(type);
          continue;
        }
      } else if (name == "DimensionId" && first(16u)) {
        if (isNumber(type)) {
          summary.dimensionId = readNumber(type);
          continue;
        }
      } else if (name == "Attributes" && first(32u)) {
        if (type == TBKTagType::List) {
          scanAttributes(summary);
          continue;
        }
      } else if (name == "Item" && first(64u)) {
        if (type == TBKTagType::Compound) {
          scanItem(summary);
          continue;
        }
      }
      skipValue(type, 2);
    }
  }

 private:
  [[noreturn, gnu::cold, gnu::noinline]] void fail(const std::string& what) const {
    throw TBKException(TBKException::Kind::Format, "damaged data at byte " + std::to_string(offset()) + ": " + what);
  }

  size_t left() const { return static_cast<size_t>(end_ - next_); }

  void need(size_t count) {
    if (left() < count) [[unlikely]]
      fail("the data ends inside a tag");
  }

  void countTag() {
    if (++tags_ > TBKNBT::maximumTags) [[unlikely]]
      fail("it holds too many tags");
  }

  void checkDepth(int depth) const {
    if (depth > TBKNBT::maximumDepth) [[unlikely]]
      fail("tags are nested too deep");
  }

  TBKTagType readType() {
    need(1);
    auto type = static_cast<uint8_t>(*next_);
    if (type > static_cast<uint8_t>(TBKTagType::LongArray)) [[unlikely]]
      fail("unknown tag type");
    ++next_;
    return static_cast<TBKTagType>(type);
  }

  std::string_view readText() {
    need(2);
    size_t length = tbk::readLittleEndian<uint16_t>(next_);
    next_ += 2;
    need(length);
    std::string_view text(next_, length);
    next_ += length;
    return text;
  }

  size_t readCount(size_t elementSize) {
    need(4);
    int32_t count = tbk::readLittleEndian<int32_t>(next_);
    next_ += 4;
    if (count < 0) fail("a negative length");
    if (elementSize > 0 && static_cast<size_t>(count) > left() / elementSize) fail("a length past the bytes left");
    return static_cast<size_t>(count);
  }

  template <typename T>
  T read() {
    need(sizeof(T));
    T value = tbk::readLittleEndian<T>(next_);
    next_ += sizeof(T);
    return value;
  }

  // A number tag's value, made as the reader makes it.
  TBKNumber readNumber(TBKTagType type) {
    countTag();
    switch (type) {
      case TBKTagType::Byte:
        return TBKNumber::integer(read<int8_t>());
      case TBKTagType::Short:
        return TBKNumber::integer(read<int16_t>());
      case TBKTagType::Int:
        return TBKNumber::integer(read<int32_t>());
      case TBKTagType::Long:
        return TBKNumber::integer(read<int64_t>());
      case TBKTagType::Float:
        return TBKNumber::floating(read<float>());
      default:
        return TBKNumber::doublePrecision(read<double>());
    }
  }

  // A list's element type and count, checked as the reader checks them.
  std::pair<TBKTagType, size_t> openList(int depth) {
    checkDepth(depth);
    TBKTagType elementType = readType();
    size_t count = readCount(smallestPayload(elementType));
    if (elementType == TBKTagType::End && count > 0) fail("a TAG_List of TAG_End holds entries");
    if (count > TBKNBT::maximumTags - tags_) fail("it holds too many tags");
    countTag();
    return {elementType, count};
  }

  void skipValue(TBKTagType type, int depth) {
    switch (type) {
      case TBKTagType::Byte:
      case TBKTagType::Short:
      case TBKTagType::Int:
      case TBKTagType::Long:
      case TBKTagType::Float:
      case TBKTagType::Double: {
        size_t size = smallestPayload(type);
        need(size);
        next_ += size;
        break;
      }
      case TBKTagType::ByteArray:
        next_ += readCount(1);
        break;
      case TBKTagType::IntArray:
        next_ += readCount(4) * 4;
        break;
      case TBKTagType::LongArray:
        next_ += readCount(8) * 8;
        break;
      case TBKTagType::String:
        readText();
        break;
      case TBKTagType::List: {
        auto [elementType, count] = openList(depth);
        for (size_t i = 0; i < count; ++i) skipValue(elementType, depth + 1);
        return;
      }
      case TBKTagType::Compound:
        checkDepth(depth);
        countTag();
        for (TBKTagType child; (child = readType()) != TBKTagType::End;) {
          readText();
          skipValue(child, depth + 1);
        }
        return;
      case TBKTagType::End:
        fail("a tag of type TAG_End where a value was expected");
    }
    countTag();
  }

  void scanPosition(TBKEntity::Summary& summary) {
    auto [elementType, count] = openList(2);
    for (size_t i = 0; i < count; ++i) {
      if (i < 3 && isNumber(elementType)) {
        summary.position[i] = readNumber(elementType).doubleValue();
      } else {
        skipValue(elementType, 3);
      }
    }
  }

  // The "minecraft:health" attribute, the first of that name.
  void scanAttributes(TBKEntity::Summary& summary) {
    auto [elementType, count] = openList(2);
    for (size_t i = 0; i < count; ++i) {
      if (elementType != TBKTagType::Compound) {
        skipValue(elementType, 3);
        continue;
      }
      checkDepth(3);
      countTag();
      TBKEntity::Summary::Health health;
      std::string_view attribute;
      unsigned seen = 0;
      auto first = [&](unsigned bit) { return !(seen & bit) && (seen |= bit); };
      for (TBKTagType child; (child = readType()) != TBKTagType::End;) {
        std::string_view name = readText();
        if (name == "Name" && first(1u) && child == TBKTagType::String) {
          attribute = readText();
          countTag();
        } else if (name == "Current" && first(2u) && isNumber(child)) {
          health.current = readNumber(child);
        } else if (name == "Max" && first(4u) && isNumber(child)) {
          health.maximum = readNumber(child);
        } else {
          skipValue(child, 4);
        }
      }
      if (attribute == "minecraft:health" && !summary.health) summary.health = health;
    }
  }

  // A dropped item's own item, by its "Name".
  void scanItem(TBKEntity::Summary& summary) {
    checkDepth(2);
    countTag();
    bool named = false;
    for (TBKTagType child; (child = readType()) != TBKTagType::End;) {
      std::string_view name = readText();
      if (name == "Name" && !named) {
        named = true;
        if (child == TBKTagType::String) {
          summary.itemName = std::string(readText());
          countTag();
          continue;
        }
      }
      skipValue(child, 3);
    }
  }

  const char* begin_;
  const char* next_;
  const char* end_;
  size_t tags_ = 0;
};

}  // namespace

TBKEntity::Summary tbk::scanEntity(std::string_view bytes, size_t* consumed) {
  Scanner scanner(bytes);
  TBKEntity::Summary summary = scanner.scanRoot();
  if (consumed) *consumed = scanner.offset();
  return summary;
}
