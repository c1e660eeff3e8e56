// TBKNBT's reading half: bounded, allocation-checked parsing into the
// arena-backed tag tree.
#include <algorithm>
#include <vector>

#include "LittleEndian.h"
#include "TBKTagBuilder.h"
#include "TagArena.h"
#include "TagPayload.h"
#include "Tarnbook/TBKByteArrayTag.h"
#include "Tarnbook/TBKException.h"
#include "Tarnbook/TBKIntArrayTag.h"
#include "Tarnbook/TBKListTag.h"
#include "Tarnbook/TBKLongArrayTag.h"
#include "Tarnbook/TBKNBT.h"
#include "Tarnbook/TBKNumberTag.h"
#include "Tarnbook/TBKStringTag.h"

namespace {

using tbk::smallestPayload;

class Reader {
 public:
  explicit Reader(std::string_view bytes)
      : begin_(bytes.data()),
        next_(bytes.data()),
        end_(bytes.data() + bytes.size()),
        arena_(tbk::TagArena::create()),
        reading_(arena_) {}
  ~Reader() { arena_->releaseReader(); }
  Reader(const Reader&) = delete;
  Reader& operator=(const Reader&) = delete;

  size_t offset() const { return static_cast<size_t>(next_ - begin_); }

  std::shared_ptr<TBKTag> readRoot() {
    TBKTagType type = readType();
    if (type == TBKTagType::End) fail("it holds no tag, only an end marker");
    std::string_view name = keepName(readText("a tag name"));
    return readValue(type, name, 1);
  }

 private:
  // Out of line and cold so the bounds checks on the hot path inline to a
  // compare and a branch; the message is only built on damaged data.
  [[noreturn, gnu::cold, gnu::noinline]] void fail(const std::string& what) const {
    throw TBKException(TBKException::Kind::Format, "damaged data at byte " + std::to_string(offset()) + ": " + what);
  }

  size_t left() const { return static_cast<size_t>(end_ - next_); }

  [[noreturn, gnu::cold, gnu::noinline]] void failShort(size_t count, TBKTagType inside) const {
    fail(std::string("the data ends inside a ") + TBKTagTypeName(inside) + " (" + std::to_string(count) +
         " bytes needed, " + std::to_string(left()) + " left)");
  }

  void need(size_t count, TBKTagType inside) const {
    if (left() < count) [[unlikely]]
      failShort(count, inside);
  }

  template <typename T>
  T read(TBKTagType inside) {
    need(sizeof(T), inside);
    T value = tbk::readLittleEndian<T>(next_);
    next_ += sizeof(T);
    return value;
  }

  [[noreturn, gnu::cold, gnu::noinline]] void failType(bool ended) const {
    if (ended) fail("the data ends where a tag type was expected");
    fail("unknown tag type " + std::to_string(static_cast<uint8_t>(*next_)));
  }

  TBKTagType readType() {
    if (left() < 1) [[unlikely]]
      failType(true);
    uint8_t type = static_cast<uint8_t>(*next_);
    if (type > static_cast<uint8_t>(TBKTagType::LongArray)) [[unlikely]]
      failType(false);
    ++next_;
    return static_cast<TBKTagType>(type);
  }

  [[noreturn, gnu::cold, gnu::noinline]] void failText(const char* what, size_t length, bool lengthRead) const {
    if (!lengthRead) fail(std::string("the data ends inside ") + what);
    fail(std::string("the data ends inside ") + what + " (" + std::to_string(length) + " bytes long, " +
         std::to_string(left()) + " left)");
  }

  std::string_view readText(const char* what) {
    if (left() < 2) [[unlikely]]
      failText(what, 0, false);
    size_t length = tbk::readLittleEndian<uint16_t>(next_);
    next_ += 2;
    if (left() < length) [[unlikely]]
      failText(what, length, true);
    std::string_view text(next_, length);
    next_ += length;
    return text;
  }

  // A copy of a name read, in the arena. Names are mostly a few letters:
  // one 16-byte move copies them where the input holds 16 bytes from the
  // name on, cheaper than a call to memcpy.
  std::string_view keepName(std::string_view name) {
    if (name.size() <= 16 && static_cast<size_t>(end_ - name.data()) >= 16) {
      return arena_->keepShortText(name);
    }
    return arena_->keepText(name);
  }

  // A count of entries, each at least elementSize bytes, that must fit.
  size_t readCount(TBKTagType inside, size_t elementSize) {
    int32_t count = read<int32_t>(inside);
    if (count < 0) fail(std::string("a ") + TBKTagTypeName(inside) + " has a negative length");
    if (elementSize > 0 && static_cast<size_t>(count) > left() / elementSize) {
      fail(std::string("a ") + TBKTagTypeName(inside) + " of " + std::to_string(count) +
           " entries is longer than the " + std::to_string(left()) + " bytes left");
    }
    return static_cast<size_t>(count);
  }

  template <typename T>
  std::vector<T> readArray(TBKTagType inside) {
    size_t count = readCount(inside, sizeof(T));
    if constexpr (sizeof(T) == 1) {
      // Bytes need no reordering: copied in once, not zeroed first.
      auto first = reinterpret_cast<const T*>(next_);
      next_ += count;
      return std::vector<T>(first, first + count);
    }
    std::vector<T> values(count);
    tbk::readLittleEndian(next_, values.data(), count);
    next_ += count * sizeof(T);
    return values;
  }

  static bool isNumber(TBKTagType type) { return type >= TBKTagType::Byte && type <= TBKTagType::Double; }

  // Four tags in five are numbers: inlined where children are read, so
  // they pay no call.
  [[gnu::always_inline]] std::shared_ptr<TBKTag> readNumber(TBKTagType type, std::string_view name) {
    const TBKReadKey& key = TBKTagBuilder::key();
    switch (type) {
      case TBKTagType::Byte:
        return make<TBKNumberTag>(key, name, type, TBKNumber::integer(read<int8_t>(type)));
      case TBKTagType::Short:
        return make<TBKNumberTag>(key, name, type, TBKNumber::integer(read<int16_t>(type)));
      case TBKTagType::Int:
        return make<TBKNumberTag>(key, name, type, TBKNumber::integer(read<int32_t>(type)));
      case TBKTagType::Long:
        return make<TBKNumberTag>(key, name, type, TBKNumber::integer(read<int64_t>(type)));
      case TBKTagType::Float:
        return make<TBKNumberTag>(key, name, type, TBKNumber::floating(read<float>(type)));
      default:
        return make<TBKNumberTag>(key, name, type, TBKNumber::doublePrecision(read<double>(type)));
    }
  }

  // name is text the arena keeps: the tag made points at it.
  std::shared_ptr<TBKTag> readValue(TBKTagType type, std::string_view name, int depth) {
    const TBKReadKey& key = TBKTagBuilder::key();
    if (isNumber(type)) return readNumber(type, name);
    switch (type) {
      case TBKTagType::ByteArray:
        return make<TBKByteArrayTag>(key, name, readArray<int8_t>(type));
      case TBKTagType::IntArray:
        return make<TBKIntArrayTag>(key, name, readArray<int32_t>(type));
      case TBKTagType::LongArray:
        return make<TBKLongArrayTag>(key, name, readArray<int64_t>(type));
      case TBKTagType::String:
        return make<TBKStringTag>(key, name, readText("a TAG_String"));
      case TBKTagType::List:
        return readList(name, depth);
      case TBKTagType::Compound:
        return readCompound(name, depth);
      default:
        break;
    }
    fail("a tag of type TAG_End where a value was expected");
  }

  void checkDepth(int depth) const {
    if (depth > TBKNBT::maximumDepth) [[unlikely]] {
      fail("tags are nested deeper than " + std::to_string(TBKNBT::maximumDepth) + " levels");
    }
  }

  std::shared_ptr<TBKTag> readList(std::string_view name, int depth) {
    checkDepth(depth);
    TBKTagType elementType = readType();
    size_t count = readCount(TBKTagType::List, smallestPayload(elementType));
    if (elementType == TBKTagType::End && count > 0) fail("a TAG_List of TAG_End holds entries");
    // Each entry is a tag: room for more than may be made is never taken.
    if (count > TBKNBT::maximumTags - tags_) failTooMany();
    auto list = make<TBKListTag>(TBKTagBuilder::key(), name, elementType);
    TBKTagBuilder::reserve(*list, count);
    if (elementType == TBKTagType::Compound) {
      // The entries of a list of compounds are alike (items, mostly): each
      // takes room for as many children as the one before it had.
      size_t children = defaultChildren;
      for (size_t i = 0; i < count; ++i) {
        auto entry = readCompound(std::string_view(), depth + 1, children);
        children = entry->count();
        TBKTagBuilder::append(*list, std::move(entry));
      }
      return list;
    }
    for (size_t i = 0; i < count; ++i) {
      TBKTagBuilder::append(*list, readValue(elementType, std::string_view(), depth + 1));
    }
    return list;
  }

  // Most compounds the game writes (items, abilities) have 4 to 8
  // children; one allocation up front saves the vector's regrowth.
  static constexpr size_t defaultChildren = 8;

  // expected: how many children to take room for. An empty compound (one
  // byte of input) takes none, and no compound more than the bytes left
  // could fill (a child takes at least 4) or than defaultChildren.
  std::shared_ptr<TBKCompoundTag> readCompound(std::string_view name, int depth, size_t expected = defaultChildren) {
    checkDepth(depth);
    auto compound = make<TBKCompoundTag>(TBKTagBuilder::key(), name);
    if (left() > 0 && *next_ != static_cast<char>(TBKTagType::End)) {
      TBKTagBuilder::reserve(*compound, std::min({std::max<size_t>(expected, 1), defaultChildren, left() / 4}));
    }
    for (;;) {
      TBKTagType type = readType();
      if (type == TBKTagType::End) return compound;
      std::string_view childName = keepName(readText("a tag name"));
      TBKTagBuilder::append(*compound,
                            isNumber(type) ? readNumber(type, childName) : readValue(type, childName, depth + 1));
    }
  }

  // Every tag is made here, so this is where a parse's memory is bounded:
  // an empty compound costs one byte of input but some hundred bytes of
  // memory, and without a count a few megabytes of them would take
  // gigabytes.
  template <typename T, typename... Arguments>
  std::shared_ptr<T> make(Arguments&&... arguments) {
    if (++tags_ > TBKNBT::maximumTags) [[unlikely]]
      failTooMany();
    return std::allocate_shared<T>(tbk::ArenaAllocator<T>(arena_), std::forward<Arguments>(arguments)...);
  }

  [[noreturn, gnu::cold, gnu::noinline]] void failTooMany() const {
    fail("it holds more than " + std::to_string(TBKNBT::maximumTags) + " tags, far more than the game writes in one");
  }

  const char* begin_;
  const char* next_;
  const char* end_;
  tbk::TagArena* arena_;
  // Children's storage comes from arena_ while the parse runs.
  tbk::TagArena::Reading reading_;
  size_t tags_ = 0;
};

}  // namespace

std::shared_ptr<TBKTag> TBKNBT::parse(std::string_view bytes, size_t* consumed) {
  Reader reader(bytes);
  auto tag = reader.readRoot();
  if (consumed) *consumed = reader.offset();
  return tag;
}

std::shared_ptr<TBKCompoundTag> TBKNBT::parseCompound(std::string_view bytes) {
  size_t consumed = 0;
  auto tag = parse(bytes, &consumed);
  if (tag->type() != TBKTagType::Compound) {
    throw TBKException(
        TBKException::Kind::Format,
        std::string("damaged data: it holds a ") + TBKTagTypeName(tag->type()) + " where a TAG_Compound was expected");
  }
  if (consumed != bytes.size()) {
    throw TBKException(TBKException::Kind::Format, "damaged data at byte " + std::to_string(consumed) + ": " +
                                                       std::to_string(bytes.size() - consumed) +
                                                       " bytes follow the compound");
  }
  return std::static_pointer_cast<TBKCompoundTag>(tag);
}

std::vector<std::shared_ptr<TBKCompoundTag>> TBKNBT::parseRoots(std::string_view bytes, std::vector<size_t>* ends) {
  std::vector<std::shared_ptr<TBKCompoundTag>> roots;
  size_t at = 0;
  while (at < bytes.size()) {
    size_t consumed = 0;
    std::shared_ptr<TBKTag> tag;
    try {
      tag = parse(bytes.substr(at), &consumed);
    } catch (const TBKException& error) {
      if (error.kind() != TBKException::Kind::Format) throw;
      throw TBKException(TBKException::Kind::Format, "root " + std::to_string(roots.size() + 1) + " (from byte " +
                                                         std::to_string(at) + "): " + error.reason());
    }
    if (tag->type() != TBKTagType::Compound) {
      throw TBKException(TBKException::Kind::Format, "damaged data: root " + std::to_string(roots.size() + 1) +
                                                         " is a " + TBKTagTypeName(tag->type()) +
                                                         " where a TAG_Compound was expected");
    }
    at += consumed;
    roots.push_back(std::static_pointer_cast<TBKCompoundTag>(std::move(tag)));
    if (ends) ends->push_back(at);
  }
  return roots;
}
