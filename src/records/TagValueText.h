#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "external/Tarnbook.h"

// How the tag tree shows a tag's type and value, and how it reads back a
// value typed for a tag. Numbers are shown in their shortest exact form (a
// float shown and read back unchanged keeps its bits), strings verbatim,
// arrays as their numbers separated by ", ", compounds and lists as their
// count.
class TagValueText {
 public:
  // A new tag, or the reason the text was refused (then tag is null).
  struct Parsed {
    std::shared_ptr<TBKTag> tag;
    std::string reason;
  };

  // "byte", "int", "string", "compound", "byte array", ...
  static std::string typeName(TBKTagType type);
  // As above, lists with their entries' type: "list of int"; an empty list
  // not yet given one is "list".
  static std::string typeName(const TBKTag& tag);

  // At most `limit` bytes of the text (cut at a character's start, then
  // "..."), so that a row never formats a whole megabyte array.
  static std::string valueText(const TBKTag& tag, size_t limit = std::string::npos);

  // A tag of `type` named `name` holding what `text` says: a whole number
  // within the type's range (surrounding spaces and a leading "+" are
  // allowed), a float or double within its range ("inf", "nan" too), text of
  // at most 65535 bytes, or for arrays numbers separated by commas or spaces.
  // Compounds and lists are not typed in: they are refused.
  static Parsed parse(TBKTagType type, std::string_view name, std::string_view text);

  // The value a new tag of `type` starts with: zero, empty text, no
  // entries (a list whose entries' type is chosen when the first is added).
  static std::shared_ptr<TBKTag> emptyTag(TBKTagType type, const std::string& name);
};
