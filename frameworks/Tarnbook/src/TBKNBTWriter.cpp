// TBKNBT's writing half.
#include <limits>
#include <vector>

#include "LittleEndian.h"
#include "Quoted.h"
#include "Tarnbook/TBKByteArrayTag.h"
#include "Tarnbook/TBKException.h"
#include "Tarnbook/TBKIntArrayTag.h"
#include "Tarnbook/TBKListTag.h"
#include "Tarnbook/TBKLongArrayTag.h"
#include "Tarnbook/TBKNBT.h"
#include "Tarnbook/TBKNumberTag.h"
#include "Tarnbook/TBKStringTag.h"

namespace {

class Writer {
 public:
  explicit Writer(std::string& out) : out_(out) {}

  void writeNamed(const TBKTag& tag) {
    out_.push_back(static_cast<char>(tag.type()));
    writeText(tag.name());
    writePayload(tag, 1);
  }

 private:
  [[noreturn]] static void refuse(const std::string& what) {
    throw TBKException(TBKException::Kind::Usage, "The data cannot be saved: " + what + ".");
  }

  void writeText(std::string_view text) {
    if (text.size() > std::numeric_limits<uint16_t>::max()) {
      refuse("a text of " + std::to_string(text.size()) + " bytes is longer than 65535 bytes");
    }
    tbk::appendLittleEndian(out_, static_cast<uint16_t>(text.size()));
    out_.append(text);
  }

  void writeCount(size_t count) {
    if (count > static_cast<size_t>(std::numeric_limits<int32_t>::max())) refuse("a list or array is too long");
    tbk::appendLittleEndian(out_, static_cast<int32_t>(count));
  }

  template <typename T>
  void writeArray(const std::vector<T>& values) {
    writeCount(values.size());
    tbk::appendLittleEndian(out_, values.data(), values.size());
  }

  void writePayload(const TBKTag& tag, int depth) {
    switch (tag.type()) {
      case TBKTagType::Byte:
        out_.push_back(static_cast<char>(static_cast<const TBKNumberTag&>(tag).value().charValue()));
        return;
      case TBKTagType::Short:
        tbk::appendLittleEndian(out_, static_cast<const TBKNumberTag&>(tag).value().shortValue());
        return;
      case TBKTagType::Int:
        tbk::appendLittleEndian(out_, static_cast<const TBKNumberTag&>(tag).value().intValue());
        return;
      case TBKTagType::Long:
        tbk::appendLittleEndian(out_, static_cast<const TBKNumberTag&>(tag).value().longLongValue());
        return;
      case TBKTagType::Float:
        tbk::appendLittleEndian(out_, static_cast<const TBKNumberTag&>(tag).value().floatValue());
        return;
      case TBKTagType::Double:
        tbk::appendLittleEndian(out_, static_cast<const TBKNumberTag&>(tag).value().doubleValue());
        return;
      case TBKTagType::ByteArray:
        writeArray(static_cast<const TBKByteArrayTag&>(tag).value());
        return;
      case TBKTagType::IntArray:
        writeArray(static_cast<const TBKIntArrayTag&>(tag).value());
        return;
      case TBKTagType::LongArray:
        writeArray(static_cast<const TBKLongArrayTag&>(tag).value());
        return;
      case TBKTagType::String:
        writeText(static_cast<const TBKStringTag&>(tag).value());
        return;
      case TBKTagType::List: {
        checkDepth(depth);
        const auto& list = static_cast<const TBKListTag&>(tag);
        out_.push_back(static_cast<char>(list.elementType()));
        writeCount(list.count());
        for (const auto& entry : list.value()) {
          if (entry->type() != list.elementType()) refuse("the list " + tbk::quoted(list.name()) + " mixes types");
          writePayload(*entry, depth + 1);
        }
        return;
      }
      case TBKTagType::Compound: {
        checkDepth(depth);
        for (const auto& child : static_cast<const TBKCompoundTag&>(tag).value()) {
          out_.push_back(static_cast<char>(child->type()));
          writeText(child->name());
          writePayload(*child, depth + 1);
        }
        out_.push_back(static_cast<char>(TBKTagType::End));
        return;
      }
      case TBKTagType::End:
        break;
    }
    refuse("a tag has no type");
  }

  static void checkDepth(int depth) {
    if (depth > TBKNBT::maximumDepth) {
      refuse("tags are nested deeper than " + std::to_string(TBKNBT::maximumDepth) +
             " levels (does a compound hold itself?)");
    }
  }

  std::string& out_;
};

}  // namespace

std::string TBKNBT::serialise(const TBKTag& tag) {
  std::string out;
  serialise(tag, out);
  return out;
}

void TBKNBT::serialise(const TBKTag& tag, std::string& out) { Writer(out).writeNamed(tag); }
