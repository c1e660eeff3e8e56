#include "Tarnbook/TBKNBT.h"

#include <bit>
#include <cstring>
#include <limits>

#include "Tarnbook/TBKByteArrayTag.h"
#include "Tarnbook/TBKException.h"
#include "Tarnbook/TBKIntArrayTag.h"
#include "Tarnbook/TBKListTag.h"
#include "Tarnbook/TBKLongArrayTag.h"
#include "Tarnbook/TBKNumberTag.h"
#include "Tarnbook/TBKStringTag.h"
#include "TBKTagBuilder.h"
#include "TagArena.h"

static_assert(std::endian::native == std::endian::little || std::endian::native == std::endian::big);

namespace {

template <typename T>
T fromLittleEndian(const char* p) {
    T value;
    std::memcpy(&value, p, sizeof value);
    if constexpr (std::endian::native == std::endian::big && sizeof(T) > 1) {
        char* bytes = reinterpret_cast<char*>(&value);
        for (size_t i = 0; i < sizeof(T) / 2; ++i) std::swap(bytes[i], bytes[sizeof(T) - 1 - i]);
    }
    return value;
}

template <typename T>
void appendLittleEndian(std::string& out, T value) {
    if constexpr (std::endian::native == std::endian::big && sizeof(T) > 1) {
        char* bytes = reinterpret_cast<char*>(&value);
        for (size_t i = 0; i < sizeof(T) / 2; ++i) std::swap(bytes[i], bytes[sizeof(T) - 1 - i]);
    }
    out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

// The fewest bytes one list entry of a type can take, used to refuse a count
// the remaining input cannot hold before anything is allocated for it.
size_t smallestPayload(TBKTagType type) {
    switch (type) {
    case TBKTagType::Byte: return 1;
    case TBKTagType::Short: return 2;
    case TBKTagType::Int: return 4;
    case TBKTagType::Long: return 8;
    case TBKTagType::Float: return 4;
    case TBKTagType::Double: return 8;
    case TBKTagType::ByteArray: return 4;
    case TBKTagType::String: return 2;
    case TBKTagType::List: return 5;
    case TBKTagType::Compound: return 1;
    case TBKTagType::IntArray: return 4;
    case TBKTagType::LongArray: return 4;
    case TBKTagType::End: return 0;
    }
    return 0;
}

class Reader {
public:
    explicit Reader(std::string_view bytes)
        : _begin(bytes.data()),
          _next(bytes.data()),
          _end(bytes.data() + bytes.size()),
          _arena(tbk::TagArena::create()) {}
    ~Reader() { _arena->releaseReader(); }
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;

    size_t offset() const { return static_cast<size_t>(_next - _begin); }

    std::shared_ptr<TBKTag> readRoot() {
        TBKTagType type = readType();
        if (type == TBKTagType::End) fail("it holds no tag, only an end marker");
        return readPayload(type, readText("a tag name"), 1);
    }

private:
    // Out of line and cold so the bounds checks on the hot path inline to a
    // compare and a branch; the message is only built on damaged data.
    [[noreturn, gnu::cold, gnu::noinline]] void fail(const std::string& what) const {
        throw TBKException(TBKException::FormatFailure,
                           "damaged data at byte " + std::to_string(offset()) + ": " + what);
    }

    size_t left() const { return static_cast<size_t>(_end - _next); }

    [[noreturn, gnu::cold, gnu::noinline]] void failShort(size_t count, TBKTagType inside) const {
        fail(std::string("the data ends inside a ") + TBKTagTypeName(inside) + " (" + std::to_string(count) +
             " bytes needed, " + std::to_string(left()) + " left)");
    }

    void need(size_t count, TBKTagType inside) const {
        if (left() < count) [[unlikely]] failShort(count, inside);
    }

    template <typename T>
    T read(TBKTagType inside) {
        need(sizeof(T), inside);
        T value = fromLittleEndian<T>(_next);
        _next += sizeof(T);
        return value;
    }

    [[noreturn, gnu::cold, gnu::noinline]] void failType(bool ended) const {
        if (ended) fail("the data ends where a tag type was expected");
        fail("unknown tag type " + std::to_string(static_cast<uint8_t>(*_next)));
    }

    TBKTagType readType() {
        if (left() < 1) [[unlikely]] failType(true);
        uint8_t type = static_cast<uint8_t>(*_next);
        if (type > static_cast<uint8_t>(TBKTagType::LongArray)) [[unlikely]] failType(false);
        ++_next;
        return static_cast<TBKTagType>(type);
    }

    [[noreturn, gnu::cold, gnu::noinline]] void failText(const char* what, size_t length, bool lengthRead) const {
        if (!lengthRead) fail(std::string("the data ends inside ") + what);
        fail(std::string("the data ends inside ") + what + " (" + std::to_string(length) + " bytes long, " +
             std::to_string(left()) + " left)");
    }

    std::string_view readText(const char* what) {
        if (left() < 2) [[unlikely]] failText(what, 0, false);
        size_t length = fromLittleEndian<uint16_t>(_next);
        _next += 2;
        if (left() < length) [[unlikely]] failText(what, length, true);
        std::string_view text(_next, length);
        _next += length;
        return text;
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
        std::vector<T> values(count);
        if constexpr (std::endian::native == std::endian::little) {
            if (count) std::memcpy(values.data(), _next, count * sizeof(T));
            _next += count * sizeof(T);
        } else {
            for (auto& value : values) value = read<T>(inside);
        }
        return values;
    }

    // name is a view into the input: it is copied once, into the finished tag.
    std::shared_ptr<TBKTag> readPayload(TBKTagType type, std::string_view name, int depth) {
        std::shared_ptr<TBKTag> tag = readValue(type, depth);
        if (!name.empty()) TBKTagBuilder::name(*tag, name);
        return tag;
    }

    std::shared_ptr<TBKTag> readValue(TBKTagType type, int depth) {
        switch (type) {
        case TBKTagType::Byte:
            return make<TBKNumberTag>(std::string(), type, TBKNumber::integer(read<int8_t>(type)));
        case TBKTagType::Short:
            return make<TBKNumberTag>(std::string(), type, TBKNumber::integer(read<int16_t>(type)));
        case TBKTagType::Int:
            return make<TBKNumberTag>(std::string(), type, TBKNumber::integer(read<int32_t>(type)));
        case TBKTagType::Long:
            return make<TBKNumberTag>(std::string(), type, TBKNumber::integer(read<int64_t>(type)));
        case TBKTagType::Float:
            return make<TBKNumberTag>(std::string(), type, TBKNumber::floating(read<float>(type)));
        case TBKTagType::Double:
            return make<TBKNumberTag>(std::string(), type, TBKNumber::doublePrecision(read<double>(type)));
        case TBKTagType::ByteArray: return make<TBKByteArrayTag>(std::string(), readArray<int8_t>(type));
        case TBKTagType::IntArray: return make<TBKIntArrayTag>(std::string(), readArray<int32_t>(type));
        case TBKTagType::LongArray: return make<TBKLongArrayTag>(std::string(), readArray<int64_t>(type));
        case TBKTagType::String:
            return make<TBKStringTag>(std::string(), std::string(readText("a TAG_String")));
        case TBKTagType::List: return readList(depth);
        case TBKTagType::Compound: return readCompound(depth);
        case TBKTagType::End: break;
        }
        fail("a tag of type TAG_End where a value was expected");
    }

    void checkDepth(int depth) const {
        if (depth > TBKNBT::maximumDepth) [[unlikely]] {
            fail("tags are nested deeper than " + std::to_string(TBKNBT::maximumDepth) + " levels");
        }
    }

    std::shared_ptr<TBKTag> readList(int depth) {
        checkDepth(depth);
        TBKTagType elementType = readType();
        size_t count = readCount(TBKTagType::List, smallestPayload(elementType));
        if (elementType == TBKTagType::End && count > 0) fail("a TAG_List of TAG_End holds entries");
        auto list = make<TBKListTag>(std::string(), elementType);
        TBKTagBuilder::reserve(*list, count);
        for (size_t i = 0; i < count; ++i) {
            TBKTagBuilder::append(*list, readValue(elementType, depth + 1));
        }
        return list;
    }

    std::shared_ptr<TBKTag> readCompound(int depth) {
        checkDepth(depth);
        auto compound = make<TBKCompoundTag>(std::string());
        // Most compounds the game writes (items, abilities) have 4 to 8
        // children; one allocation up front saves the vector's regrowth.
        TBKTagBuilder::reserve(*compound, 8);
        for (;;) {
            TBKTagType type = readType();
            if (type == TBKTagType::End) return compound;
            std::string_view childName = readText("a tag name");
            TBKTagBuilder::append(*compound, readPayload(type, childName, depth + 1));
        }
    }

    template <typename T, typename... Arguments>
    std::shared_ptr<T> make(Arguments&&... arguments) {
        return std::allocate_shared<T>(tbk::ArenaAllocator<T>(_arena), std::forward<Arguments>(arguments)...);
    }

    const char* _begin;
    const char* _next;
    const char* _end;
    tbk::TagArena* _arena;
};

class Writer {
public:
    explicit Writer(std::string& out) : _out(out) {}

    void writeNamed(const TBKTag& tag) {
        _out.push_back(static_cast<char>(tag.type()));
        writeText(tag.name());
        writePayload(tag, 1);
    }

private:
    [[noreturn]] static void refuse(const std::string& what) {
        throw TBKException(TBKException::UsageFailure, "The data cannot be saved: " + what + ".");
    }

    void writeText(const std::string& text) {
        if (text.size() > std::numeric_limits<uint16_t>::max()) {
            refuse("a text of " + std::to_string(text.size()) + " bytes is longer than 65535 bytes");
        }
        appendLittleEndian(_out, static_cast<uint16_t>(text.size()));
        _out.append(text);
    }

    void writeCount(size_t count) {
        if (count > static_cast<size_t>(std::numeric_limits<int32_t>::max())) refuse("a list or array is too long");
        appendLittleEndian(_out, static_cast<int32_t>(count));
    }

    template <typename T>
    void writeArray(const std::vector<T>& values) {
        writeCount(values.size());
        if constexpr (std::endian::native == std::endian::little) {
            _out.append(reinterpret_cast<const char*>(values.data()), values.size() * sizeof(T));
        } else {
            for (T value : values) appendLittleEndian(_out, value);
        }
    }

    void writePayload(const TBKTag& tag, int depth) {
        switch (tag.type()) {
        case TBKTagType::Byte:
            _out.push_back(static_cast<char>(static_cast<const TBKNumberTag&>(tag).value().charValue()));
            return;
        case TBKTagType::Short:
            appendLittleEndian(_out, static_cast<const TBKNumberTag&>(tag).value().shortValue());
            return;
        case TBKTagType::Int:
            appendLittleEndian(_out, static_cast<const TBKNumberTag&>(tag).value().intValue());
            return;
        case TBKTagType::Long:
            appendLittleEndian(_out, static_cast<const TBKNumberTag&>(tag).value().longLongValue());
            return;
        case TBKTagType::Float:
            appendLittleEndian(_out, static_cast<const TBKNumberTag&>(tag).value().floatValue());
            return;
        case TBKTagType::Double:
            appendLittleEndian(_out, static_cast<const TBKNumberTag&>(tag).value().doubleValue());
            return;
        case TBKTagType::ByteArray: writeArray(static_cast<const TBKByteArrayTag&>(tag).value()); return;
        case TBKTagType::IntArray: writeArray(static_cast<const TBKIntArrayTag&>(tag).value()); return;
        case TBKTagType::LongArray: writeArray(static_cast<const TBKLongArrayTag&>(tag).value()); return;
        case TBKTagType::String: writeText(static_cast<const TBKStringTag&>(tag).value()); return;
        case TBKTagType::List: {
            checkDepth(depth);
            const auto& list = static_cast<const TBKListTag&>(tag);
            _out.push_back(static_cast<char>(list.elementType()));
            writeCount(list.count());
            for (const auto& entry : list.value()) {
                if (entry->type() != list.elementType()) refuse("the list \"" + list.name() + "\" mixes types");
                writePayload(*entry, depth + 1);
            }
            return;
        }
        case TBKTagType::Compound: {
            checkDepth(depth);
            for (const auto& child : static_cast<const TBKCompoundTag&>(tag).value()) {
                _out.push_back(static_cast<char>(child->type()));
                writeText(child->name());
                writePayload(*child, depth + 1);
            }
            _out.push_back(static_cast<char>(TBKTagType::End));
            return;
        }
        case TBKTagType::End: break;
        }
        refuse("a tag has no type");
    }

    static void checkDepth(int depth) {
        if (depth > TBKNBT::maximumDepth) {
            refuse("tags are nested deeper than " + std::to_string(TBKNBT::maximumDepth) +
                   " levels (does a compound hold itself?)");
        }
    }

    std::string& _out;
};

void describeInto(const TBKTag& tag, int indent, std::string& out) {
    out.append(static_cast<size_t>(indent) * 2, ' ');
    out += TBKTagTypeName(tag.type());
    out += " \"" + tag.name() + "\": ";
    switch (tag.type()) {
    case TBKTagType::Byte:
    case TBKTagType::Short:
    case TBKTagType::Int:
    case TBKTagType::Long:
        out += std::to_string(static_cast<const TBKNumberTag&>(tag).value().longLongValue());
        break;
    case TBKTagType::Float:
    case TBKTagType::Double: {
        char text[64];
        std::snprintf(text, sizeof text, "%.17g", static_cast<const TBKNumberTag&>(tag).value().doubleValue());
        out += text;
        break;
    }
    case TBKTagType::String: out += "\"" + static_cast<const TBKStringTag&>(tag).value() + "\""; break;
    case TBKTagType::ByteArray:
        out += std::to_string(static_cast<const TBKByteArrayTag&>(tag).value().size()) + " bytes";
        break;
    case TBKTagType::IntArray:
        out += std::to_string(static_cast<const TBKIntArrayTag&>(tag).value().size()) + " ints";
        break;
    case TBKTagType::LongArray:
        out += std::to_string(static_cast<const TBKLongArrayTag&>(tag).value().size()) + " longs";
        break;
    case TBKTagType::List: {
        const auto& list = static_cast<const TBKListTag&>(tag);
        out += std::to_string(list.count()) + " entries of " + TBKTagTypeName(list.elementType()) + "\n";
        for (const auto& entry : list.value()) describeInto(*entry, indent + 1, out);
        return;
    }
    case TBKTagType::Compound: {
        const auto& compound = static_cast<const TBKCompoundTag&>(tag);
        out += std::to_string(compound.count()) + " entries\n";
        for (const auto& child : compound.value()) describeInto(*child, indent + 1, out);
        return;
    }
    case TBKTagType::End: break;
    }
    out += "\n";
}

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
        throw TBKException(TBKException::FormatFailure,
                           std::string("damaged data: it holds a ") + TBKTagTypeName(tag->type()) +
                               " where a TAG_Compound was expected");
    }
    if (consumed != bytes.size()) {
        throw TBKException(TBKException::FormatFailure,
                           "damaged data at byte " + std::to_string(consumed) + ": " +
                               std::to_string(bytes.size() - consumed) + " bytes follow the compound");
    }
    return std::static_pointer_cast<TBKCompoundTag>(tag);
}

std::string TBKNBT::serialise(const TBKTag& tag) {
    std::string out;
    serialise(tag, out);
    return out;
}

void TBKNBT::serialise(const TBKTag& tag, std::string& out) {
    Writer(out).writeNamed(tag);
}

std::string TBKNBT::describe(const TBKTag& tag) {
    std::string out;
    describeInto(tag, 0, out);
    return out;
}
