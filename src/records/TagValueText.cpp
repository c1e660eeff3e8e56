#include "records/TagValueText.h"

#include <charconv>
#include <cstdint>
#include <limits>
#include <vector>

namespace {

struct IntegerRange {
  const char* article;  // for the reason: "a byte", "an int"
  int64_t low;
  int64_t high;
};

IntegerRange rangeOf(TBKTagType type) {
  switch (type) {
    case TBKTagType::Byte:
    case TBKTagType::ByteArray:
      return {"a byte", INT8_MIN, INT8_MAX};
    case TBKTagType::Short:
      return {"a short", INT16_MIN, INT16_MAX};
    case TBKTagType::Int:
    case TBKTagType::IntArray:
      return {"an int", INT32_MIN, INT32_MAX};
    default:
      return {"a long", INT64_MIN, INT64_MAX};
  }
}

std::string_view trimmed(std::string_view text) {
  auto space = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && space(text.front())) text.remove_prefix(1);
  while (!text.empty() && space(text.back())) text.remove_suffix(1);
  return text;
}

// from_chars takes no "+"; people type one.
std::string_view withoutPlus(std::string_view text) {
  if (text.size() > 1 && text[0] == '+' && text[1] != '-') text.remove_prefix(1);
  return text;
}

// The number, or the reason it is not one of this type's.
std::string parseInteger(std::string_view text, TBKTagType type, int64_t& value) {
  IntegerRange range = rangeOf(type);
  std::string_view digits = withoutPlus(trimmed(text));
  auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  std::string shown(trimmed(text));
  if (digits.empty() || (error != std::errc() && error != std::errc::result_out_of_range) ||
      end != digits.data() + digits.size()) {
    return "\"" + shown + "\" is not a whole number.";
  }
  if (error == std::errc::result_out_of_range || value < range.low || value > range.high) {
    return shown + " is outside the range of " + range.article + ", " + std::to_string(range.low) + " to " +
           std::to_string(range.high) + ".";
  }
  return {};
}

template <class Floating>
std::string parseFloating(std::string_view text, const char* article, Floating& value) {
  std::string_view digits = withoutPlus(trimmed(text));
  auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  std::string shown(trimmed(text));
  if (digits.empty() || (error != std::errc() && error != std::errc::result_out_of_range) ||
      end != digits.data() + digits.size()) {
    return "\"" + shown + "\" is not a number.";
  }
  if (error == std::errc::result_out_of_range) return shown + " is outside the range of " + article + ".";
  return {};
}

template <class Number>
void appendNumber(std::string& out, Number value) {
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  out.append(buffer, result.ptr);
}

template <class Element>
std::string arrayText(const std::vector<Element>& values, size_t limit) {
  std::string out;
  for (size_t i = 0; i < values.size() && out.size() <= limit; ++i) {
    if (i) out += ", ";
    appendNumber(out, int64_t(values[i]));
  }
  return out;
}

// Cuts at a character's start so the text stays UTF-8.
std::string cut(std::string text, size_t limit) {
  if (text.size() <= limit) return text;
  size_t end = limit;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  text.resize(end);
  return text + "...";
}

template <class ArrayTag, class Element>
TagValueText::Parsed parseArray(TBKTagType type, std::string_view name, std::string_view text) {
  std::vector<Element> values;
  size_t i = 0;
  auto separator = [](char c) { return c == ',' || c == ' ' || c == '\t'; };
  while (i < text.size()) {
    while (i < text.size() && separator(text[i])) ++i;
    size_t start = i;
    while (i < text.size() && !separator(text[i])) ++i;
    if (start == i) break;
    int64_t value = 0;
    std::string reason = parseInteger(text.substr(start, i - start), type, value);
    if (!reason.empty()) return {nullptr, "Entry " + std::to_string(values.size()) + ": " + reason};
    values.push_back(Element(value));
  }
  return {std::make_shared<ArrayTag>(name, std::move(values)), {}};
}

}  // namespace

std::string TagValueText::typeName(TBKTagType type) {
  switch (type) {
    case TBKTagType::Byte:
      return "byte";
    case TBKTagType::Short:
      return "short";
    case TBKTagType::Int:
      return "int";
    case TBKTagType::Long:
      return "long";
    case TBKTagType::Float:
      return "float";
    case TBKTagType::Double:
      return "double";
    case TBKTagType::ByteArray:
      return "byte array";
    case TBKTagType::String:
      return "string";
    case TBKTagType::List:
      return "list";
    case TBKTagType::Compound:
      return "compound";
    case TBKTagType::IntArray:
      return "int array";
    case TBKTagType::LongArray:
      return "long array";
    default:
      return "end";
  }
}

std::string TagValueText::typeName(const TBKTag& tag) {
  if (tag.type() != TBKTagType::List) return typeName(tag.type());
  auto elementType = static_cast<const TBKListTag&>(tag).elementType();
  return elementType == TBKTagType::End ? "list" : "list of " + typeName(elementType);
}

std::string TagValueText::valueText(const TBKTag& tag, size_t limit) {
  std::string out;
  switch (tag.type()) {
    case TBKTagType::Byte:
    case TBKTagType::Short:
    case TBKTagType::Int:
    case TBKTagType::Long:
      appendNumber(out, static_cast<const TBKNumberTag&>(tag).value().longLongValue());
      return out;
    case TBKTagType::Float:
      appendNumber(out, static_cast<const TBKNumberTag&>(tag).value().floatValue());
      return out;
    case TBKTagType::Double:
      appendNumber(out, static_cast<const TBKNumberTag&>(tag).value().doubleValue());
      return out;
    case TBKTagType::String:
      return cut(static_cast<const TBKStringTag&>(tag).value(), limit);
    case TBKTagType::ByteArray:
      return cut(arrayText(static_cast<const TBKByteArrayTag&>(tag).value(), limit), limit);
    case TBKTagType::IntArray:
      return cut(arrayText(static_cast<const TBKIntArrayTag&>(tag).value(), limit), limit);
    case TBKTagType::LongArray:
      return cut(arrayText(static_cast<const TBKLongArrayTag&>(tag).value(), limit), limit);
    case TBKTagType::List:
    case TBKTagType::Compound: {
      size_t count = tag.type() == TBKTagType::List ? static_cast<const TBKListTag&>(tag).count()
                                                    : static_cast<const TBKCompoundTag&>(tag).count();
      return std::to_string(count) + (count == 1 ? " entry" : " entries");
    }
    default:
      return out;
  }
}

TagValueText::Parsed TagValueText::parse(TBKTagType type, std::string_view name, std::string_view text) {
  switch (type) {
    case TBKTagType::Byte:
    case TBKTagType::Short:
    case TBKTagType::Int:
    case TBKTagType::Long: {
      int64_t value = 0;
      std::string reason = parseInteger(text, type, value);
      if (!reason.empty()) return {nullptr, reason};
      return {std::make_shared<TBKNumberTag>(name, type, TBKNumber::integer(value)), {}};
    }
    case TBKTagType::Float: {
      float value = 0;
      std::string reason = parseFloating(text, "a float", value);
      if (!reason.empty()) return {nullptr, reason};
      return {TBKNumberTag::floatTag(name, value), {}};
    }
    case TBKTagType::Double: {
      double value = 0;
      std::string reason = parseFloating(text, "a double", value);
      if (!reason.empty()) return {nullptr, reason};
      return {TBKNumberTag::doubleTag(name, value), {}};
    }
    case TBKTagType::String:
      if (text.size() > 65535) {
        return {nullptr, "The text is " + std::to_string(text.size()) + " bytes long; a string holds at most 65535."};
      }
      return {std::make_shared<TBKStringTag>(name, std::string(text)), {}};
    case TBKTagType::ByteArray:
      return parseArray<TBKByteArrayTag, int8_t>(type, name, text);
    case TBKTagType::IntArray:
      return parseArray<TBKIntArrayTag, int32_t>(type, name, text);
    case TBKTagType::LongArray:
      return parseArray<TBKLongArrayTag, int64_t>(type, name, text);
    default:
      return {nullptr, "A " + typeName(type) + " is not typed in: open it and edit its entries."};
  }
}

std::shared_ptr<TBKTag> TagValueText::emptyTag(TBKTagType type, const std::string& name) {
  switch (type) {
    case TBKTagType::Compound:
      return std::make_shared<TBKCompoundTag>(name);
    case TBKTagType::List:
      return std::make_shared<TBKListTag>(name, TBKTagType::End);
    case TBKTagType::String:
      return std::make_shared<TBKStringTag>(name, "");
    case TBKTagType::ByteArray:
      return std::make_shared<TBKByteArrayTag>(name, std::vector<int8_t>{});
    case TBKTagType::IntArray:
      return std::make_shared<TBKIntArrayTag>(name, std::vector<int32_t>{});
    case TBKTagType::LongArray:
      return std::make_shared<TBKLongArrayTag>(name, std::vector<int64_t>{});
    default:
      return std::make_shared<TBKNumberTag>(name, type, TBKNumber());
  }
}
